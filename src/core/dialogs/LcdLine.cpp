#include "core/dialogs/LcdLine.h"

#include "core/model/RowText.h"
#include "core/text/Format.h"

namespace kavel {
namespace {

bool isVariable(int item) { return item >= 1 && item < kLcdFirstConnector; }
bool isConnector(int item) { return item >= kLcdFirstConnector && item <= kLcdLastItem; }

}  // namespace

int lcdFieldsUsed(int format) {
  switch (format) {
    case 1: return 1;
    case 2: return 2;
    case 3: return 3;
    case 4: case 5: return 4;
    default: return 0;
  }
}

void normaliseLcdField(LcdLine& l, int k) {
  if (k < 0 || k > 3) return;
  int& d = l.data[static_cast<std::size_t>(k)];
  if (k >= lcdFieldsUsed(l.format)) {
    d = 0;
  } else if (l.format == 5) {
    if (!isConnector(d)) d = kLcdFirstConnector + k;
  } else if (!isVariable(d)) {
    d = k + 1;
  }
}

void normaliseLcd(LcdLine& l) {
  for (int k = 0; k < 4; ++k) normaliseLcdField(l, k);
}

LcdLine lcdLineOf(int val0, int val1) {
  LcdLine l;
  const int line = val0 / 100000;
  l.line = line == 1 ? 1 : 0;
  const int format = val0 / 10000 % 10;
  l.format = format >= 0 && format < kLcdFormats ? format : 0;
  l.data = {val0 / 100 % 100, val0 % 100, val1 / 10000 % 100, val1 / 100 % 100};
  normaliseLcd(l);
  return l;
}

LcdValues packLcd(const LcdLine& l) {
  return {l.line * 100000 + l.format * 10000 + l.data[0] * 100 + l.data[1], l.data[2] * 10000 + l.data[3] * 100};
}

const std::array<const char*, kLcdFormats>& lcdFormatCaptions() {
  static const std::array<const char*, kLcdFormats> captions{
      "Text", "A:nnnnnn", "A:nnnnn B:nnnnn", "nnnn nnnn nnnn", "nnn nnn nnn nnn", "CNx CNx CNx CNx"};
  return captions;
}

std::vector<std::string> lcdDataItems() {
  std::vector<std::string> items{"---"};
  for (int n = 1; n <= 26; ++n) items.push_back(itemLetter(n));
  for (int c = 1; c <= 10; ++c) items.push_back(text::format("CN%d", c));
  return items;
}

bool lcdTextAllowed(std::string_view text) { return text.find('"') == std::string_view::npos; }

}  // namespace kavel
