// The simulation client against real runs: paced, paused and stepped, fed the game pad and the
// monitor's controls, and ended however the program ends, never by hanging.

#include <gtest/gtest.h>

#include <vector>

#include "SimPrograms.h"

using namespace kavel;
using namespace kavel::testing;
using std::chrono::milliseconds;

namespace {

class ProgramRun {
 public:
  explicit ProgramRun(const std::string& source, sim::SimClient::Clock clock = {}) : client(std::move(clock)) {
    build = compileProgram(folder, source);
    if (!build.ok) return;
    client.onSnapshot = [this](const sim::SimSnapshot& s) { snapshots.push_back(s); };
    std::string error;
    started = client.start(launchFor(folder, build), error);
  }
  /// Pumps until `done` or 20 s of wall time.
  template <class F>
  bool pumpUntil(F done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!done() && std::chrono::steady_clock::now() < deadline) client.pump(milliseconds(20));
    return done();
  }
  bool toEnd() {
    return pumpUntil([this] { return client.finished(); });
  }

  sim::RunFolder folder;
  sim::HostBuild build;
  sim::SimClient client;
  std::vector<sim::SimSnapshot> snapshots;
  bool started = false;
};

}  // namespace

TEST(SimClient, ARunStartsPausedAndStepsTenMillisecondsAtATime) {
  ProgramRun run(userC("  motor(50, 50);\n  wait_ms(100000);"));
  ASSERT_TRUE(run.started) << run.build.messages << run.build.error;
  ASSERT_TRUE(run.pumpUntil([&] { return !run.snapshots.empty(); }));
  for (int i = 0; i < 5; ++i) run.client.pump(milliseconds(20));
  ASSERT_EQ(run.snapshots.size(), 1u) << "paused at time 0";
  EXPECT_EQ(run.snapshots[0].timeUs, 0);
  run.client.step();
  ASSERT_TRUE(run.pumpUntil([&] { return run.snapshots.size() == 2; }));
  run.client.step();
  ASSERT_TRUE(run.pumpUntil([&] { return run.snapshots.size() == 3; }));
  for (int i = 0; i < 5; ++i) run.client.pump(milliseconds(20));
  ASSERT_EQ(run.snapshots.size(), 3u);
  EXPECT_EQ(run.snapshots[2].timeUs, 20000);
  EXPECT_NEAR(run.snapshots[2].y, 750 + 3.0, 0.1) << "20 ms at 150 mm/s";
  EXPECT_FALSE(run.client.finished());
  run.client.stop();
  EXPECT_EQ(run.client.outcome().end, sim::SimEnd::Stopped);
}

TEST(SimClient, RealTimeRunsKeepPaceWithTheClock) {
  auto wall = std::chrono::steady_clock::now();
  ProgramRun run(userC("  for (;;) { motor(20, 20); wait_ms(5); }"), [&wall] { return wall; });
  ASSERT_TRUE(run.started) << run.build.messages << run.build.error;
  run.client.setSpeed(1.0);
  run.client.run();
  const auto waitsAt = [&run](std::int64_t t) {
    return run.pumpUntil([&] { return run.client.timeUs() == t; });
  };
  // The child runs a little ahead of the clock (20 ms), then waits for it.
  EXPECT_TRUE(waitsAt(20000)) << run.client.timeUs();
  wall += milliseconds(100);
  EXPECT_TRUE(waitsAt(120000)) << run.client.timeUs();
  run.client.setSpeed(5.0);
  wall += milliseconds(100);
  EXPECT_TRUE(waitsAt(120000 + 500000 + 20000)) << run.client.timeUs();
  run.client.pause();
  wall += milliseconds(1000);
  for (int i = 0; i < 5; ++i) run.client.pump(milliseconds(20));
  EXPECT_EQ(run.client.timeUs(), 640000) << "a paused run takes no time from the clock";
  EXPECT_FALSE(run.client.finished()) << "waiting for time is no stall";
}

TEST(SimClient, EveryEndIsToldWithItsCause) {
  struct Case {
    std::string body;
    sim::SimEnd end;
    std::string says;
  };
  const std::vector<Case> cases = {
      {"  wait_ms(250);", sim::SimEnd::Returned, ""},
      {"  gV[VAR_B] = 10 / gV[VAR_A];", sim::SimEnd::Crashed, "a division by zero in User.c line 7"},
      {"  gV[gV[VAR_A] + 30] = 1;", sim::SimEnd::Crashed, "an index outside its array in User.c line 7"},
      {"  *(volatile int *)16 = 1;", sim::SimEnd::Crashed, "memory access outside"},
      {"  for (;;) gV[VAR_A]++;", sim::SimEnd::Stalled, "calls no firmware function"},
      {"  void user_sub_7(void); user_sub_7();", sim::SimEnd::LoadFailed, "user_sub_7"},
      // A program that writes into the channel itself cannot take the client down with it.
      {"  long write(int, const void *, unsigned long); write(3, \"\\377\\377\\377\\377\", 4); wait_ms(100);",
       sim::SimEnd::Lost, "the run was stopped"},
  };
  for (const Case& c : cases) {
    ProgramRun run(userC(c.body));
    ASSERT_TRUE(run.started) << c.body << run.build.messages << run.build.error;
    run.client.stallLimit = milliseconds(300);
    run.client.setSpeed(0);
    run.client.run();
    ASSERT_TRUE(run.toEnd()) << c.body;
    EXPECT_EQ(run.client.outcome().end, c.end) << c.body << ": " << run.client.outcome().message;
    EXPECT_NE(run.client.outcome().message.find(c.says), std::string::npos) << run.client.outcome().message;
    EXPECT_EQ(run.client.socket(), -1) << "the child is gone";
  }
}

TEST(SimClient, TheProgramSeesThePadAndTheMonitorsControls) {
  ProgramRun run(userC("  for (;;) {\n    set_Led(1, chk_snx4410(PSx_R1) ? LED_ON : LED_OFF);\n    wait_ms(10);\n  }"));
  ASSERT_TRUE(run.started) << run.build.messages << run.build.error;
  const auto stepped = [&run] {
    const std::size_t before = run.snapshots.size();
    run.client.step();
    return run.pumpUntil([&] { return run.snapshots.size() > before; });
  };
  ASSERT_TRUE(stepped());
  EXPECT_FALSE(run.snapshots.back().leds[1]);
  run.client.setPad({0x0001, 0, 0});
  ASSERT_TRUE(stepped());
  ASSERT_TRUE(stepped());
  EXPECT_TRUE(run.snapshots.back().leds[1]) << "R1 pressed";
  run.client.setOutput(8, true);
  run.client.setServo(6, 2100);
  ASSERT_TRUE(stepped());
  EXPECT_EQ(run.snapshots.back().cn[8], 1) << "CN9, an output, set from outside";
}

TEST(SimClient, TheInterruptRoutineRunsEveryTenMilliseconds) {
  ProgramRun run(userC("  wait_ms(1000);", "  gV[VAR_A]++;\n  set_Led(0, gV[VAR_A] >= 50 ? LED_ON : LED_OFF);"));
  ASSERT_TRUE(run.started) << run.build.messages << run.build.error;
  run.client.setSpeed(0);
  run.client.run();
  ASSERT_TRUE(run.toEnd());
  EXPECT_EQ(run.client.outcome().end, sim::SimEnd::Returned);
  ASSERT_GT(run.snapshots.size(), 60u);
  EXPECT_FALSE(run.snapshots[49].leds[0]) << "49 interrupts by 490 ms";
  EXPECT_TRUE(run.snapshots[51].leds[0]);
}
