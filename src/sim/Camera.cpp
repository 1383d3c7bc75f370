#include "sim/Camera.h"

#include <algorithm>
#include <cmath>

#include "sim/Geometry.h"
#include "sim/RobotModel.h"

namespace kavel::sim {

std::vector<CameraBlock> cameraBlocks(const World& world, const Physics& physics) {
  const double heading = physics.robotHeading();
  const Point camera = ahead(physics.robotAt(), heading, kBodyRadiusMm);
  const double fx = (kCameraWidth / 2.0) / std::tan(radians(kCameraHalfWidthDeg));
  const double fy = (kCameraHeight / 2.0) / std::tan(radians(kCameraHalfHeightDeg));
  std::vector<CameraBlock> blocks;
  for (const CameraObject& o : world.objects) {
    const double d = distance(camera, o.at);
    const double bearing = relativeBearing(camera, heading, o.at);
    const double z = d * std::cos(radians(bearing));  // straight ahead of the lens
    const double u = d * std::sin(radians(bearing));  // to the right
    if (z <= o.radiusMm || d - o.radiusMm > kDistanceRangeMm) continue;
    // Hidden when something lies between the lens and the object's near side.
    if (physics.rayDistance(camera, normalHeading(heading + bearing), d) < d - o.radiusMm - 2.0) continue;
    const double left = kCameraWidth / 2.0 + fx * (u - o.radiusMm) / z;
    const double right = kCameraWidth / 2.0 + fx * (u + o.radiusMm) / z;
    const double top = kCameraHeight / 2.0 - fy * (2 * o.radiusMm - kCameraHeightMm) / z;
    const double bottom = kCameraHeight / 2.0 + fy * kCameraHeightMm / z;
    const double l = std::max(left, 0.0), r = std::min(right, kCameraWidth - 1.0);
    const double t = std::max(top, 0.0), b = std::min(bottom, kCameraHeight - 1.0);
    if (r - l < 1 || b - t < 1) continue;
    CameraBlock block;
    block.signature = o.signature;
    block.x = static_cast<int>(std::lround((l + r) / 2));
    block.y = static_cast<int>(std::lround((t + b) / 2));
    block.width = static_cast<int>(std::lround(r - l));
    block.height = static_cast<int>(std::lround(b - t));
    blocks.push_back(block);
  }
  std::stable_sort(blocks.begin(), blocks.end(), [](const CameraBlock& a, const CameraBlock& b) {
    return a.width * a.height > b.width * b.height;
  });
  if (blocks.size() > static_cast<std::size_t>(kCameraMaxBlocks)) blocks.resize(kCameraMaxBlocks);
  return blocks;
}

unsigned cameraCellOf(const CameraBlock& block) {
  const int column = std::clamp(block.x * 3 / kCameraWidth, 0, 2);
  const int row = std::clamp(block.y * 3 / kCameraHeight, 0, 2);
  return 1u << (4 * row + column);
}

}  // namespace kavel::sim
