#pragma once
// Whether a world can be simulated as it stands: a robot or a ball that starts inside a wall,
// an object or outside the field is a mistake in the world file, never a collision to resolve.

#include <optional>
#include <string>
#include <vector>

#include "sim/JsonLocation.h"
#include "sim/World.h"

namespace kavel::sim {

struct WorldProblem {
  std::vector<JsonStep> path;  // the value at fault, for the line in a message
  std::string text;
};

/// The first placement problem of `world`, or none.
std::optional<WorldProblem> checkWorld(const World& world);

}  // namespace kavel::sim
