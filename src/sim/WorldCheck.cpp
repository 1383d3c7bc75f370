#include "sim/WorldCheck.h"

#include "core/text/Format.h"
#include "sim/Geometry.h"
#include "sim/RobotModel.h"

namespace kavel::sim {
namespace {

// Touching is allowed; overlapping by more than a hair is not.
constexpr double kTolerance = 0.01;

std::string pointText(Point p) { return text::format("[%g, %g]", p.x, p.y); }

JsonStep key(const char* k) { return {k, -1}; }
JsonStep index(int i) { return {{}, i}; }

bool insideField(const World& w, Point p, double r) {
  return p.x - r >= -kTolerance && p.y - r >= -kTolerance && p.x + r <= w.widthMm + kTolerance &&
         p.y + r <= w.heightMm + kTolerance;
}

}  // namespace

std::optional<WorldProblem> checkWorld(const World& world) {
  const Point robot = world.robot.at;
  const std::vector<JsonStep> robotAt{key("robot"), key("at")};
  const std::string field = text::format("%g x %g mm", world.widthMm, world.heightMm);
  if (!insideField(world, robot, kBodyRadiusMm)) {
    return WorldProblem{robotAt, "the robot at " + pointText(robot) + " does not lie inside the " + field +
                                     " field (its body reaches " + text::format("%g", kBodyRadiusMm) +
                                     " mm from its centre); move it onto the field"};
  }
  for (std::size_t i = 0; i < world.walls.size(); ++i) {
    const Wall& wall = world.walls[i];
    if (distanceToSegment(robot, wall.from, wall.to) < kBodyRadiusMm - kTolerance) {
      return WorldProblem{robotAt, "the robot at " + pointText(robot) + " stands inside walls[" + std::to_string(i) +
                                       "] (from " + pointText(wall.from) + " to " + pointText(wall.to) +
                                       "); move the robot or the wall"};
    }
  }
  for (std::size_t i = 0; i < world.objects.size(); ++i) {
    const CameraObject& o = world.objects[i];
    const std::vector<JsonStep> at{key("objects"), index(static_cast<int>(i)), key("at")};
    if (!insideField(world, o.at, o.radiusMm)) {
      return WorldProblem{at, "objects[" + std::to_string(i) + "] at " + pointText(o.at) + " does not lie inside the " +
                                  field + " field"};
    }
    if (distance(robot, o.at) < kBodyRadiusMm + o.radiusMm - kTolerance) {
      return WorldProblem{robotAt, "the robot at " + pointText(robot) + " stands inside objects[" + std::to_string(i) +
                                       "] at " + pointText(o.at) + "; move one of them"};
    }
  }
  for (std::size_t i = 0; i < world.balls.size(); ++i) {
    const Ball& b = world.balls[i];
    const std::string name = "balls[" + std::to_string(i) + "] at " + pointText(b.at);
    const std::vector<JsonStep> at{key("balls"), index(static_cast<int>(i)), key("at")};
    if (!insideField(world, b.at, b.radiusMm)) {
      return WorldProblem{at, name + " does not lie inside the " + field + " field"};
    }
    if (distance(robot, b.at) < kBodyRadiusMm + b.radiusMm - kTolerance) {
      return WorldProblem{robotAt, "the robot at " + pointText(robot) + " stands inside " + name + "; move one of them"};
    }
    for (std::size_t k = 0; k < world.walls.size(); ++k) {
      if (distanceToSegment(b.at, world.walls[k].from, world.walls[k].to) < b.radiusMm - kTolerance) {
        return WorldProblem{at, name + " lies inside walls[" + std::to_string(k) + "]; move one of them"};
      }
    }
    for (std::size_t k = 0; k < world.objects.size(); ++k) {
      if (distance(b.at, world.objects[k].at) < b.radiusMm + world.objects[k].radiusMm - kTolerance) {
        return WorldProblem{at, name + " lies inside objects[" + std::to_string(k) + "]; move one of them"};
      }
    }
  }
  return std::nullopt;
}

}  // namespace kavel::sim
