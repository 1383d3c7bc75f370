// The simulated robot's numbers: the drive, collisions, every sensor kind and simulated time,
// checked on the simulated board directly (no program, no child process).

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "sim/Simulation.h"

using namespace kavel::sim;

namespace {

RobotConfig wiring(std::array<int, 10> modes = {1, 1, 1, 1, 1, 1, 1, 1, 0, 0}) {
  kavel::IoSetup io;
  io.cnMode = modes;
  io.cnName = {"Ball", "Line", "L-Touch", "R-Touch", "C-Touch", "", "", "", "RED3", "RED2"};
  io.useUss = true;
  return robotConfigOf(io);
}

World worldWith(Point at, double heading) {
  World w = defaultWorld();
  w.robot = {at, heading};
  return w;
}

/// A heading near 0 as a small signed angle.
double signedHeading(double h) { return h > 180 ? h - 360 : h; }

int reading(Simulation& sim, int cn) { return static_cast<int>(sim.analogInputs()[cn]); }

class Samples : public SimObserver {
 public:
  void onSample(Simulation& sim) override { times.push_back(sim.nowUs()); }
  std::vector<std::int64_t> times;
};

}  // namespace

TEST(RobotModel, MotorValuesTurnTheWheelsAtThreeMillimetresPerSecondEach) {
  Simulation straight(worldWith({1000, 300}, 0), wiring());
  straight.motor(50, 50);
  straight.waitMs(1000);
  SimSnapshot s = straight.snapshot();
  EXPECT_NEAR(s.x, 1000, 0.1);
  EXPECT_NEAR(s.y, 450, 0.2) << "150 mm/s straight ahead";
  EXPECT_NEAR(signedHeading(s.heading), 0, 0.05);

  Simulation spin(worldWith({1000, 750}, 0), wiring());
  spin.motor(-50, 50);
  spin.waitMs(1000);
  s = spin.snapshot();
  EXPECT_NEAR(s.x, 1000, 0.1) << "on the spot";
  EXPECT_NEAR(s.y, 750, 0.1);
  const double turned = 300.0 / 140.0 * 180.0 / M_PI;  // (150 + 150) mm/s over a 140 mm track
  EXPECT_NEAR(s.heading, 360.0 - turned, 0.2) << "anticlockwise: the compass heading falls";

  Simulation stop(worldWith({1000, 300}, 90), wiring());
  stop.motor(100, 100);
  stop.waitMs(500);
  stop.motor(0, 0);
  stop.waitMs(500);
  s = stop.snapshot();
  EXPECT_NEAR(s.x, 1150, 0.2) << "300 mm/s for 0.5 s, then stopped at once";
  stop.motor(250, -999);
  EXPECT_EQ(stop.snapshot().motorLeft, 100) << "motor values are limited to -100..100";
  EXPECT_EQ(stop.snapshot().motorRight, -100);
}

TEST(RobotModel, WallsStopTheBodyAndPressTheBumperSwitchesWhereTheyTouch) {
  struct Case {
    double heading;
    bool left, right, centre;
  };
  // Driving up at the top wall (y = 1500): the contact lies at the bearing of the wall's normal.
  for (const Case& c : {Case{0, true, true, true}, Case{60, true, false, false}, Case{300, false, true, false}}) {
    Simulation sim(worldWith({1000, 1200}, c.heading), wiring());
    EXPECT_EQ(reading(sim, 2), 0) << "released while nothing touches";
    sim.motor(50, 50);
    sim.waitMs(4000);
    sim.motor(0, 0);
    sim.waitMs(100);
    const SimSnapshot s = sim.snapshot();
    EXPECT_NEAR(s.y, 1500 - 90, 2.0) << "the body stops at the wall, heading " << c.heading;
    EXPECT_EQ(reading(sim, 2), c.left ? 1023 : 0) << "L-Touch, heading " << c.heading;
    EXPECT_EQ(reading(sim, 3), c.right ? 1023 : 0) << "R-Touch, heading " << c.heading;
    EXPECT_EQ(reading(sim, 4), c.centre ? 1023 : 0) << "C-Touch, heading " << c.heading;
    EXPECT_EQ(s.cn[2], c.left ? 1023 : 0) << "the snapshot shows what the program reads";
  }
}

