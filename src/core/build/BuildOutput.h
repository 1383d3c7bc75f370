#pragma once
// The compiler output of a build (err.txt) as the error pane shows it. The file comes from a
// tool chain we do not control: it may be huge or hold bytes that are not text.

#include <cstddef>
#include <string>

namespace kavel {

/// At most this much of err.txt is shown; the rest is named by its size.
inline constexpr std::size_t kBuildOutputShown = 1024 * 1024;

struct BuildOutput {
  std::string text;        // UTF-8, lines ended by "\n"
  bool complete = true;    // false when the file was longer than what `text` shows
  bool readable = true;    // false when the file could not be opened
};

/// Reads the first `limit` bytes of `path`. Valid UTF-8 stays as it is, other text is taken as
/// CP932; CR LF and lone CR end lines; control characters other than tab become "?". A cut
/// file ends with a line naming how many bytes were left out.
BuildOutput readBuildOutput(const std::string& path, std::size_t limit = kBuildOutputShown);

}  // namespace kavel
