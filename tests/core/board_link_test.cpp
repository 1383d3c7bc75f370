// The link's receiving side and the board probe against the virtual board.

#include <gtest/gtest.h>

#include <poll.h>

#include <functional>
#include <string>
#include <vector>

#include "VirtualBoardProcess.h"
#include "core/comm/BoardLink.h"
#include "core/comm/LinkReceiver.h"
#include "core/comm/LinkState.h"
#include "core/comm/ProbeBoard.h"
#include "core/comm/RS232C.h"
#include "core/settings/AppSettings.h"

using namespace kavel;
using kavel::testing::VirtualBoardProcess;

namespace {

struct Link {
  AppSettings settings;
  LinkState state;
  RS232C port{settings};
  BoardLink link{port, state, settings};
  LinkReceiver receiver{port, state, settings};
  std::vector<LineRoute> routes;
  bool broken = false;

  Link() {
    receiver.onLine = [this](const LineRoute& r) { routes.push_back(r); };
    receiver.onLineError = [this] { broken = true; };
    link.onLine = receiver.onLine;
  }

  /// Runs the event loop until `done` or `ms` have passed.
  bool runUntil(const std::function<bool()>& done, int ms, const std::function<void(Millis)>& step = {}) {
    const Millis end = steadyMillis() + ms;
    while (steadyMillis() < end) {
      const Millis now = steadyMillis();
      receiver.poll(now);
      link.poll();
      if (step) step(now);
      if (done()) return true;
      pollfd p{port.descriptor(), POLLIN, 0};
      ::poll(&p, p.fd >= 0 ? 1 : 0, 10);
    }
    return done();
  }
};

}  // namespace

TEST(BoardLink, ProbeFindsTheBoardAndRestoresTheSettings) {
  VirtualBoardProcess board;
  ASSERT_FALSE(board.path().empty());
  Link link;
  link.settings.PortName = "/dev/kavel-no-such-port";
  link.settings.BaudRate = 9600;
  ProbeBoard probe(link.link);
  probe.start(steadyMillis(), {"/dev/kavel-other-missing", board.path()});
  ProbeBoard::Status status = ProbeBoard::Status::Running;
  std::vector<std::string> tried;
  link.runUntil([&] { return status != ProbeBoard::Status::Running; }, 3000, [&](Millis now) {
    status = probe.step(now);
    if (tried.empty() || tried.back() != probe.currentPort()) tried.push_back(probe.currentPort());
  });
  EXPECT_EQ(status, ProbeBoard::Status::Found);
  EXPECT_EQ(tried, (std::vector<std::string>{"/dev/kavel-no-such-port", "/dev/kavel-other-missing", board.path()}));
  EXPECT_EQ(link.settings.PortName, board.path());
  EXPECT_EQ(probe.resultText(), board.path() + ":OK");
  EXPECT_EQ(link.settings.BaudRate, 9600);
  EXPECT_FALSE(link.port.isOpen());
  EXPECT_FALSE(link.state.ProbeMode);
  EXPECT_TRUE(link.state.ReportOpenErrors);
  EXPECT_EQ(probe.lastOpenFailure().failure, OpenFailure::NotFound);
}

TEST(BoardLink, ProbeOfAMuteBoardEndsWithNG) {
  VirtualBoardProcess board({"--mute"});
  Link link;
  link.settings.PortName = board.path();
  ProbeBoard probe(link.link);
  const Millis started = steadyMillis();
  probe.start(started, {});
  ProbeBoard::Status status = ProbeBoard::Status::Running;
  link.runUntil([&] { return status != ProbeBoard::Status::Running; }, 3000, [&](Millis now) { status = probe.step(now); });
  EXPECT_EQ(status, ProbeBoard::Status::NotFound);
  EXPECT_GE(steadyMillis() - started, ProbeBoard::kAnswerTime);
  EXPECT_EQ(probe.resultText(), board.path() + ":NG");
  EXPECT_EQ(link.settings.PortName, board.path());
}

TEST(BoardLink, ProbeIsCancelledByClearingProbeMode) {
  VirtualBoardProcess board({"--mute"});
  Link link;
  link.settings.PortName = board.path();
  ProbeBoard probe(link.link);
  probe.start(steadyMillis(), {});
  EXPECT_EQ(probe.step(steadyMillis()), ProbeBoard::Status::Running);
  link.state.ProbeMode = false;
  EXPECT_EQ(probe.step(steadyMillis()), ProbeBoard::Status::NotFound);
  EXPECT_FALSE(link.port.isOpen());
}

TEST(BoardLink, MonitorStreamsReachTheirHandlers) {
  VirtualBoardProcess board;
  Link link;
  link.settings.PortName = board.path();
  ASSERT_TRUE(link.port.OpenPort().ok);
  link.receiver.start(steadyMillis());
  link.state.sensorMonitorListening = true;
  link.state.ussListening = true;

  const auto saw = [&](MonitorHandler h) {
    for (const LineRoute& r : link.routes) if (r.monitorHandler == h) return true;
    return false;
  };
  ASSERT_EQ(link.port.SendText("Ver"), SendStatus::Sent);
  ASSERT_TRUE(link.runUntil([&] { return saw(MonitorHandler::Version); }, 2000));
  EXPECT_EQ(link.settings.BoardVersionText, "Wrenlet CORE Ver.2.10 vboard");

  ASSERT_EQ(link.port.SendText("S0:1"), SendStatus::Sent);
  ASSERT_TRUE(link.runUntil([&] { return saw(MonitorHandler::ConnectorReport) && saw(MonitorHandler::OptionReport); }, 2000));
  for (const LineRoute& r : link.routes) {
    if (r.monitorHandler == MonitorHandler::ConnectorReport) {
      EXPECT_EQ(r.text.size(), 98u) << r.text;
      EXPECT_EQ(r.text.substr(81, 5), "CN10=") << r.text;
    }
  }
  ASSERT_EQ(link.port.SendText("S3:1"), SendStatus::Sent);
  ASSERT_TRUE(link.runUntil([&] {
    for (const LineRoute& r : link.routes) if (r.module == ModuleTarget::Ultrasonic) return true;
    return false;
  }, 2000));

  link.routes.clear();
  link.state = LinkState{};
  link.state.motorBalanceListening = true;
  ASSERT_EQ(link.port.SendText("S0:0"), SendStatus::Sent);
  ASSERT_EQ(link.port.SendText("S3:0"), SendStatus::Sent);
  ASSERT_EQ(link.port.SendText("B:015,000,010"), SendStatus::Sent);
  ASSERT_TRUE(link.runUntil([&] { return link.state.AckFlag; }, 2000));
  EXPECT_EQ(link.routes.back().text, "B:015,000,010");
}

TEST(BoardLink, HangUpClosesThePortAndAbortsTheDownload) {
  VirtualBoardProcess board;
  Link link;
  link.settings.PortName = board.path();
  ASSERT_TRUE(link.port.OpenPort().ok);
  link.receiver.start(steadyMillis());
  link.state.downloadState = kDownloadWaiting;
  board.stop();
  ASSERT_TRUE(link.runUntil([&] { return link.broken; }, 2000));
  EXPECT_FALSE(link.port.isOpen());
  EXPECT_TRUE(link.state.AbortFlag);
  EXPECT_FALSE(link.settings.recvRunning);
}
