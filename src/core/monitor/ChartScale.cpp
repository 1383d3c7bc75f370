#include "core/monitor/ChartScale.h"

#include <algorithm>
#include <cmath>

namespace kavel {

namespace {

double niceStep(double span, int ticks) {
  const double raw = span / std::max(ticks, 1);
  const double power = std::pow(10.0, std::floor(std::log10(raw)));
  const double f = raw / power;
  const double nice = f <= 1 ? 1 : f <= 2 ? 2 : f <= 5 ? 5 : 10;
  return nice * power;
}

}  // namespace

ChartUnit chartUnit(MonitorValueKind kind) {
  switch (kind) {
    case MonitorValueKind::HighLow: return {"", 0, 1};
    case MonitorValueKind::Distance: return {"cm", 0, 0};
    case MonitorValueKind::Temperature: return {"\u2103", 0, 0};
    case MonitorValueKind::Percent:
    case MonitorValueKind::ServoPercent: break;
  }
  return {"%", 0, 100};
}

ChartAxis chartAxis(double low, double high, int ticks) {
  if (!std::isfinite(low) || !std::isfinite(high)) return {};
  if (low > high) std::swap(low, high);
  ChartAxis a;
  if (low == high) {
    a.step = niceStep(std::max(std::fabs(low), 1.0), ticks);
    a.low = std::floor(low / a.step) * a.step - a.step;
    a.high = std::ceil(high / a.step) * a.step + a.step;
    return a;
  }
  a.step = niceStep(high - low, ticks);
  a.low = std::floor(low / a.step) * a.step;
  a.high = std::ceil(high / a.step) * a.step;
  return a;
}

}  // namespace kavel
