#pragma once
// Everything the program's process needs to know about one run, handed to it as a file in the
// run's folder: the world, the robot's wiring, when the run ends and the compiled program.

#include <cstdint>
#include <string>
#include <string_view>

#include "sim/RobotConfig.h"
#include "sim/World.h"

namespace kavel::sim {

struct RunSpec {
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

inline constexpr const char* kRunSpecFile = "run.json";

std::string runSpecToJson(const RunSpec& spec);

/// False with `error` set when `text` is no run file of this build.
bool parseRunSpec(std::string_view text, RunSpec& spec, std::string& error);

}  // namespace kavel::sim
