#pragma once
// The bodies of a world in the physics library: the robot (driven by its wheel speeds, stopped
// by walls and objects, pushing balls), the balls (free, slowed by the floor), the walls and
// the objects (fixed). Millimetres and compass degrees outside, the library's units inside.

#include <memory>
#include <vector>

#include "sim/World.h"

class b2World;
class b2Body;

namespace kavel::sim {

class Physics {
 public:
  explicit Physics(const World& world);
  ~Physics();
  Physics(const Physics&) = delete;
  Physics& operator=(const Physics&) = delete;

  /// Moves the world on by `seconds` with the robot's wheels at `leftMmS` and `rightMmS`.
  void step(double seconds, double leftMmS, double rightMmS);

  Point robotAt() const;
  /// 0 <= heading < 360.
  double robotHeading() const;
  std::vector<Point> ballPositions() const;

  /// Where something touches the robot: the bearing of each contact point from straight ahead
  /// (negative to the left).
  std::vector<double> contactBearings() const;

  /// How far from `from`, looking along `headingDeg`, the first wall, object or ball lies (the
  /// robot itself is transparent); `rangeMm` when nothing lies within it.
  double rayDistance(Point from, double headingDeg, double rangeMm) const;

 private:
  std::unique_ptr<b2World> world_;
  b2Body* robot_ = nullptr;
  std::vector<b2Body*> balls_;
};

}  // namespace kavel::sim
