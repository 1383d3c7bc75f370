#pragma once
// The LCD statement: one line of the 16x2 display, a text or a layout of variables or
// connector inputs.

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace kavel {

inline constexpr int kLcdFormats = 6;
inline constexpr int kLcdTextMax = 16;  // characters on a display line
inline constexpr int kLcdFirstConnector = 27;
inline constexpr int kLcdLastItem = 36;

/// Data items: 0 none ("---"), 1..26 variables A..Z, 27..36 inputs of CN1..CN10.
struct LcdLine {
  int line = 0;    // 0 first, 1 second
  int format = 0;  // 0 "Text" .. 5 "CNx CNx CNx CNx"
  std::array<int, 4> data{};
  bool operator==(const LcdLine&) const = default;
};

/// The line of a row's values, normalised for its format; a line or format naming none reads
/// as the first line and "Text".
LcdLine lcdLineOf(int val0, int val1);

/// How many data fields format `format` uses (0..4).
int lcdFieldsUsed(int format);

/// Makes every data field fit the format: unused fields 0, variables where variables belong,
/// connectors where connectors belong, each missing one taking its position's default.
void normaliseLcd(LcdLine& line);

/// The same rule for data field k (0..3) alone.
void normaliseLcdField(LcdLine& line, int k);

struct LcdValues {
  int val0;
  int val1;
  bool operator==(const LcdValues&) const = default;
};
LcdValues packLcd(const LcdLine& line);

/// The format list's captions.
const std::array<const char*, kLcdFormats>& lcdFormatCaptions();

/// The data lists' items: "---", "A".."Z", "CN1".."CN10".
std::vector<std::string> lcdDataItems();

/// A text the display line can show literally: it may not hold a double quote.
bool lcdTextAllowed(std::string_view text);

}  // namespace kavel
