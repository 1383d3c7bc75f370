#pragma once
// Reading the fixed-position number fields of the module lines ("U:", "D:", "#Pixy:").

#include <string_view>

namespace kavel {

/// The integer in the `length` characters of `line` that start at `position` (counted from 1),
/// or `fallback` when they are not a number: leading spaces and one sign are allowed, anything
/// else after the digits is not. A field cut short by the line's end is read as far as it goes;
/// a field that starts beyond the end, or a length outside 1..9, is not a number.
int moduleField(std::string_view line, int position, int length, int fallback);

}  // namespace kavel
