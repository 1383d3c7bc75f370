#pragma once
// The program file (".Kvl"): one line per row in fixed columns, preceded by a title line, the
// connector names and the setup line of the program set. Files of versions before 20140707 are
// converted on reading.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "core/model/Program.h"

namespace kavel {

struct AppSettings;
struct IoSetup;
struct SetupRecord;
class MessageTable;

/// The records a program file reads and writes besides the rows.
struct ProgramFileContext {
  AppSettings& settings;
  IoSetup& io;
  SetupRecord& setup;
  const MessageTable& messages;
  std::string mainWindowTitle;  // written into the title line
};

/// What the reader needs from the windows. Every hook may be left empty.
struct ProgramFileHooks {
  /// A warning that the file was made for another product (shown titled "Warning").
  std::function<void(const std::string& text)> productWarning;
  /// The old-version question (title, text); true when answered Yes. Empty means Yes.
  std::function<bool(const std::string& title, const std::string& text)> askOldVersion;
  /// Lets the window redraw while a long file loads.
  std::function<void()> processEvents;
  /// Shows (and ticks) or hides (and unticks) the main window's Setup button.
  std::function<void(bool visible)> setSetupButton;
  /// Shows or hides the LCD palette button.
  std::function<void(bool visible)> setLcdButton;
  /// Called with the old rows just before they are deleted (Sub windows of SubCall rows close).
  std::function<void(Program& program)> beforeClear;
};

/// Larger files are not program files: a program file of 1000 rows of long comments stays far
/// below this.
inline constexpr std::size_t kMaxProgramFileBytes = 8u << 20;

struct ProgramFileResult {
  bool ok = false;
  /// Why reading failed or stopped early (the file does not open, a numeric column does not
  /// convert), for a message box.
  std::string error;
};

/// Writes the program's rows to `path` (atomically). Sets the program's status text, title
/// name and path; on failure the status text is "Can't Save ... " followed by the path, and
/// `error` (when given) names the path and the reason.
bool writeProgramFile(Program& program, const std::string& path, const ProgramFileContext& context,
                      std::string* error = nullptr);

/// The whole file text `writeProgramFile` writes, as UTF-8 (for tests and the console tool).
std::string programFileText(const Program& program, const ProgramFileContext& context);

/// Replaces the program's rows with the rows of the file at `path` (".Kvl" is appended when it
/// has no extension). A file that cannot be opened leaves the program untouched with the status
/// text "Can't Open ... " and the path. Only the first 1000 row lines become rows.
ProgramFileResult readProgramFile(Program& program, const std::string& path, ProgramFileContext& context,
                                  const ProgramFileHooks& hooks = {});

/// Reads program file bytes as readProgramFile reads the file's, as if they came from `path`
/// (the program's path, title and status then name it): restores a program kept elsewhere.
ProgramFileResult readProgramText(Program& program, std::string_view bytes, const std::string& path,
                                  ProgramFileContext& context, const ProgramFileHooks& hooks = {});

}  // namespace kavel
