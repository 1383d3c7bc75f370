#pragma once
// Everything the program's process needs to know about one run, handed to it as a file in the
// run's folder: the world, the robot's wiring, when the run ends and the compiled program.

#include <cstdint>
#include <string>
#include <string_view>

#include "sim/RobotConfig.h"
#include "sim/World.h"

namespace kavel::sim {

struct RunPlan {
  World world;
  RobotConfig robot;
  /// The run ends at this simulated time (microseconds); 0: only when the client stops it.
  std::int64_t endUs = 0;
  /// After user_main returns the board idles with its outputs as they are (a board on the
  /// desk) instead of ending the run.
  bool holdAfterMain = false;
  /// The compiled program (a shared library).
  std::string library;
};

inline constexpr const char* kRunPlanFile = "run.json";

std::string runPlanToJson(const RunPlan& plan);

/// False with `error` set when `text` is no run file of this build.
bool parseRunPlan(std::string_view text, RunPlan& plan, std::string& error);

}  // namespace kavel::sim
