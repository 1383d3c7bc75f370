// The sensor monitor's session against the virtual board: end to end over a pseudo-terminal
// as `kavel monitor` runs it (connecting, the reports, the configuration line, the closing
// sequence, a board that never answers and one that goes away), then as tables on the test's
// clock for what the window adds (start and module buttons, controls, configuration changes).

#include <gtest/gtest.h>

#include <poll.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "FakeBoardPort.h"
#include "VirtualBoardProcess.h"
#include "core/comm/BoardLink.h"
#include "core/comm/LinkState.h"
#include "core/comm/RS232C.h"
#include "core/monitor/MonitorSession.h"
#include "core/settings/AppSettings.h"
#include "TempFolder.h"

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
  const kavel::testing::TempFolder temp("kavel-monitor-session");
  const std::string log = temp / "vboard_monitor.log";
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

// --- the same session on the test's clock, as the window and the console use it -----------------

namespace {

using kavel::testing::FakeLink;
using Kind = MonitorSession::EventKind;
const std::string kFakePort = "/dev/ttyFAKE0";

MonitorSession::Options windowOptions() {
  MonitorSession::Options o;
  o.versionTime = 0;
  o.endWhenNoBoard = false;
  o.closePortAtEnd = false;
  return o;
}

struct Session {
  FakeLink f;
  IoSetup io;
  SetupRecord record;
  MonitorSession session;
  std::vector<MonitorSession::Event> events;

  explicit Session(MonitorSession::Options options = windowOptions()) : session(f.link, io, record, options) {}

  void collect() {
    while (auto e = session.takeEvent()) events.push_back(*e);
  }
  bool run(const std::function<bool()>& done, Millis ms = 10000) { return f.runUntil(done, ms, [this] { collect(); }); }
  bool saw(Kind k) const {
    return std::any_of(events.begin(), events.end(), [k](const auto& e) { return e.kind == k; });
  }
  long reports() const {
    return std::count_if(events.begin(), events.end(), [](const auto& e) { return e.kind == Kind::Report; });
  }
  std::vector<std::string> sentSince(std::size_t from) const {
    return {session.sent().begin() + static_cast<long>(from), session.sent().end()};
  }
};

}  // namespace

TEST(MonitorSessionTable, StartStopAndModuleButtons) {
  Session s;
  s.f.port.addBoard(kFakePort, "Wrenlet CORE Ver.2.10 vboard", "WL Loader2520", {},
                    {.periodUs = 20000, .config = "CNio:1111114100 USE_DIR USE_USS"});
  s.session.open();
  EXPECT_TRUE(s.session.listening());
  s.session.pressStart();
  ASSERT_TRUE(s.run([&] { return s.reports() >= 2; }));
  EXPECT_TRUE(s.session.monitoring());
  EXPECT_EQ(s.sentSince(0), (std::vector<std::string>{"Ver", "S0:1", "L0:1"}));
  EXPECT_TRUE(s.saw(Kind::CloseModules));
  EXPECT_TRUE(s.saw(Kind::Chime));

  // A second press stops the stream; the controls stay live.
  std::size_t from = s.session.sent().size();
  s.session.pressStart();
  s.session.led(1, false);
  EXPECT_EQ(s.sentSince(from), (std::vector<std::string>{"S0:0", "L1:1"}));
  EXPECT_FALSE(s.session.startRequest());
  EXPECT_TRUE(s.session.monitoring());

  // A module button: connect ("Ver"), the mark set while its window shows, whose version
  // answer starts the module's stream; closing the window stops it.
  from = s.session.sent().size();
  s.session.openModule(BoardModule::Compass);
  s.collect();
  ASSERT_TRUE(s.saw(Kind::ModuleReady));
  EXPECT_TRUE(s.session.moduleMark(BoardModule::Compass));
  ASSERT_TRUE(s.run([&] { return s.session.sent().back() == "S1:1"; }));
  s.session.moduleClosed(BoardModule::Compass);
  EXPECT_FALSE(s.session.moduleMark(BoardModule::Compass));
  EXPECT_EQ(s.sentSince(from), (std::vector<std::string>{"Ver", "S1:1", "S1:0"}));

  // The sub I/O choice: a chime now, "ID:2" half a second later.
  from = s.session.sent().size();
  s.events.clear();
  s.session.chooseId(2);
  s.collect();
  EXPECT_TRUE(s.saw(Kind::Chime));
  EXPECT_TRUE(s.sentSince(from).empty());
  ASSERT_TRUE(s.run([&] { return !s.sentSince(from).empty(); }));
  EXPECT_EQ(s.sentSince(from), std::vector<std::string>{"ID:2"});
}

TEST(MonitorSessionTable, ControlsActOnlyWhileMonitoring) {
  Session s;
  s.f.port.addBoard(kFakePort);
  s.session.open();
  s.session.output(2, "LOW");
  s.session.led(0, false);
  s.session.servo(7, 25);
  s.session.chooseId(1);
  s.f.now += 1000;
  s.f.link.poll();
  EXPECT_TRUE(s.session.sent().empty());
  s.session.pressStart();
  ASSERT_TRUE(s.run([&] { return s.session.monitoring(); }));
  const std::size_t from = s.session.sent().size();
  s.session.output(2, "LOW");
  s.session.output(2, "HIGH");
  s.session.servo(7, 25);
  s.session.servo(6, 25);
  EXPECT_EQ(s.sentSince(from), (std::vector<std::string>{"O2:1", "O2:0", "s7:1000"}));
}

