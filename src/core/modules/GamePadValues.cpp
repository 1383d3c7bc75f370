#include "core/modules/GamePadValues.h"

namespace kavel {

GamePadChoice gamePadChoiceOf(int val0, int val1) {
  GamePadChoice c;
  for (int bit = 0; bit <= kPadLeftStick; ++bit) {
    if (bit == kPadRightStickPressed) continue;
    if (val0 & (1 << bit)) {
      c.control = bit;
      break;
    }
  }
  if (isPadStick(c.control)) {
    const int direction = val1 % 10;
    c.direction = direction >= 0 && direction <= 8 ? direction : 0;
  }
  return c;
}

GamePadValues packGamePad(const GamePadChoice& c) {
  if (c.control < 0 || c.control > kPadLeftStick || c.control == kPadRightStickPressed) return {};
  GamePadValues v;
  v.val0 = 1 << c.control;
  if (isPadStick(c.control)) {
    if (c.direction >= 1 && c.direction <= 8) {
      v.val1 = c.direction;
    } else {
      v.val0 |= 1 << (c.control + 1);
    }
  }
  return v;
}

}  // namespace kavel
