#pragma once
// World files: JSON in millimetres (the format of World.h), read with every mistake named by
// file and line, and written back in the same format.

#include <string>
#include <string_view>

#include "sim/World.h"

namespace kavel::sim {

struct WorldReadResult {
  bool ok = false;
  World world;
  /// "FILE:LINE: what is wrong" (a syntax error also names the column); for a file that cannot
  /// be read, the path and the reason.
  std::string error;
};

/// Reads the world file at `path` (guarded like every file we read: regular files of a sane
/// size only), then checks that the robot and the balls start where they can.
WorldReadResult readWorldFile(const std::string& path);

/// The same for a document already in memory; `name` stands for the file in messages.
WorldReadResult parseWorld(std::string_view text, const std::string& name);

/// `world` as a world file (every value written, so it reads back equal).
std::string worldToJson(const World& world);

}  // namespace kavel::sim
