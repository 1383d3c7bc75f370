#pragma once
// The board's configuration line ("CNio:" with one mode digit per connector, an optional
// "ID:n" and the option words of the modules fitted), and how it changes the I/O setup.

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "core/setup/IoSetup.h"

namespace kavel {

/// The option words a configuration line may carry, in the order of `MonitorConfig::options`.
enum class BoardOption {
  Mcb, Dir, Hmc, Bno, Clf, Cls, Uss, Lcd, Wl102, Wl103, Wl109, Snx4410, Pixy,
};
inline constexpr std::size_t kBoardOptionCount = 13;

/// The word of an option as the board sends it ("USE_MCB" ...).
const char* boardOptionWord(BoardOption option);

struct MonitorConfig {
  std::array<int, 10> modes{};      // CN1..CN10, each 0..6
  bool subIoOn = false;
  int subIoId = 0;                  // 0..8
  std::array<bool, kBoardOptionCount> options{};  // words present in the line

  bool has(BoardOption option) const { return options[static_cast<std::size_t>(option)]; }
};

/// Reads a configuration line. None when it is 14 characters or shorter. Characters 6 to 15
/// give the modes (a non-digit or a digit above 6 gives 1); "ID:" followed by a digit 0..8
/// marks a sub I/O with that ID (any other character gives ID 0).
std::optional<MonitorConfig> parseConfigLine(std::string_view line);

/// Stores what the board said in the I/O setup the way the setup window stores it: the modes,
/// the sub I/O and its ID replace what was there, option flags are only ever set; the setup
/// record is encoded again and the connector in-use flags recomputed.
void applyMonitorConfig(const MonitorConfig& config, IoSetup& io, SetupRecord& record);

/// What a configuration line changed in the I/O setup, for the log and the status bar, in
/// `language` (0 Japanese, else English): each connector whose mode changed with its old and
/// new mode ("CN7 Input -> PING-In"), the sub I/O, and the option modules newly set. Empty
/// when nothing changed.
std::string configChangeText(const IoSetup& before, const IoSetup& after, int language);

}  // namespace kavel
