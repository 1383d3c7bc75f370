#include "sim/RobotConfig.h"

#include <algorithm>
#include <cctype>

namespace kavel::sim {

SensorKind sensorKindOf(const std::string& name) {
  std::string n;
  for (char c : name) n += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  const auto first = n.find_first_not_of(" \t");
  const auto last = n.find_last_not_of(" \t");
  n = first == std::string::npos ? std::string() : n.substr(first, last - first + 1);
  if (n == "line") return SensorKind::Line;
  if (n == "ball") return SensorKind::Ball;
  if (n == "l-touch") return SensorKind::LeftTouch;
  if (n == "r-touch") return SensorKind::RightTouch;
  if (n == "c-touch") return SensorKind::CentreTouch;
  return SensorKind::None;
}

RobotConfig robotConfigOf(const IoSetup& io) {
  RobotConfig c;
  c.modes = io.cnMode;
  c.names = io.cnName;
  for (std::size_t i = 0; i < 10; ++i) c.sensors[i] = sensorKindOf(c.names[i]);
  c.useUss = io.useUss;
  c.useDir = io.useDir;
  c.useHmc = io.useHmc;
  c.useBno = io.useBno;
  c.usePixy = io.usePixy;
  c.useSnx4410 = io.useSnx4410;
  c.useLcd = io.useLcd;
  c.useMcb = io.useMcb;
  c.subIoOn = io.subIoOn;
  c.subIoId = io.subIoId;
  return c;
}

std::string configLineOf(const RobotConfig& c) {
  std::string line = "CNio:";
  for (int m : c.modes) line += static_cast<char>('0' + (m >= 0 && m <= 9 ? m : 1));
  if (c.subIoOn) line += " ID:" + std::to_string(std::clamp(c.subIoId, 0, 8));
  const std::pair<bool, const char*> words[] = {
      {c.useMcb, "USE_MCB"}, {c.useDir, "USE_DIR"}, {c.useHmc, "USE_HMC"}, {c.useBno, "USE_BNO"},
      {c.useUss, "USE_USS"}, {c.useLcd, "USE_LCD"}, {c.usePixy, "USE_PIXY"}, {c.useSnx4410, "USE_SNX4410"}};
  for (const auto& [on, word] : words) {
    if (on) line += std::string(" ") + word;
  }
  return line;
}

}  // namespace kavel::sim