TEST(RobotModel, TheLineSensorLooksSeventyMillimetresAhead) {
  World w = defaultWorld();
  w.lines.push_back({{{1000, 0}, {1000, 1500}}, 20, {0, 0, 0}});
  w.lines.push_back({{{0, 1200}, {2000, 1200}}, 20, {128, 128, 128}});
  struct Case {
    Point at;
    double heading;
    int low, high;
  };
  const std::vector<Case> cases = {
      {{1000, 600}, 0, 900, 1023},   // on the dark line
      {{1100, 600}, 0, 0, 100},      // over the white floor
      {{1000, 600}, 90, 0, 100},     // centre on the line, the sensor 70 mm to its right
      {{930, 600}, 90, 900, 1023},   // centre beside it, the sensor on it
      {{500, 1130}, 0, 400, 600},    // a grey line reads in between
  };
  for (const Case& c : cases) {
    w.robot = {c.at, c.heading};
    Simulation sim(w, wiring());
    const int v = reading(sim, 1);
    EXPECT_GE(v, c.low) << c.at.x << "," << c.at.y << " heading " << c.heading;
    EXPECT_LE(v, c.high) << c.at.x << "," << c.at.y << " heading " << c.heading;
  }
}

TEST(RobotModel, TheBallSensorReadsStrongerWhenTheBallIsNearerAndAhead) {
  const auto ballAt = [](Point ball, bool infrared = true) {
    World w = worldWith({1000, 300}, 0);
    w.balls.push_back({ball, 37, infrared});
    Simulation sim(w, wiring());
    return reading(sim, 0);
  };
  const int near = ballAt({1000, 600}), far = ballAt({1000, 1200}), aside = ballAt({1300, 600});
  EXPECT_GT(near, far);
  EXPECT_GT(far, 0);
  EXPECT_GT(near, aside);
  EXPECT_EQ(ballAt({1000, 150}), 0) << "behind";
  EXPECT_EQ(ballAt({1000, 600}, false), 0) << "a ball without infrared is not seen";
}

TEST(RobotModel, DistanceSensorsMeasureFromTheBodysEdge) {
  // CN10 in PING mode; the field's walls are 750 mm above and below and 1000 mm to each side.
  Simulation sim(worldWith({1000, 750}, 0), wiring({1, 1, 1, 1, 1, 1, 1, 1, 0, 3}));
  EXPECT_NEAR(sim.ping(9), 1500 - 750 - 90, 1);
  EXPECT_EQ(sim.ping(0), 0) << "a connector not in PING mode measures nothing";
  EXPECT_NEAR(sim.snapshot().cn[9], 660, 1) << "the program reads millimetres";
  EXPECT_EQ(sim.ultrasonicDistance(0), 0) << "the ultrasonic unit measures once it is started";
  sim.ultrasonic(1);
  EXPECT_NEAR(sim.ultrasonicDistance(0), 660, 1) << "USS1 ahead";
  EXPECT_NEAR(sim.ultrasonicDistance(1), 910, 1) << "USS2 to the right";
  EXPECT_NEAR(sim.ultrasonicDistance(2), 660, 1) << "USS3 behind";
  EXPECT_NEAR(sim.ultrasonicDistance(3), 910, 1) << "USS4 to the left";

  World big = defaultWorld();
  big.widthMm = big.heightMm = 10000;
  big.robot.at = {5000, 5000};
  Simulation open(big, wiring({1, 1, 1, 1, 1, 1, 1, 1, 0, 3}));
  EXPECT_EQ(open.ping(9), 3000) << "nothing within range reads the range";
}

TEST(RobotModel, TheCompassGivesTheHeadingOfALevelBoard) {
  Simulation sim(worldWith({1000, 750}, 90), wiring());
  EXPECT_EQ(sim.direction(0, false), 90);
  EXPECT_EQ(sim.direction(1, false), 90) << "6-axis pitch of a level board";
  EXPECT_EQ(sim.direction(1, true), 180) << "9-axis pitch of a level board";
  EXPECT_EQ(sim.direction(2, true), 90);
  EXPECT_EQ(sim.compass(), (std::array<int, 3>{90, 90, 90}));
}

TEST(RobotModel, TheCameraSeesObjectsAheadInTheirArea) {
  const auto blocksFor = [](Point object, const std::vector<Wall>& walls = {}) {
    World w = worldWith({1000, 300}, 0);
    w.objects.push_back({object, 50, 2});
    w.walls = walls;
    Simulation sim(w, wiring());
    return sim.snapshot().camera;
  };
  const std::vector<CameraBlock> ahead = blocksFor({1000, 900});
  ASSERT_EQ(ahead.size(), 1u);
  EXPECT_EQ(ahead[0].signature, 2);
  EXPECT_NEAR(ahead[0].x, 160, 1);
  EXPECT_EQ(cameraCellOf(ahead[0]), 0x020u) << "middle of the picture";
  const std::vector<CameraBlock> right = blocksFor({1300, 900});
  ASSERT_EQ(right.size(), 1u);
  EXPECT_GT(right[0].x, 213);
  EXPECT_EQ(cameraCellOf(right[0]) & 0x444u, cameraCellOf(right[0])) << "right column";
  EXPECT_LT(blocksFor({1000, 1400})[0].width, ahead[0].width) << "smaller further away";
  EXPECT_TRUE(blocksFor({1000, 150}).empty()) << "behind the camera";
  EXPECT_TRUE(blocksFor({1000, 900}, {{{800, 600}, {1200, 600}}}).empty()) << "behind a wall";

  World w = worldWith({1000, 300}, 0);
  w.objects.push_back({{1000, 900}, 50, 2});
  Simulation sim(w, wiring());
  EXPECT_TRUE(sim.cameraSeesAny());
  EXPECT_TRUE(sim.cameraSeesIn(2, 0x222));
  EXPECT_FALSE(sim.cameraSeesIn(2, 0x111));
  EXPECT_FALSE(sim.cameraSeesIn(1, 0x777));
  EXPECT_EQ(sim.cameraSize(2), static_cast<unsigned>(ahead[0].width * ahead[0].height));
}

