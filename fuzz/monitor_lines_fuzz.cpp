// Monitor lines as a board might garble them: connector reports read with any connector
// modes, configuration lines stored in an I/O setup, balance replies, and the CSV row of every
// report. Nothing may crash, and every result must stay inside what the windows can show.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/monitor/MonitorConfig.h"
#include "core/monitor/MonitorCsv.h"
#include "core/monitor/MonitorReport.h"
#include "core/monitor/MotorBalance.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kavel;
  if (size < 11) return 0;
  std::array<int, 10> modes{};
  for (std::size_t i = 0; i < 10; ++i) modes[i] = static_cast<int>(data[i] % 9) - 1;  // -1..7
  const std::string_view line(reinterpret_cast<const char*>(data + 10), size - 10);

  if (const auto report = parseConnectorReport(line, modes, data[0] % 6)) {
    for (const ConnectorReading& r : report->cn) {
      if (r.bar && (*r.bar < 0 || *r.bar > 100)) __builtin_trap();
      if (r.raw.size() > 4 || r.value.size() > 8) __builtin_trap();
    }
    MonitorCsv csv;
    const std::string row = csv.row(*report, 0);
    std::size_t commas = 0;
    for (const char c : row) commas += c == ',';
    if (commas != 13 || row.back() != '\n') __builtin_trap();
  }

  if (const auto config = parseConfigLine(line)) {
    for (const int m : config->modes) {
      if (m < 0 || m > 6) __builtin_trap();
    }
    if (config->subIoId < 0 || config->subIoId > 8) __builtin_trap();
    IoSetup io;
    SetupRecord record;
    applyMonitorConfig(*config, io, record);
  }

  const BalanceReply b = parseBalanceReply(line);
  if (b.third < 1 || b.position < -kBalanceLimit || b.position > kBalanceLimit) __builtin_trap();
  return 0;
}
