#pragma once
// What is wired to the simulated board: each connector's mode and the sensor its name places on
// the robot, and the option modules the program set up. Taken from the program's I/O setup.

#include <array>
#include <string>

#include "core/setup/IoSetup.h"

namespace kavel::sim {

/// What a connector in an input mode is wired to, by its name.
enum class SensorKind {
  None,      // nothing the simulation knows: reads 0
  Line,      // "Line": floor sensor ahead on the centre line
  Ball,      // "Ball": infrared ball strength
  LeftTouch, // "L-Touch": left half of the front bumper
  RightTouch,// "R-Touch": right half of the front bumper
  CentreTouch,// "C-Touch": the centre of the front bumper
};

/// The sensor a connector name stands for (spaces around it and letter case do not matter).
SensorKind sensorKindOf(const std::string& name);

struct RobotConfig {
  std::array<int, 10> modes{1, 1, 1, 1, 1, 1, 1, 1, 0, 0};
  std::array<std::string, 10> names;
  std::array<SensorKind, 10> sensors{};
  bool useUss = false;
  bool useDir = false;
  bool useHmc = false;
  bool useBno = false;
  bool usePixy = false;
  bool useSnx4410 = false;
  bool useLcd = false;
  bool useMcb = false;
  bool subIoOn = false;
  int subIoId = 0;
};

/// The configuration of a program set with the I/O setup `io`.
RobotConfig robotConfigOf(const IoSetup& io);

/// The configuration line the board sends the sensor monitor: "CNio:" with the ten mode digits,
/// " ID:n" with a sub I/O, then the words of the option modules fitted.
std::string configLineOf(const RobotConfig& config);

}  // namespace kavel::sim
