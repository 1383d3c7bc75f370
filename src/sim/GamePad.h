#pragma once
// The wireless game pad as the program tests it: fourteen buttons by bit, and two joysticks
// each in one of eight directions or at rest.

#include <cstdint>

namespace kavel::sim {

struct PadState {
  std::uint16_t buttons = 0;  // PSx_R1 0x0001 ... PSx_RL 0x0800, PSx_R3 0x2000, PSx_L3 0x8000
  int leftStick = 0;          // 0 at rest, 1 up, 2 up-right, 3 right ... 8 up-left (clockwise)
  int rightStick = 0;
  bool operator==(const PadState&) const = default;
};

/// What chk_snx4410(code) answers: a joystick code (0x1000 + direction for the right stick,
/// 0x4000 + direction for the left) asks for that direction (0: at rest); any other code is a
/// set of button bits of which one is pressed.
inline bool padPressed(const PadState& pad, unsigned code) {
  const unsigned group = code & 0xF000u;
  const unsigned rest = code & 0x0FFFu;
  if ((group == 0x1000u || group == 0x4000u) && rest <= 8) {
    return static_cast<unsigned>(group == 0x1000u ? pad.rightStick : pad.leftStick) == rest;
  }
  return (pad.buttons & code) != 0;
}

}  // namespace kavel::sim
