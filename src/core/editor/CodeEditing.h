#pragma once
// Typing rules of the C-code editor.

#include <string>
#include <string_view>

namespace kavel {

/// How many spaces the Tab key inserts with the caret in column `column` (from 0) and a tab
/// width of `tabWidth`: tabWidth - ((column + 1) mod tabWidth) + 1. A tab width below 1 (a
/// damaged settings file) counts as 1.
int tabSpaces(int column, int tabWidth);

/// The leading spaces of `line`, which the Enter key repeats on the new line.
std::string leadingSpaces(std::string_view line);

}  // namespace kavel
