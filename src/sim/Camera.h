#pragma once
// The colour camera: which objects with a colour signature it sees, as blocks in its 320 x 200
// picture (centre, width and height in pixels), largest first, and the 3 x 3 areas of the
// picture the programs test.

#include <vector>

#include "sim/Physics.h"
#include "sim/World.h"

namespace kavel::sim {

struct CameraBlock {
  int signature = 0;
  int x = 0, y = 0;          // centre, 0..319 and 0..199 (y down)
  int width = 0, height = 0;
  bool operator==(const CameraBlock&) const = default;
};

/// What the camera at the front of the robot sees: objects within its angle of view and the
/// distance sensors' range, not hidden behind a wall, a ball or another object; at most seven.
std::vector<CameraBlock> cameraBlocks(const World& world, const Physics& physics);

/// The area bit of a block's centre: 0x001, 0x002, 0x004 in the top row (left to right),
/// 0x010.. in the middle row, 0x100.. in the bottom row.
unsigned cameraCellOf(const CameraBlock& block);

}  // namespace kavel::sim
