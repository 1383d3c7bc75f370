#pragma once
// The sensor monitor's connector report, "CN1=vvvv,CN2=vvvv,...,CN10=vvvv" followed by five
// characters and one digit per LED, turned into what each panel shows. A pure function: the
// window and the console recorder both read the same result.

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "core/settings/ProductVariant.h"

namespace kavel {

struct ConnectorReading {
  int mode = 1;
  std::string raw;              // the raw-value panel: the four characters, or "" (emptied)
  std::string value;            // the value panel: "HIGH", " 34cm", " 50%", " 25℃", "--"
  std::optional<int> bar;       // new progress bar position (0..100); none: leave it
  std::optional<bool> high;     // outputs: HIGH (true) or LOW (false); none for other modes
  std::optional<int> number;    // the value as a number: 1/0 for outputs, else the shown
                                // number; none for the thermistor's "--"
  bool switchRedLed = false;    // the output button's red LED picture follows `high`
};

struct MonitorReport {
  std::array<ConnectorReading, 10> cn;
  std::optional<bool> ledGreen;  // none when the line ends before its digit
  std::optional<bool> ledRed1;
  std::optional<bool> ledRed2;   // only when the line is longer than 97 characters
};

/// Shortest report line read; shorter ones are ignored.
inline constexpr std::size_t kMinReportLength = 90;

/// Where connector `n` (1..10) keeps its four value characters (1-based): 5, 14, ... 77, 87.
std::size_t reportValuePosition(int n);

/// Reads a connector report with the connectors in `modes` (CN1 first) on `variant`'s board.
/// None when the line is shorter than 90 characters. Values that are not numbers read as 0.
std::optional<MonitorReport> parseConnectorReport(std::string_view line, const std::array<int, 10>& modes,
                                                  ProductVariant variant);

/// The value panel and bar of one connector in `mode` reading `v`, as the report shows it.
ConnectorReading readConnector(int mode, int v);

}  // namespace kavel
