#pragma once
// The ultrasonic monitor's reading of a "U:" line: four distances in millimetres, each shown
// in millimetres, in centimetres and as a bar where 3000 mm fills it.

#include <array>
#include <string>
#include <string_view>

namespace kavel {

struct UltrasonicReading {
  int millimetres = 0;     // the field's value, 0 when it is not a number
  std::string mmText;      // "%04d", empty for a value of 0 or less
  std::string cmText;      // "%3dcm" with mm / 10, empty for a value of 0 or less
  int bar = 0;             // mm / 30, kept within the bar's 0..100
  bool operator==(const UltrasonicReading&) const = default;
};

/// Sensors 1 to 4 of a line "U:" + four fields of four digits, one separator between them
/// (positions 3-6, 8-11, 13-16, 18-21).
std::array<UltrasonicReading, 4> readUltrasonicLine(std::string_view line);

}  // namespace kavel
