// The smaller sessions on the link, against a virtual board on the test's clock: the motor
// balance's question and answer, and the module streams of the camera monitor and the game-pad
// dialog.

#include <gtest/gtest.h>

#include "FakeBoardPort.h"
#include "core/comm/LinkState.h"
#include "core/monitor/ModuleStream.h"
#include "core/monitor/MotorBalanceSession.h"

using namespace kavel;
using kavel::testing::FakeLink;

namespace {

const std::string kPort = "/dev/ttyFAKE0";

template <typename S>
auto drain(S& session) {
  std::vector<typename S::Event> events;
  while (auto e = session.takeEvent()) events.push_back(*e);
  return events;
}

}  // namespace

TEST(MotorBalanceSession, AsksSavesAndTellsWhenNoAnswerComes) {
  FakeLink f;
  f.port.addBoard(kPort);
  ASSERT_TRUE(f.link.OpenPort(true).ok);
  MotorBalanceSession s(f.link);
  s.open();
  EXPECT_TRUE(f.state.motorBalanceListening);

  std::vector<MotorBalanceSession::Event> events;
  const auto collect = [&] {
    for (const auto& e : drain(s)) events.push_back(e);
  };
  s.save(-30, 10);
  EXPECT_TRUE(s.waiting());
  ASSERT_TRUE(f.runUntil([&] { return !events.empty(); }, 2000, collect));
  EXPECT_EQ(f.port.written[kPort], "B:030,000,010\r\n");
  ASSERT_EQ(events[0].kind, MotorBalanceSession::EventKind::Reply);
  EXPECT_EQ(events[0].reply.position, -30);
  EXPECT_EQ(events[0].reply.third, 10);
  s.read();
  events.clear();
  ASSERT_TRUE(f.runUntil([&] { return !events.empty(); }, 2000, collect));
  EXPECT_EQ(events[0].reply.left, 30);

  // A board that never answers: the missing answer after half a second.
  f.link.ClosePort();
  FakeLink g;
  g.port.addBoard(kPort, "x", "y", {.mute = true});
  ASSERT_TRUE(g.link.OpenPort(true).ok);
  MotorBalanceSession mute(g.link);
  mute.open();
  mute.read();
  const Millis asked = g.now;
  std::vector<MotorBalanceSession::Event> none;
  ASSERT_TRUE(g.runUntil([&] {
    for (const auto& e : drain(mute)) none.push_back(e);
    return !none.empty();
  }, 2000));
  EXPECT_EQ(none[0].kind, MotorBalanceSession::EventKind::AnswerMissing);
  EXPECT_GE(g.now - asked, kBalanceReplyTime);
  EXPECT_LE(g.now - asked, kBalanceReplyTime + 10);
  mute.close();
  EXPECT_FALSE(g.state.motorBalanceListening);
}

TEST(ModuleStream, TheCameraSearchesStartsLaterAndStops) {
  FakeLink f;
  f.port.addBoard(kPort);
  ModuleStream::Options o;
  o.startCommand = "S4:1";
  o.stopCommand = "S4:0";
  o.startDelay = 500;
  ModuleStream s(f.link, o);
  s.start();
  std::vector<ModuleStream::Event> events;
  ASSERT_TRUE(f.runUntil([&] {
    for (const auto& e : drain(s)) events.push_back(e);
    return s.running();
  }, 3000));
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].kind, ModuleStream::EventKind::Started);
  EXPECT_EQ(f.port.written[kPort], "Ver\r\n") << "S4:1 waits half a second after the chime";
  const Millis started = f.now;
  ASSERT_TRUE(f.runUntil([&] { return f.port.written[kPort].find("S4:1") != std::string::npos; }, 2000));
  EXPECT_GE(f.now - started, 500);
  s.stop();
  EXPECT_FALSE(s.running());
  EXPECT_NE(f.port.written[kPort].find("S4:1\r\nS4:0\r\n"), std::string::npos);
  EXPECT_TRUE(f.port.isOpen()) << "the port it found stays for the sensor monitor";

  // Nothing on the port: NoBoard, nothing running; another board is named.
  FakeLink g;
  g.port.addBoard(kPort, "Acme Robot v1");
  ModuleStream other(g.link, o);
  other.start();
  std::vector<ModuleStream::Event> told;
  ASSERT_TRUE(g.runUntil([&] {
    for (const auto& e : drain(other)) told.push_back(e);
    return !told.empty();
  }, 3000));
  EXPECT_EQ(told[0].kind, ModuleStream::EventKind::NoBoard);
  EXPECT_EQ(told[0].text, "Acme Robot v1");
  EXPECT_FALSE(other.running());
}

TEST(ModuleStream, TheGamePadOpensItsOwnPortAndClosesItAgain) {
  FakeLink f;
  f.port.addBoard(kPort);
  ModuleStream::Options o;
  o.startCommand = "S2:1";
  o.stopCommand = "S2:0";
  o.searchBoard = false;
  o.gamePadMark = true;
  ModuleStream s(f.link, o);
  s.start();
  EXPECT_TRUE(s.running());
  EXPECT_TRUE(f.state.gamePadMonitor);
  EXPECT_EQ(f.port.written[kPort], "S2:1\r\n");
  s.stop();
  EXPECT_FALSE(f.state.gamePadMonitor);
  EXPECT_FALSE(f.port.isOpen()) << "it opened the port, so it closes it";

  // With the port open already (the sensor monitor's), it stays open.
  ASSERT_TRUE(f.link.OpenPort(true).ok);
  s.start();
  s.stop();
  EXPECT_TRUE(f.port.isOpen());

  // A port that does not open: told, not running.
  FakeLink g;
  g.port.refuse(kPort, OpenFailure::InUse);
  ModuleStream refused(g.link, o);
  refused.start();
  const auto events = drain(refused);
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].kind, ModuleStream::EventKind::OpenFailed);
  EXPECT_NE(events[0].text.find("Can't connect to /dev/ttyFAKE0"), std::string::npos) << events[0].text;
  EXPECT_FALSE(refused.running());
  EXPECT_FALSE(g.state.gamePadMonitor);
}