TEST(RobotModel, ConnectorsReadByTheirModes) {
  // CN5 thermistor, CN7 servo, CN8 Out(H), CN9 Out(L).
  Simulation sim(worldWith({1000, 750}, 0), wiring({1, 1, 1, 1, 6, 1, 4, 2, 0, 0}));
  SimSnapshot s = sim.snapshot();
  EXPECT_EQ(s.cn[4], 250) << "25.0 degrees";
  EXPECT_EQ(Simulation::temperature(Simulation::thermistorReading()), 250);
  EXPECT_EQ(reading(sim, 4), static_cast<int>(Simulation::thermistorReading()));
  EXPECT_EQ(s.cn[6], 1500) << "a servo at its centre";
  EXPECT_EQ(s.cn[7], 1) << "Out (H) rests high";
  EXPECT_EQ(s.cn[8], 0);
  sim.setServo(6, 2000);
  sim.setLat(8, true);
  s = sim.snapshot();
  EXPECT_EQ(s.cn[6], 2000);
  EXPECT_EQ(s.cn[8], 1);
  EXPECT_EQ(reading(sim, 8), 1023);
  EXPECT_EQ(sim.monitorValue(8), 1000) << "the monitor reads an output as HIGH at 1000";
  EXPECT_TRUE(sim.lat(8));
  sim.setLed(0, true);
  sim.setLed(7, true);  // no such LED
  EXPECT_TRUE(sim.led(0));
  EXPECT_EQ(sim.snapshot().leds, (std::array<bool, 4>{true, false, false, false}));
}

TEST(RobotModel, TimePassesByTheCallAndByTheReadOfGAd) {
  Simulation sim(defaultWorld(), wiring());
  sim.analogInputs();
  EXPECT_EQ(sim.nowUs(), 50);
  sim.call();
  EXPECT_EQ(sim.nowUs(), 100);
  sim.waitMs(10);
  EXPECT_EQ(sim.nowUs(), 10150) << "the wait and the call's own cost";
  sim.clearTimer(0);
  sim.waitMs(250);
  EXPECT_EQ(sim.timer(0), 250);
  EXPECT_EQ(sim.timer(9), 0) << "no such timer";
}

TEST(RobotModel, SamplesAndTheInterruptComeEveryTenMilliseconds) {
  Simulation sim(defaultWorld(), wiring());
  Samples samples;
  sim.setObserver(&samples);
  int interrupts = 0;
  sim.setInterrupt([&] {
    ++interrupts;
    sim.waitMs(15);  // longer than the period: never run inside itself
  });
  sim.begin();
  sim.waitMs(100);
  ASSERT_GE(samples.times.size(), 11u);
  for (std::size_t i = 0; i < samples.times.size(); ++i) EXPECT_EQ(samples.times[i], static_cast<std::int64_t>(i) * 10000);
  EXPECT_GE(interrupts, 5);
  EXPECT_LE(interrupts, 10);
}

TEST(RobotModel, TheSameCallsGiveTheSameRun) {
  const auto run = [] {
    World w = worldWith({600, 400}, 30);
    w.balls.push_back({{900, 900}, 37, true});
    w.objects.push_back({{1500, 1100}, 60, 1});
    Simulation sim(w, wiring());
    std::vector<SimSnapshot> out;
    for (int i = 0; i < 300; ++i) {
      sim.motor(reading(sim, 0) > 300 ? 60 : -30, 60);
      sim.waitMs(20);
      out.push_back(sim.snapshot());
    }
    return out;
  };
  EXPECT_EQ(run(), run());
}

TEST(RobotModel, GamePadCodes) {
  PadState pad;
  pad.buttons = 0x0201;  // R1 and the circle
  pad.rightStick = 3;
  struct Case {
    unsigned code;
    bool pressed;
  };
  for (const Case& c : {Case{0x0001, true}, Case{0x0200, true}, Case{0x0002, false}, Case{0x1003, true},
                        Case{0x1004, false}, Case{0x4000, true}, Case{0x4001, false}, Case{0x2000, false}}) {
    EXPECT_EQ(padPressed(pad, c.code), c.pressed) << std::hex << c.code;
  }
}
