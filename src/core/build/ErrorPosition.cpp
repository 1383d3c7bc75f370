#include "core/build/ErrorPosition.h"

#include <charconv>
#include <string_view>

#include "core/text/Format.h"

namespace kavel {

std::string caretPositionText(int line, int column) { return text::format("%6d:%3d", line, column); }

ErrorPosition errorPosition(const std::string& outputLine) {
  ErrorPosition result;
  constexpr std::string_view kFile = "User.c:";
  const std::size_t at = outputLine.find(kFile);
  if (outputLine.find("Error:") == std::string::npos || at == std::string::npos) return result;
  result.found = true;
  result.rest = outputLine.substr(at + kFile.size());
  std::string_view number = std::string_view(result.rest).substr(0, result.rest.find(':'));
  while (!number.empty() && number.front() == ' ') number.remove_prefix(1);
  if (!number.empty() && number.front() == '+') number.remove_prefix(1);
  int n = 0;
  const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), n);
  if (number.empty() || ec != std::errc() || end != number.data() + number.size()) n = 0;
  result.number = n;
  result.line = n > 0 ? n - 1 : 0;
  return result;
}

}  // namespace kavel
