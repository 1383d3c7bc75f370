#include "core/monitor/MonitorCsv.h"

namespace kavel {
namespace {

void field(std::string& out, const std::optional<int>& value) {
  out += ',';
  if (value) out += std::to_string(*value);
}

void led(std::string& out, const std::optional<bool>& lit) {
  out += ',';
  if (lit) out += *lit ? '1' : '0';
}

}  // namespace

std::string MonitorCsv::header() {
  return "time_ms,CN1,CN2,CN3,CN4,CN5,CN6,CN7,CN8,CN9,CN10,LED_G,LED_R1,LED_R2\n";
}

std::string MonitorCsv::row(const MonitorReport& report, Millis now) {
  if (!started_) {
    started_ = true;
    first_ = now;
  }
  std::string out = std::to_string(now - first_);
  for (const ConnectorReading& r : report.cn) field(out, r.number);
  led(out, report.ledGreen);
  led(out, report.ledRed1);
  led(out, report.ledRed2);
  out += '\n';
  return out;
}

}  // namespace kavel
