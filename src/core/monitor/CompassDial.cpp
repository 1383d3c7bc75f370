#include "core/monitor/CompassDial.h"

#include <cmath>

namespace kavel {

DialPoint dialPoint(int degree, double radius, int cx, int cy) {
  const double theta = degree * 3.14159 / 180;
  DialPoint p;
  p.x = cx + static_cast<int>(std::lround(std::sin(theta) * radius));
  // With this value of pi the cosine of 90 degrees is not quite 0; the needle pointing east
  // must be exactly level.
  p.y = degree == 90 ? cy : cy - static_cast<int>(std::lround(std::cos(theta) * radius));
  return p;
}

std::vector<DialTick> dialScale(int cx, int cy) {
  std::vector<DialTick> ticks;
  for (int i = 0; i < 360; ++i) {
    if (i % 10 == 0) {
      DialTick t{i, dialPoint(i, 158, cx, cy), std::to_string(i), dialPoint(i, 170, cx, cy)};
      t.labelCentre.y -= 4;
      ticks.push_back(t);
    } else if (i % 5 == 0) {
      ticks.push_back({i, dialPoint(i, 153, cx, cy), {}, {}});
    }
  }
  return ticks;
}

}  // namespace kavel
