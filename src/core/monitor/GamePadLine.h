#pragma once
// The game-pad dialog's live monitor: the board's pad lines are shown as they arrive, whole,
// as the monitor button's caption.

#include <optional>
#include <string>
#include <string_view>

namespace kavel {

/// The monitor button's caption when it is up.
inline constexpr const char* kGamePadMonitorCaption = "Monitor";

/// The caption a received line gives the monitor button: the whole line when it carries the
/// pad marker "P:", else none (the caption stays).
inline std::optional<std::string> gamePadCaption(std::string_view line) {
  if (line.find("P:") == std::string_view::npos) return std::nullopt;
  return std::string(line);
}

}  // namespace kavel
