#include "core/build/CSourceBuildPane.h"

#include <algorithm>

#include "core/text/Format.h"

namespace kavel {

std::vector<std::string> cSourceBuildPaneLines(std::string_view source, int tabSpaces) {
  const std::string tab(static_cast<std::size_t>(std::max(tabSpaces, 0)), ' ');
  std::vector<std::string> lines;
  std::string current;
  char previous = 0;
  for (const char c : source) {
    // CR ends a line; so does an LF that does not follow a CR (a file saved with LF ends).
    if (c == '\r' || (c == '\n' && previous != '\r')) {
      lines.push_back(text::format("%04d|", static_cast<int>(lines.size() + 1)) + current);
      current.clear();
    } else if (c == '\t') {
      current += tab;
    } else if (static_cast<unsigned char>(c) >= 32) {
      current += c;
    }
    previous = c;
  }
  return lines;
}

}  // namespace kavel
