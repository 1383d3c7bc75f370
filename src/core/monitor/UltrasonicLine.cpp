#include "core/monitor/UltrasonicLine.h"

#include <algorithm>

#include "core/monitor/ModuleField.h"
#include "core/text/Format.h"

namespace kavel {

std::array<UltrasonicReading, 4> readUltrasonicLine(std::string_view line) {
  std::array<UltrasonicReading, 4> out;
  for (int sensor = 0; sensor < 4; ++sensor) {
    UltrasonicReading& r = out[static_cast<std::size_t>(sensor)];
    r.millimetres = moduleField(line, 3 + 5 * sensor, 4, 0);
    if (r.millimetres <= 0) continue;
    r.mmText = text::format("%04d", r.millimetres);
    r.cmText = text::format("%3dcm", r.millimetres / 10);
    // A sensor may report beyond 3000 mm; a bar asked for more than its maximum would keep
    // its old length instead of showing full.
    r.bar = std::min(r.millimetres / 30, 100);
  }
  return out;
}

}  // namespace kavel
