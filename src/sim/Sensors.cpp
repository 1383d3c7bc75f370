#include "sim/Sensors.h"

#include <cmath>

#include "sim/Geometry.h"
#include "sim/RobotModel.h"

namespace kavel::sim {
namespace {

double brightness(Colour c) { return (0.2126 * c.r + 0.7152 * c.g + 0.0722 * c.b) / 255.0; }

/// How much of the sensor's spot the line covers: 0 beside it, 1 well on it, in between at
/// its edge.
double coverage(const FloorLine& line, Point spot) {
  double best = 0;
  for (std::size_t i = 0; i + 1 < line.points.size(); ++i) {
    const double d = distanceToSegment(spot, line.points[i], line.points[i + 1]);
    const double c = (line.widthMm / 2 + kLineSpotRadiusMm - d) / (2 * kLineSpotRadiusMm);
    best = std::max(best, std::clamp(c, 0.0, 1.0));
  }
  return best;
}

}  // namespace

int floorReading(const World& world, Point spot) {
  double light = brightness(world.floor);
  for (const FloorLine& line : world.lines) {
    const double c = coverage(line, spot);
    if (c > 0) light = light * (1 - c) + brightness(line.colour) * c;
  }
  return static_cast<int>(std::lround(1023.0 * (1.0 - std::clamp(light, 0.0, 1.0))));
}

Point lineSensorSpot(Point centre, double headingDeg) { return ahead(centre, headingDeg, kLineSensorAheadMm); }

int ballReading(const World& world, Point centre, double headingDeg, const std::vector<Point>& ballPositions) {
  double best = 0;
  for (std::size_t i = 0; i < world.balls.size() && i < ballPositions.size(); ++i) {
    if (!world.balls[i].infrared) continue;
    const Point at = ballPositions[i];
    const double d = distance(centre, at);
    const double ahead = std::cos(radians(relativeBearing(centre, headingDeg, at)));
    const double facing = ahead * ahead * ahead;
    if (ahead <= 0 || d >= kBallRangeMm) continue;
    const double nearness = std::min(1.0, (kBallRangeMm - d) / (kBallRangeMm - kBallFullMm));
    best = std::max(best, facing * nearness);
  }
  return static_cast<int>(std::lround(1023.0 * best));
}

Bumper bumperOf(const std::vector<double>& bearings) {
  Bumper b;
  for (double a : bearings) {
    b.left = b.left || (a >= kBumperLeftFromDeg && a <= kBumperLeftToDeg);
    b.right = b.right || (a >= kBumperRightFromDeg && a <= kBumperRightToDeg);
    b.centre = b.centre || std::abs(a) <= kBumperCentreHalfDeg;
  }
  return b;
}

int edgeDistance(const Physics& physics, double offsetDeg) {
  const double heading = normalHeading(physics.robotHeading() + offsetDeg);
  const Point from = ahead(physics.robotAt(), heading, kBodyRadiusMm);
  return static_cast<int>(std::lround(physics.rayDistance(from, heading, kDistanceRangeMm)));
}

}  // namespace kavel::sim
