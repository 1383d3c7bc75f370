#include "core/editor/CodeEditing.h"

namespace kavel {

int tabSpaces(int column, int tabWidth) {
  if (tabWidth < 1) tabWidth = 1;
  if (column < 0) column = 0;
  return tabWidth - ((column + 1) % tabWidth) + 1;
}

std::string leadingSpaces(std::string_view line) {
  std::size_t n = 0;
  while (n < line.size() && line[n] == ' ') ++n;
  return std::string(n, ' ');
}

}  // namespace kavel
