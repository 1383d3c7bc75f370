#include "core/dialogs/OutputChoices.h"

#include <algorithm>

#include "core/model/StatementKind.h"
#include "core/text/Format.h"

namespace kavel {

int ledOf(int val0) { return val0 >= 0 && val0 <= 3 ? val0 : 1; }

int ledKind(int led, bool on) { return kGreenLedOff + (led != 0 ? 2 : 0) + (on ? 1 : 0); }

std::string ledCaption(int led) { return led == 0 ? "Green" : text::format("Red%d", led); }

LedValues packLed(int led, bool on, int sno) {
  const int kind = ledKind(led, on);
  return {sno >= kGreenLedOff ? kind : sno, kind, led, on ? 1 : 0};
}

std::vector<int> outputConnectors(const IoSetup& io) {
  std::vector<int> list;
  for (int c = 0; c < 10; ++c) {
    const int mode = io.cnMode[static_cast<std::size_t>(c)];
    if (mode == OutL || mode == OutH) list.push_back(c);
  }
  return list;
}

int outputPosition(const std::vector<int>& list, int val0) {
  if (list.empty()) return -1;
  const auto it = std::find(list.begin(), list.end(), val0);
  return it == list.end() ? 0 : static_cast<int>(it - list.begin());
}

int nextOutputPosition(const std::vector<int>& list, int position) {
  if (list.empty()) return -1;
  return position + 1 >= static_cast<int>(list.size()) || position < 0 ? 0 : position + 1;
}

}  // namespace kavel
