#pragma once
// What the 16 x 2 LCD shows for each of the firmware's LCD calls: every line exactly sixteen
// characters, cut or filled with spaces.

#include <array>
#include <string>

namespace kavel::sim {

inline constexpr std::size_t kLcdColumns = 16;

/// A fixed text; characters the display cannot show become spaces.
std::string lcdFixedText(const char* text);

/// Variables by letter and value: one "A:nnnnnn", two "A:nnnnn B:nnnnn", three "nnnn nnnn nnnn",
/// four "nnn nnn nnn nnn" (`count` 1..4).
std::string lcdVariables(int count, const std::array<int, 4>& letters, const std::array<int, 4>& values);

/// Four connector readings as percentages of full scale, "nnn nnn nnn nnn".
std::string lcdSensors(const std::array<int, 4>& readings);

}  // namespace kavel::sim
