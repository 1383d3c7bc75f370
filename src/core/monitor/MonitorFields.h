#pragma once
// Reading the fixed-position fields of the board's monitor lines. Positions are counted from 1,
// the way the board's firmware documents its lines.

#include <string_view>

namespace kavel {

/// The `count` characters of `line` from position `pos` (1-based); shorter or empty when the
/// line ends before.
std::string_view fieldAt(std::string_view line, std::size_t pos, std::size_t count);

/// The integer a field holds: an optional sign and decimal digits filling the whole field,
/// leading spaces allowed. Anything else (empty, letters, a digit too many for an int) gives
/// `fallback`.
int fieldValue(std::string_view field, int fallback);

}  // namespace kavel
