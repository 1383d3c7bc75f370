#include "core/shell/ShellTexts.h"

#include <algorithm>

#include "core/text/Format.h"

namespace kavel {

std::string closeQuestionText(const std::string& programTitle, const std::string& message41, int language) {
  const std::string yes = language == 0 ? "\u300c\u306f\u3044\u300d" : "\"Yes\"";
  std::string text = message41;
  const std::size_t at = text.find(yes);
  if (at != std::string::npos) {
    // The space that separated the sentences is not wanted at the start of the new line.
    std::size_t cut = at;
    while (cut > 0 && text[cut - 1] == ' ') --cut;
    text = text.substr(0, cut) + "\n" + text.substr(at);
  }
  return programTitle + text;
}

std::string rowPositionText(int selectedRow, int rowCount) {
  return text::format("P:%d/%d", std::clamp(selectedRow, 0, std::max(rowCount, 0)), rowCount);
}

}  // namespace kavel
