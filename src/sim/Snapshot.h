#pragma once
// The simulated robot at one moment, every 10 ms of simulated time: what the trace writes, the
// window draws and the virtual board reports.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "sim/Camera.h"
#include "sim/World.h"

namespace kavel::sim {

struct SimSnapshot {
  std::int64_t timeUs = 0;
  double x = 0, y = 0;    // the body's centre, mm
  double heading = 0;     // 0 <= heading < 360
  int motorLeft = 0, motorRight = 0;
  /// Each connector as the program reads it: outputs 0/1, PING millimetres, servos the pulse
  /// in microseconds, thermistors tenths of a degree, inputs 0..1023.
  std::array<int, 10> cn{};
  std::array<bool, 4> leds{};  // green, red 1, red 2, red 3
  std::array<int, 6> pwm{};
  std::array<std::string, 2> lcd;
  std::array<int, 4> uss{};    // what the ultrasonic unit's sensors measure, mm; 0 without the unit
  bool bumperLeft = false, bumperRight = false, bumperCentre = false;
  std::vector<CameraBlock> camera;
  std::vector<Point> balls;
  bool operator==(const SimSnapshot&) const = default;
};

}  // namespace kavel::sim
