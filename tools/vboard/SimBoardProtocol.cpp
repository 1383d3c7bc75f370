#include "SimBoardProtocol.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace vboard {
namespace {

std::string format4(const char* f, int a, int b = 0, int c = 0, int d = 0, int e = 0) {
  char buf[64];
  std::snprintf(buf, sizeof buf, f, a, b, c, d, e);
  return buf;
}

int fourDigits(int v) { return std::clamp(v, 0, 9999); }

}  // namespace

std::string sensorReport(const kavel::sim::SimSnapshot& s, const kavel::sim::RobotConfig& config) {
  std::string line;
  for (std::size_t i = 0; i < 10; ++i) {
    const int mode = config.modes[i];
    const int v = mode == 0 || mode == 2 ? (s.cn[i] ? 1000 : 0) : s.cn[i];
    line += format4(i == 0 ? "CN%d=%04d" : ",CN%d=%04d", static_cast<int>(i) + 1, fourDigits(v));
  }
  return line + format4(",LED=%d%d%d", s.leds[0], s.leds[1], s.leds[2]);
}

std::string compassLine(const kavel::sim::SimSnapshot& s, const kavel::sim::RobotConfig& config) {
  const int heading = static_cast<int>(std::lround(s.heading)) % 360;
  return format4("D:%03d,%03d,%03d", heading, config.useBno ? 180 : 90, 90);
}

std::string ultrasonicLine(const kavel::sim::SimSnapshot& s) {
  return format4("U:%04d,%04d,%04d,%04d", fourDigits(s.uss[0]), fourDigits(s.uss[1]), fourDigits(s.uss[2]),
                 fourDigits(s.uss[3]));
}

std::string cameraLine(const kavel::sim::SimSnapshot& s) {
  std::string line = "#Pixy:";
  for (const kavel::sim::CameraBlock& b : s.camera) {
    line += format4("%03d,%03d,%03d,%03d,%03d ", b.signature, b.x, b.y, std::min(b.width, 999), std::min(b.height, 999));
  }
  return line;
}

}  // namespace vboard
