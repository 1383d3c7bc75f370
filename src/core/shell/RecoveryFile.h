#pragma once
// What the autosave keeps of one modified program window so that a crash or a killed session
// loses at most a minute of work: the program's text, the file it belongs to and which window
// held it. A file that is damaged or was written by another format version is recognised as
// such and never restored in part.

#include <string>
#include <string_view>

namespace kavel {

struct RecoveryFile {
  /// The format this version writes and restores.
  static constexpr int kFormatVersion = 1;

  enum class Content { Rows, CCode };

  int window = 0;                   // 0 Main, 1..30 Sub-N
  Content content = Content::Rows;  // statement rows or the C-code style's text
  std::string originalPath;         // the program's own file; empty for a program never saved
  std::string text;                 // the bytes the program's file would hold if saved now

  bool operator==(const RecoveryFile&) const = default;
};

struct RecoveryRead {
  enum class Verdict { Ok, Damaged, OtherVersion };
  Verdict verdict = Verdict::Damaged;
  /// Why the file is not Ok, in English, naming what is wrong (for logs and tests).
  std::string reason;
  /// The file's content; only meaningful when the verdict is Ok.
  RecoveryFile file;
};

/// The bytes of a recovery file: a header of named lines (format version, window, content,
/// original path, text length and check sum), a blank line, then the text unchanged.
std::string recoveryFileBytes(const RecoveryFile& file);

/// Reads recovery file bytes. Ok only when every header line is there and sane and the text
/// has exactly the recorded length and check sum; a file of another format version is
/// OtherVersion (its content is not trusted); anything else is Damaged.
RecoveryRead parseRecoveryFile(std::string_view bytes);

/// Reads the file at `path` (guarded like every reader of ours); a file that cannot be read is
/// Damaged with the reason.
RecoveryRead readRecoveryFile(const std::string& path);

/// Writes the file atomically: at every moment `path` holds the previous or the new complete
/// file. False with `error` on failure.
bool writeRecoveryFile(const std::string& path, const RecoveryFile& file, std::string* error = nullptr);

/// "Main" or "Sub-N", the window's name in lists.
std::string recoveryWindowName(int window);

}  // namespace kavel
