#include "core/monitor/ModuleField.h"

namespace kavel {

int moduleField(std::string_view line, int position, int length, int fallback) {
  if (position < 1 || length < 1 || length > 9 || static_cast<std::size_t>(position) > line.size()) return fallback;
  std::string_view field = line.substr(static_cast<std::size_t>(position - 1), static_cast<std::size_t>(length));
  std::size_t i = 0;
  while (i < field.size() && field[i] == ' ') ++i;
  bool negative = false;
  if (i < field.size() && (field[i] == '-' || field[i] == '+')) negative = field[i++] == '-';
  if (i == field.size()) return fallback;
  int value = 0;
  for (; i < field.size(); ++i) {
    if (field[i] < '0' || field[i] > '9') return fallback;
    value = value * 10 + (field[i] - '0');  // nine digits at most: no overflow
  }
  return negative ? -value : value;
}

}  // namespace kavel
