#pragma once
// The recorded form of the sensor reports, shared by `kavel monitor` and the monitor's Record
// button so a file from either reads the same: one header line, then one row per report with
// the numbers the value panels show.

#include <string>

#include "core/comm/Clock.h"
#include "core/monitor/MonitorReport.h"

namespace kavel {

class MonitorCsv {
 public:
  /// "time_ms,CN1,...,CN10,LED_G,LED_R1,LED_R2" and a line end.
  static std::string header();

  /// One row and a line end: milliseconds since the first row, then per connector 1/0 for an
  /// output, else the shown number (empty for the thermistor's "--"), then each LED 0/1
  /// (empty when the report carries no digit for it). The first call fixes time 0.
  std::string row(const MonitorReport& report, Millis now);

  /// Forget the first row's time: the next row starts at 0 again.
  void restart() { started_ = false; }

 private:
  bool started_ = false;
  Millis first_ = 0;
};

}  // namespace kavel
