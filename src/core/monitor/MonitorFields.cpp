#include "core/monitor/MonitorFields.h"

#include <charconv>

namespace kavel {

std::string_view fieldAt(std::string_view line, std::size_t pos, std::size_t count) {
  if (pos < 1 || pos > line.size()) return {};
  return line.substr(pos - 1, count);
}

int fieldValue(std::string_view field, int fallback) {
  while (!field.empty() && field.front() == ' ') field.remove_prefix(1);
  if (!field.empty() && field.front() == '+') {
    field.remove_prefix(1);
    if (!field.empty() && field.front() == '-') return fallback;
  }
  if (field.empty()) return fallback;
  int value = 0;
  const auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), value);
  if (ec != std::errc{} || end != field.data() + field.size()) return fallback;
  return value;
}

}  // namespace kavel
