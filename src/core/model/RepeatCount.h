#pragma once
// The count of a for row: how many times its body runs.

#include <string_view>

namespace kavel {

inline constexpr int kRepeatCountMin = 0;
inline constexpr int kRepeatCountMax = 100;

int clampRepeatCount(int count);

/// The count typed into the count field: a decimal integer, blanks around it allowed, limited
/// to 0..100 (numbers too long for an int count as the nearest limit); anything else is 0.
int repeatCountFromText(std::string_view text);

}  // namespace kavel
