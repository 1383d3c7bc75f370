#include "sim/TraceCsv.h"

#include <cmath>
#include <cstdlib>

#include "core/text/Format.h"

namespace kavel::sim {
namespace {

// Rounded through whole tenths so that no "-0.0" and no 360.0 can appear.
std::string tenths(long long t) {
  return text::format("%s%lld.%lld", t < 0 ? "-" : "", std::llabs(t) / 10, std::llabs(t) % 10);
}

}  // namespace

std::string traceLine(const SimSnapshot& s) {
  long long heading = std::llround(s.heading * 10.0) % 3600;
  if (heading < 0) heading += 3600;
  std::string line = text::format("%lld,", static_cast<long long>(s.timeUs / 1000)) + tenths(std::llround(s.x * 10.0)) +
                     "," + tenths(std::llround(s.y * 10.0)) + "," + tenths(heading) +
                     text::format(",%d,%d", s.motorLeft, s.motorRight);
  for (int v : s.cn) line += text::format(",%d", v);
  line += text::format(",%d,%d,%d", s.leds[0] ? 1 : 0, s.leds[1] ? 1 : 0, s.leds[2] ? 1 : 0);
  return line;
}

}  // namespace kavel::sim
