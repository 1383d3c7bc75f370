#pragma once
// Generated C text as a list of lines for one of its three destinations. Lines for the build
// window and the code view carry a line-number prefix ("%03d|" with the line's position) and the
// indentation, so the line a compiler message names can be found by eye; lines for the C source
// editor are the bare text.

#include <string>
#include <string_view>
#include <vector>

namespace kavel {

/// Which program row produced a generated line: the program (0 Main, 1..30 Sub-N) and the row
/// index from 0; both -1 for the lines around the rows (headers, declarations, braces).
struct LineOrigin {
  int program = -1;
  int row = -1;
  bool operator==(const LineOrigin&) const = default;
};

enum class CodeTarget {
  BuildBuffer,    // the build window's pane; written out as User.c / M_Type.h
  CodeView,       // the read-only code pane beside a program window
  CSourceEditor,  // the text of a program kept as C source
};

class CodeBuffer {
 public:
  explicit CodeBuffer(CodeTarget target = CodeTarget::BuildBuffer) : target_(target) {}

  CodeTarget target() const { return target_; }
  const std::vector<std::string>& lines() const { return lines_; }
  /// The origin of every line, in step with lines().
  const std::vector<LineOrigin>& origins() const { return origins_; }
  void clear() {
    lines_.clear();
    origins_.clear();
  }
  /// The lines emitted from now on come from row `row` of program `program` (-1, -1: from none).
  void setOrigin(int program, int row) { origin_ = LineOrigin{program, row}; }

  /// Appends one line. Build buffer and code view: "%03d|" with the line's 1-based position
  /// (four digits from line 1000 on), then `indent` × `tabSpaces` spaces, then `text`. C source
  /// editor: `text` alone. A negative indent or step counts as 0, a step above kMaxTabSpaces
  /// as kMaxTabSpaces.
  void EmitLine(int indent, std::string_view text, int tabSpaces);

  static constexpr int kMaxTabSpaces = 32;

  /// The lines joined with "\n" (for display and tests).
  std::string joined() const;

 private:
  CodeTarget target_;
  std::vector<std::string> lines_;
  std::vector<LineOrigin> origins_;
  LineOrigin origin_;
};

/// A buffer line as it goes into a file: the part after the first "|" when that "|" is at
/// position 1 to 6 (a line-number prefix), otherwise the whole line.
std::string_view withoutLinePrefix(std::string_view line);

/// The bytes of a generated file: every line without its prefix followed by CR LF (the last one
/// included), in CP932 unless some character does not fit (then UTF-8). A line whose last
/// character's second CP932 byte is 0x5C (a backslash to the compiler) gets an ideographic space
/// after it, so the line end is not a line continuation.
std::string generatedFileBytes(const std::vector<std::string>& lines);

}  // namespace kavel
