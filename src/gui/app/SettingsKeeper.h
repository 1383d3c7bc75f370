#pragma once
// Keeps the settings file in step with the settings: after every command the main window asks
// whether something that the file holds has changed (a language, a port, a folder, a mode,
// the connector names), and writes the whole file at once when it has, so a crash or a power
// cut later loses no choice. The file is written atomically by SaveSettings.

#include <array>
#include <string>

#include "core/Context.h"

namespace kavel::gui {

class SettingsKeeper {
 public:
  /// The settings in `ctx` are what the file at `iniPath` holds (as just read, or the defaults
  /// of a file that does not exist yet). An empty path keeps nothing.
  SettingsKeeper(const Context& ctx, std::string iniPath);

  /// Whether something the file holds differs from what was last read or written.
  bool changed() const;
  /// Writes the file when changed(); true when the file holds the settings afterwards (also
  /// when nothing had to be written, or there is no file to keep). False with `error` set to a
  /// sentence naming the file and the reason; the next call tries again.
  bool keepIfChanged(std::string* error);
  /// Writes the file whether or not something changed; false with `error` as above.
  bool saveNow(std::string* error);

 private:
  void remember();

  const Context& ctx_;
  std::string iniPath_;
  AppSettings saved_;
  std::array<std::string, 10> names_{};
  std::array<int, 10> modes_{};
};

}  // namespace kavel::gui
