#include "core/monitor/MonitorReport.h"

#include <algorithm>

#include "core/monitor/MonitorConnectorLook.h"
#include "core/monitor/MonitorFields.h"
#include "core/text/Format.h"

namespace kavel {
namespace {

constexpr std::size_t kLedPosition = 96;  // green, then red 1, then red 2

std::optional<bool> ledAt(std::string_view line, std::size_t pos) {
  const std::string_view digit = fieldAt(line, pos, 1);
  if (digit.empty()) return std::nullopt;
  return digit != "0";
}

}  // namespace

std::size_t reportValuePosition(int n) {
  // CN10's label is one character longer than the others.
  return n <= 9 ? 5 + 9 * static_cast<std::size_t>(n - 1) : 87;
}

ConnectorReading readConnector(int mode, int v) {
  ConnectorReading r;
  r.mode = mode;
  int d = 0;
  switch (mode) {
    case 0:
    case 2: {
      const bool high = v / 10 >= 50;
      r.high = high;
      r.value = high ? "HIGH" : "LOW";
      r.number = high ? 1 : 0;
      return r;
    }
    case 3:
      d = v / 10;
      r.value = text::format("%3dcm", d);
      break;
    case 4:
      d = v <= 0 ? v : (v - 500) / 20;
      r.value = text::format("%3d%%", d);
      break;
    case 6:
      d = v / 10;
      if (d >= 150) {
        r.value = "--";
        return r;
      }
      r.value = text::format("%3d\u2103", d);
      break;
    default:
      d = (v * 1000 / 1023 + 5) / 10;
      r.value = text::format("%3d%%", d);
      break;
  }
  r.number = d;
  r.bar = std::clamp(d, 0, 100);
  return r;
}

std::optional<MonitorReport> parseConnectorReport(std::string_view line, const std::array<int, 10>& modes,
                                                  ProductVariant variant) {
  if (line.size() < kMinReportLength) return std::nullopt;
  MonitorReport report;
  for (int n = 1; n <= 10; ++n) {
    const std::string_view field = fieldAt(line, reportValuePosition(n), 4);
    // Values are at most four digits, so the arithmetic below cannot overflow.
    ConnectorReading r = readConnector(modes[static_cast<std::size_t>(n - 1)], fieldValue(field, 0));
    if (r.value != "--") r.raw = std::string(field);
    r.switchRedLed = r.high.has_value() && monitorConnectorLook(r.mode, n, variant).redLedButton;
    report.cn[static_cast<std::size_t>(n - 1)] = std::move(r);
  }
  report.ledGreen = ledAt(line, kLedPosition);
  report.ledRed1 = ledAt(line, kLedPosition + 1);
  if (line.size() > kLedPosition + 1) report.ledRed2 = ledAt(line, kLedPosition + 2);
  return report;
}

}  // namespace kavel
