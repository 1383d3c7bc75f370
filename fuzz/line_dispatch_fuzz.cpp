// Board bytes through the line assembly and the dispatcher, in every link state the first
// bytes select. Nothing a board sends may crash the link or grow a line past its limit.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/comm/LineAssembler.h"
#include "core/comm/LineDispatcher.h"
#include "core/comm/LinkState.h"
#include "core/settings/AppSettings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kavel;
  if (size < 3) return 0;
  const uint8_t mode = data[0], listeners = data[1], timing = data[2];
  LinkState state;
  static constexpr int kStates[] = {0, 1, 2, 3, 9};
  state.downloadState = kStates[mode % 5];
  state.downloadVisible = mode & 0x08;
  state.downloadStartEnabled = mode & 0x10;
  state.ProbeMode = mode & 0x20;
  state.binaryView = mode & 0x40;
  state.sensorMonitorListening = listeners & 0x01;
  state.compassListening = listeners & 0x02;
  state.ussListening = listeners & 0x04;
  state.pixyListening = listeners & 0x08;
  state.gamePadMonitor = listeners & 0x10;
  state.motorBalanceListening = listeners & 0x20;
  AppSettings settings;
  settings.variant = listeners >> 6;
  settings.MCU2620_ = (mode >> 7) & 1;

  LineAssembler assembler(timing % 5, 100);
  LineAssembler::Sinks sinks;
  sinks.line = [&](const std::string& line) {
    if (line.size() > LineAssembler::kLineLimit + 1) __builtin_trap();
    applyRoute(LineDispatcher(line, state, settings.variant, settings.MCU2620_), state, settings);
  };
  sinks.answerUpdate = [] {};
  assembler.start(0);
  // Feed in pieces of varying size with varying gaps, so the idle cut runs between them.
  const std::string_view bytes(reinterpret_cast<const char*>(data + 3), size - 3);
  Millis now = 0;
  std::size_t pos = 0;
  unsigned piece = 1 + timing % 64;
  while (pos < bytes.size()) {
    const std::size_t n = std::min<std::size_t>(piece, bytes.size() - pos);
    assembler.feed(bytes.substr(pos, n), now, state, sinks);
    now += (bytes[pos] & 0x3F) * 4;
    assembler.tick(now, sinks);
    pos += n;
    piece = 1 + (piece * 7 + 3) % 97;
  }
  assembler.tick(now + 1000, sinks);
  return 0;
}
