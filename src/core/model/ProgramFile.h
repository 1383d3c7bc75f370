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

/// How a read ended.
enum class ProgramFileOutcome {
  Read,        // every line of the file was read
  CannotOpen,  // the file does not open; the program is untouched ("Can't Open ... ")
  NotProgram,  // empty, binary, UTF-16, too large or no "Title:" line; the program is untouched
  Damaged,     // a line did not read: the rows before it are in the program, marked modified
  Declined,    // the old-version question was answered No; the program holds no rows
};

struct ProgramFileResult {
  /// True when the file was read whole.
  bool ok = false;
  ProgramFileOutcome outcome = ProgramFileOutcome::CannotOpen;
  /// The line (from 1) a damaged file stopped at.
  std::size_t stoppedAt = 0;
  /// Why the file was not read whole: sentences naming the file, the line and the reason, for
  /// a message box or standard error. Empty when ok or declined.
  std::string error;
};

/// Writes the program's rows to `path` (atomically). Sets the program's status text, title
/// name and path; on failure the status text is "Can't Save ... " followed by the path, and
/// `error` (when given) names the path and the reason.
bool writeProgramFile(Program& program, const std::string& path, const ProgramFileContext& context,
                      std::string* error = nullptr);

/// The whole file text `writeProgramFile` writes, as UTF-8 (for tests and the console tool).
std::string programFileText(const Program& program, const ProgramFileContext& context);

/// The file `path` names: `path`.Kvl for a path without an extension, or `path` itself when
/// only that exists.
std::string programFilePath(const std::string& path);

/// Replaces the program's rows with the rows of the file at `path`. A path without an extension
/// names `path`.Kvl, or the file given when only that exists. A file that cannot be opened, or
/// is no program file at all, leaves the program untouched (status text "Can't Open ... " and
/// the path). Line ends may be CR LF, LF or CR. A line that does not read completely (a row cut
/// short, a column that is not a number, a line longer than 511 bytes, a row beyond the 1000 a
/// program holds, bytes that are no text) stops the read there: the rows before it stay and the
/// program is marked modified, since it is no longer what the file holds.
ProgramFileResult readProgramFile(Program& program, const std::string& path, ProgramFileContext& context,
                                  const ProgramFileHooks& hooks = {});

/// Reads program file bytes as readProgramFile reads the file's, as if they came from `path`
/// (the program's path, title and status then name it): restores a program kept elsewhere.
ProgramFileResult readProgramText(Program& program, std::string_view bytes, const std::string& path,
                                  ProgramFileContext& context, const ProgramFileHooks& hooks = {});

}  // namespace kavel