TEST(MonitorSessionTable, AConfigurationLineSaysWhichConnectorsChanged) {
  Session s;
  s.io.cnMode = {1, 1, 1, 1, 1, 1, 1, 1, 0, 0};
  s.f.port.addBoard(kFakePort, "Wrenlet CORE", "WL Loader2520", {},
                    {.periodUs = 20000, .config = "CNio:1111113400 USE_USS"});
  s.session.open();
  s.session.pressStart();
  ASSERT_TRUE(s.run([&] { return s.saw(Kind::Config); }));
  const auto config = std::find_if(s.events.begin(), s.events.end(), [](const auto& e) { return e.kind == Kind::Config; });
  EXPECT_EQ(config->text, "The board's configuration changed the I/O setup: CN7 Input -> PING-In, "
                          "CN8 Input -> Servo, USE_USS");
  EXPECT_EQ(s.io.cnMode[6], 3);
  // The same configuration again changes nothing, and says nothing.
  const long before = s.reports();
  s.events.erase(std::remove_if(s.events.begin(), s.events.end(), [](const auto& e) { return e.kind == Kind::Config; }),
                 s.events.end());
  s.session.chooseId(0);  // the board sends its configuration again
  ASSERT_TRUE(s.run([&] { return s.saw(Kind::Config) && s.reports() > before; }));
  const auto again = std::find_if(s.events.begin(), s.events.end(), [](const auto& e) { return e.kind == Kind::Config; });
  EXPECT_EQ(again->text, "");
}

TEST(MonitorSessionTable, NoBoardAnotherBoardAndAPulledCable) {
  {
    Session s;  // nothing on the port: the window tells and stays
    s.session.open();
    s.session.pressStart();
    ASSERT_TRUE(s.run([&] { return s.saw(Kind::NoBoard); }));
    EXPECT_FALSE(s.session.ended());
    EXPECT_FALSE(s.session.startRequest()) << "the next press starts again";
    EXPECT_NE(s.events.back().detail.find("does not exist"), std::string::npos) << s.events.back().detail;
  }
  {
    Session s;  // a board of another product answers "Ver"
    s.f.port.addBoard(kFakePort, "Velmo R2 Ver.1.0");
    s.session.open();
    s.session.pressStart();
    ASSERT_TRUE(s.run([&] { return s.saw(Kind::NoBoard); }));
    EXPECT_EQ(s.events.back().text, "Velmo R2 Ver.1.0");
  }
  {
    Session s;  // the cable is pulled while monitoring
    s.f.port.addBoard(kFakePort, "Wrenlet CORE", "WL Loader2520", {}, {.periodUs = 20000});
    s.session.open();
    s.session.pressStart();
    ASSERT_TRUE(s.run([&] { return s.reports() > 0; }));
    s.f.port.ClosePort();
    ASSERT_TRUE(s.run([&] { return s.saw(Kind::Disconnected); }));
    EXPECT_TRUE(s.session.ended());
    EXPECT_FALSE(s.session.listening());
  }
}

TEST(MonitorSessionTable, Variant0RestartsTheBoardWithoutSearching) {
  Session s;
  s.f.settings.variant = 0;
  s.f.port.addBoard(kFakePort, "Glent Ver.1");
  s.session.open();
  s.session.pressStart();
  EXPECT_EQ(s.session.sent(), std::vector<std::string>{"Reset"});
  EXPECT_EQ(s.f.port.opened, std::vector<std::string>{kFakePort});
  // The restarted board says who it is, which starts the stream.
  ASSERT_TRUE(s.run([&] { return s.session.monitoring(); }));
  EXPECT_EQ(s.session.sent(), (std::vector<std::string>{"Reset", "S0:1"}));
}

TEST(MonitorSessionTable, ClosingLeavesTheBoardAtRestOrSendsNothing) {
  Session idle;
  idle.f.port.addBoard(kFakePort);
  idle.session.open();
  idle.session.stop();
  idle.collect();
  EXPECT_TRUE(idle.saw(Kind::Closed));
  EXPECT_TRUE(idle.session.sent().empty());
  EXPECT_FALSE(idle.session.listening());

  Session s;
  s.io.cnMode = {1, 1, 1, 1, 1, 1, 1, 0, 2, 1};
  s.f.port.addBoard(kFakePort, "Wrenlet CORE", "WL Loader2520", {}, {.periodUs = 20000, .config = "CNio:1111111021"});
  s.session.open();
  s.session.pressStart();
  ASSERT_TRUE(s.run([&] { return s.reports() > 0; }));
  s.session.openModule(BoardModule::GamePad);
  s.collect();
  const std::size_t from = s.session.sent().size();
  s.session.stop();
  EXPECT_TRUE(s.session.closing());
  const Millis started = s.f.now;
  ASSERT_TRUE(s.run([&] { return s.saw(Kind::Closed); }));
  EXPECT_EQ(s.sentSince(from), (std::vector<std::string>{"O7:0", "O8:1", "L1:0", "L0:0", "S0:0", "S2:0"}));
  EXPECT_GE(s.f.now - started, 100 + 100 + 100 + 100) << "each command but the last waits its pause";
  EXPECT_TRUE(s.f.port.isOpen()) << "the window's session leaves the port to the main window";
}

TEST(MonitorSessionTable, TheConsoleCountsLinesThatAreNotReports) {
  MonitorSession::Options o;  // the console's
  Session s(o);
  s.f.port.addBoard(kFakePort, "Wrenlet CORE", "WL Loader2520", {.garbage = true}, {.periodUs = 20000});
  s.session.start();
  ASSERT_TRUE(s.run([&] { return s.session.linesReceived() >= 10; }));
  EXPECT_TRUE(s.session.monitoring());
  EXPECT_EQ(s.session.reportsReceived(), 0) << "noise in front of every line: none reads as a report";
  s.session.stop();
  ASSERT_TRUE(s.run([&] { return s.session.ended(); }));
  EXPECT_FALSE(s.f.port.isOpen());
}
