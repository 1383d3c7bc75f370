// The console's sensor monitor against the virtual board: connecting, the reports, the
// configuration line, the closing sequence, a board that never answers and one that goes away.

#include <gtest/gtest.h>

#include <poll.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "VirtualBoardProcess.h"
#include "core/comm/BoardLink.h"
#include "core/comm/LinkState.h"
#include "core/comm/RS232C.h"
#include "core/monitor/MonitorSession.h"
#include "core/settings/AppSettings.h"

using namespace kavel;
using kavel::testing::VirtualBoardProcess;
namespace fs = std::filesystem;

namespace {

struct Monitor {
  AppSettings settings;
  LinkState state;
  IoSetup io;
  SetupRecord record;
  RS232C port{settings};
  BoardLink link{port, state, settings};
  MonitorSession session{link, io, record};
  std::vector<MonitorReport> reports;
  std::vector<MonitorConfig> configs;

  explicit Monitor(const std::string& portName) { settings.PortName = portName; }

  /// Runs the session's loop until `done`, the session ends or `ms` have passed.
  MonitorSession::Outcome runUntil(const std::function<bool()>& done, int ms) {
    const Millis end = steadyMillis() + ms;
    while (steadyMillis() < end && !done()) {
      link.poll();
      while (auto e = session.takeEvent()) {
        if (e->kind == MonitorSession::EventKind::Report) reports.push_back(e->report);
        if (e->kind == MonitorSession::EventKind::Config) configs.push_back(e->config);
      }
      if (session.ended()) break;
      pollfd p{link.descriptor(), POLLIN, 0};
      ::poll(&p, p.fd >= 0 ? 1 : 0, 10);
    }
    return session.outcome();
  }
};

std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace

TEST(MonitorSession, StreamsReportsAndLeavesTheBoardAtRest) {
  const std::string log = (fs::path(::testing::TempDir()) / "vboard_monitor.log").string();
  VirtualBoardProcess board({"--verbose", "--config", "CNio:0111113402"}, log);
  ASSERT_FALSE(board.path().empty());
  Monitor m(board.path());
  m.session.start();
  EXPECT_EQ(m.runUntil([&] { return m.reports.size() >= 3; }, 4000), MonitorSession::Outcome::Running);
  ASSERT_GE(m.reports.size(), 3u);
  EXPECT_TRUE(m.session.monitoring());
  ASSERT_FALSE(m.configs.empty());
  EXPECT_EQ(m.io.cnMode, (std::array<int, 10>{0, 1, 1, 1, 1, 1, 3, 4, 0, 2}));
  // Reports after the configuration line are read with its modes: CN1 an output, CN8 a servo.
  const MonitorReport& last = m.reports.back();
  EXPECT_TRUE(last.cn[0].high.has_value());
  EXPECT_NE(last.cn[7].value.find('%'), std::string::npos) << last.cn[7].value;

  m.session.stop();
  EXPECT_EQ(m.runUntil([] { return false; }, 3000), MonitorSession::Outcome::Done);
  EXPECT_FALSE(m.port.isOpen());
  const std::vector<std::string> want{"Ver", "S0:1", "L0:1", "O0:0", "O8:0", "O9:1", "L1:0", "L0:0", "S0:0"};
  EXPECT_EQ(m.session.sent(), want);
  board.stop();
  // The board got the same commands, the closing ones in order.
  const std::string received = slurp(log);
  std::size_t at = 0;
  for (const char* c : {"O0:0", "O8:0", "O9:1", "L1:0", "L0:0", "S0:0"}) {
    at = received.find(std::string("got \"") + c, at);
    EXPECT_NE(at, std::string::npos) << c << " in " << received;
  }
}

TEST(MonitorSession, TheBoardFollowsTheMonitorsControls) {
  // CN1 an output, CN7 a servo: what the monitor's buttons and track bar send shows up in the
  // next reports, and choosing a sub I/O brings its configuration line.
  VirtualBoardProcess board({"--rate", "50", "--config", "CNio:0111114100"});
  Monitor m(board.path());
  m.session.start();
  m.runUntil([&] { return !m.reports.empty(); }, 4000);
  ASSERT_FALSE(m.reports.empty());
  EXPECT_EQ(m.reports.back().cn[0].value, "LOW");
  EXPECT_EQ(m.reports.back().cn[6].value, " 50%");
  for (const char* c : {"O0:1", "L1:1", "L2:1", "s7:1000", "ID:3"}) ASSERT_EQ(m.port.SendText(c), SendStatus::Sent) << c;
  const std::size_t before = m.configs.size();
  m.runUntil([&] { return m.configs.size() > before && m.reports.back().cn[0].value == "HIGH"; }, 2000);
  const MonitorReport& r = m.reports.back();
  EXPECT_EQ(r.cn[0].value, "HIGH");
  EXPECT_EQ(r.cn[6].value, " 25%");
  EXPECT_EQ(r.ledRed1, true);
  EXPECT_EQ(r.ledRed2, true);
  EXPECT_TRUE(m.io.subIoOn);
  EXPECT_EQ(m.io.subIoId, 3);
  m.session.stop();
  EXPECT_EQ(m.runUntil([] { return false; }, 3000), MonitorSession::Outcome::Done);
  // CN1 is switched back to its resting state on the way out.
  const std::vector<std::string> tail(m.session.sent().end() - 6, m.session.sent().end());
  EXPECT_EQ(tail, (std::vector<std::string>{"O0:0", "O8:0", "O9:0", "L1:0", "L0:0", "S0:0"}));
}

TEST(MonitorSession, StopBeforeTheBoardAnswersSendsNothing) {
  VirtualBoardProcess board;
  Monitor m(board.path());
  m.session.start();
  m.session.stop();
  EXPECT_EQ(m.runUntil([] { return false; }, 1000), MonitorSession::Outcome::Done);
  EXPECT_FALSE(m.session.monitoring());
  EXPECT_TRUE(m.session.sent().empty());
  EXPECT_FALSE(m.port.isOpen());
  EXPECT_EQ(m.settings.PortName, board.path());
  EXPECT_FALSE(m.state.ProbeMode);
}

TEST(MonitorSession, NoBoardAndLostBoard) {
  {
    VirtualBoardProcess mute({"--mute"});
    Monitor m(mute.path());
    m.session.start();
    EXPECT_EQ(m.runUntil([] { return false; }, 3000), MonitorSession::Outcome::NoBoard);
    EXPECT_NE(m.session.message().find("no board answered \"Ver\""), std::string::npos) << m.session.message();
  }
  {
    Monitor m("/dev/kavel-no-such-port");
    m.session.start();
    EXPECT_EQ(m.runUntil([] { return false; }, 3000), MonitorSession::Outcome::NoBoard);
    EXPECT_FALSE(m.session.message().empty());
  }
  {
    auto board = std::make_unique<VirtualBoardProcess>();
    Monitor m(board->path());
    m.session.start();
    m.runUntil([&] { return !m.reports.empty(); }, 4000);
    ASSERT_FALSE(m.reports.empty());
    board.reset();  // the cable is pulled
    EXPECT_EQ(m.runUntil([] { return false; }, 3000), MonitorSession::Outcome::Disconnected);
    EXPECT_FALSE(m.port.isOpen());
    EXPECT_NE(m.session.message().find("Disconnected"), std::string::npos) << m.session.message();
  }
}
