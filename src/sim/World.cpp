#include "sim/World.h"

namespace kavel::sim {

World defaultWorld() { return World{}; }

std::vector<Wall> solidWalls(const World& world) {
  std::vector<Wall> walls = world.walls;
  if (world.borderWalls) {
    const double w = world.widthMm, h = world.heightMm;
    walls.push_back({{0, 0}, {w, 0}});
    walls.push_back({{w, 0}, {w, h}});
    walls.push_back({{w, h}, {0, h}});
    walls.push_back({{0, h}, {0, 0}});
  }
  return walls;
}

}  // namespace kavel::sim
