#pragma once
// The simulated board in its world: the firmware's calls as the program makes them, simulated
// time, and the physics and sensors behind them. Time moves only when the program calls the
// firmware (a fixed cost per call and per read of gAD[], and the time wait_ms asks for), so a
// program and a world always give the same run.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "sim/Camera.h"
#include "sim/GamePad.h"
#include "sim/Physics.h"
#include "sim/RobotConfig.h"
#include "sim/Sensors.h"
#include "sim/Snapshot.h"
#include "sim/World.h"

namespace kavel::sim {

class Simulation;

/// Told at every 10 ms of simulated time, from 0; may wait there (a paused run) or end the run.
class SimObserver {
 public:
  virtual ~SimObserver() = default;
  virtual void onSample(Simulation& sim) = 0;
};

class Simulation {
 public:
  Simulation(World world, RobotConfig config);
  Simulation(const Simulation&) = delete;
  Simulation& operator=(const Simulation&) = delete;

  void setObserver(SimObserver* observer) { observer_ = observer; }
  /// The program's 10 ms timer interrupt (user_sub_30), run at every 10 ms from 10 ms on,
  /// never inside itself.
  void setInterrupt(std::function<void()> routine) { interrupt_ = std::move(routine); }
  /// The sample at time 0. Call once before the program starts.
  void begin();

  std::int64_t nowUs() const { return now_; }
  const World& world() const { return world_; }
  const RobotConfig& config() const { return config_; }

  // The firmware, one call each. Every call costs kCallCostUs after it has acted.
  void motor(int left, int right);
  void waitMs(std::int64_t ms);
  /// The readings behind gAD[]: refreshed for this instant, then a read's cost passes.
  volatile unsigned* analogInputs();
  void clearTimer(int t);
  long timer(int t);
  void setLed(int n, bool on);
  bool led(int n);
  void setLat(int cn, bool high);
  bool lat(int cn);
  void setServo(int cn, int microseconds);
  int ping(int cn);
  /// get_temp: tenths of a degree from a thermistor's reading (no time of its own).
  static int temperature(unsigned reading);
  void pwmOut(const unsigned char* channels);
  void ultrasonic(int command);
  int ultrasonicDistance(int sensor);
  /// Direction sensors: axis 0 the heading 0..359, 1 pitch, 2 roll (a level board).
  int direction(int axis, bool nineAxis);
  bool cameraSeesAny();
  bool cameraSeesIn(int signature, unsigned cells);
  unsigned cameraSize(int signature);
  bool pad(unsigned code);
  void lcd(int line, const std::string& text);
  /// A call that only costs its time (sub I/O, the pad receiver's read, ...).
  void call();
  /// Connector `cn`'s reading as gAD[] would hold it now, without a read's time (the LCD's
  /// sensor line is one firmware call).
  int analogReading(int cn);
  /// Lets `us` of simulated time pass with nothing called (a board idling after user_main).
  void idle(std::int64_t us) { advance(us); }

  // From outside the program: the monitor's and the window's controls.
  void setPadState(const PadState& pad) { pad_ = pad; }
  void overrideLat(int cn, bool high);
  void overrideLed(int n, bool on);
  void overrideServo(int cn, int microseconds);

  /// The robot now, as the trace and the window show it.
  SimSnapshot snapshot();
  /// Connector `i` (0..9) as the sensor monitor's report carries it: outputs 1000 / 0, the rest
  /// as the snapshot has it.
  int monitorValue(int i);
  /// What the direction sensor's monitor line shows: heading, pitch, roll.
  std::array<int, 3> compass();

  /// The analogue reading of a thermistor at room temperature (get_temp turns it into 250).
  static unsigned thermistorReading();

 private:
  void advance(std::int64_t us);
  void boundary();
  void refreshWorldReadings();
  int analogValue(int i);
  int connectorValue(int i);

  World world_;
  RobotConfig config_;
  Physics physics_;
  SimObserver* observer_ = nullptr;
  std::function<void()> interrupt_;
  bool inInterrupt_ = false;

  std::int64_t now_ = 0;
  std::int64_t physicsAt_ = 0;  // the physics has been stepped up to here
  long steps_ = 0;
  long readingsStep_ = -1;      // the step the world readings below belong to

  int motorLeft_ = 0, motorRight_ = 0;
  std::array<std::int64_t, 4> timerStart_{};
  std::array<bool, 4> leds_{};
  std::array<bool, 10> lat_{};
  std::array<int, 10> servo_{};
  std::array<int, 6> pwm_{};
  std::array<std::string, 2> lcd_;
  bool ussRunning_ = false;
  PadState pad_;

  // World readings of the current physics step.
  int line_ = 0, ball_ = 0, pingMm_ = 0;
  Bumper bumper_;

  volatile unsigned analog_[10] = {};
};

}  // namespace kavel::sim
