#include "core/dialogs/PwmCodes.h"

#include <algorithm>

#include "core/text/Format.h"

namespace kavel {

PwmChannel pwmChannelOf(int code) {
  PwmChannel c;
  if (code >= 600) {
    c.modify = false;
  } else if (code >= 400) {
    c.item = std::min(code % 100 + 1, 26);
    c.reverse = code >= 500;
  } else if (code >= 200) {
    c.reverse = true;
    c.speed = std::min(code - 200, 100);
  } else {
    c.speed = std::clamp(code, 0, 100);
  }
  return c;
}

int pwmCode(const PwmChannel& c) {
  if (!c.modify) return kPwmUnchanged;
  if (c.item >= 1 && c.item <= 26) return 399 + c.item + (c.reverse ? 100 : 0);
  return std::clamp(c.speed, 0, 100) + (c.reverse ? 200 : 0);
}

std::array<int, kPwmChannels> pwmCodesOf(int val0, int val1, int val2) {
  return {val0 / 1000, val0 % 1000, val1 / 1000, val1 % 1000, val2 / 1000, val2 % 1000};
}

PwmValues packPwm(const std::array<int, kPwmChannels>& c) {
  return {c[0] * 1000 + c[1], c[2] * 1000 + c[3], c[4] * 1000 + c[5]};
}

std::string pwmFixedCaption(int speed) { return text::format("%4d%%", speed); }

}  // namespace kavel
