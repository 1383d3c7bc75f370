#pragma once
// What the robot's sensors read in a world, in the raw values the board's firmware hands the
// program: 0..1023 for the analogue inputs, millimetres for distances.

#include <vector>

#include "sim/Physics.h"
#include "sim/World.h"

namespace kavel::sim {

/// The floor sensor at `spot`: 1023 * (1 - brightness) of what lies under its small spot, so
/// a black line reads 1023 and a white floor 0; lines drawn later cover earlier ones.
int floorReading(const World& world, Point spot);

/// Where the "Line" sensor looks for a robot at `centre` heading `headingDeg`.
Point lineSensorSpot(Point centre, double headingDeg);

/// The strongest infrared ball: 1023 * cos³(bearing) * (range - d) / (range - full) for a ball
/// d mm from the robot's centre (full strength within kBallFullMm), 0 behind or out of range.
int ballReading(const World& world, Point centre, double headingDeg, const std::vector<Point>& ballPositions);

struct Bumper {
  bool left = false;
  bool right = false;
  bool centre = false;
};

/// Which bumper switches the contacts at `bearings` (degrees from ahead) press.
Bumper bumperOf(const std::vector<double>& bearings);

/// The distance a sensor on the body's edge, looking `offsetDeg` from straight ahead (90 to
/// the right), measures; the range when nothing lies within it. Whole millimetres.
int edgeDistance(const Physics& physics, double offsetDeg);

}  // namespace kavel::sim
