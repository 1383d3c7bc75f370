#pragma once
// The y axis of the sensor monitor's live chart: a range that holds what is drawn, with tick
// steps a reader can take in at a glance (1, 2 or 5 times a power of ten).

#include "core/monitor/MonitorConnectorLook.h"

namespace kavel {

/// How a connector's numbers are charted: the unit named in the legend ("" for HIGH/LOW, drawn
/// as 1 and 0) and the range the axis always holds for it, so a percentage is seen against its
/// whole scale and a distance or temperature against zero.
struct ChartUnit {
  const char* unit;
  double low;
  double high;
};
ChartUnit chartUnit(MonitorValueKind kind);

struct ChartAxis {
  double low = 0;
  double high = 1;
  double step = 1;  // distance between two ticks
};

/// An axis from at most `low` to at least `high` with about `ticks` steps, its ends on whole
/// steps. A flat range (`low` == `high`) gets one step of room on each side.
ChartAxis chartAxis(double low, double high, int ticks = 5);

}  // namespace kavel
