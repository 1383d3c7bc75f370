#include "sim/LcdText.h"

#include "core/text/Format.h"

namespace kavel::sim {
namespace {

std::string fit(std::string s) {
  s.resize(kLcdColumns, ' ');
  return s;
}

char letter(int index) { return index >= 0 && index < 26 ? static_cast<char>('A' + index) : '?'; }

}  // namespace

std::string lcdFixedText(const char* text) {
  std::string s;
  for (const char* p = text; p && *p && s.size() < kLcdColumns; ++p) {
    const unsigned char c = static_cast<unsigned char>(*p);
    s += c >= 0x20 && c < 0x7F ? static_cast<char>(c) : ' ';
  }
  return fit(s);
}

std::string lcdVariables(int count, const std::array<int, 4>& letters, const std::array<int, 4>& v) {
  switch (count) {
    case 1:
      return fit(text::format("%c:%6d", letter(letters[0]), v[0]));
    case 2:
      return fit(text::format("%c:%5d %c:%5d", letter(letters[0]), v[0], letter(letters[1]), v[1]));
    case 3:
      return fit(text::format("%4d %4d %4d", v[0], v[1], v[2]));
    default:
      return fit(text::format("%3d %3d %3d %3d", v[0], v[1], v[2], v[3]));
  }
}

std::string lcdSensors(const std::array<int, 4>& r) {
  std::array<int, 4> percent{};
  for (std::size_t i = 0; i < 4; ++i) percent[i] = (r[i] * 1000 / 1023 + 5) / 10;
  return fit(text::format("%3d %3d %3d %3d", percent[0], percent[1], percent[2], percent[3]));
}

}  // namespace kavel::sim
