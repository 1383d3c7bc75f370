#pragma once
// The game-pad test: one of the pad's fourteen controls, and for a joystick a direction 1..8
// or "pressed". Stored as one bit per control in val0 and the direction in val1.

namespace kavel {

inline constexpr int kPadRightStick = 12;         // bit of RJ
inline constexpr int kPadRightStickPressed = 13;  // set together with RJ
inline constexpr int kPadLeftStick = 14;          // bit of LJ
inline constexpr int kPadLeftStickPressed = 15;   // set together with LJ

struct GamePadChoice {
  int control = -1;   // bit 0..12 or 14 of the chosen control; -1 none
  int direction = 0;  // joysticks: 0 pressed, 1..8 a direction
  bool operator==(const GamePadChoice&) const = default;
};

/// The control a row holds: the lowest of the bits 0..12 and 14 that is set (the dialog offers
/// one control at a time); the direction is val1 mod 10 when a joystick is chosen, and one
/// outside 0..8 becomes 0.
GamePadChoice gamePadChoiceOf(int val0, int val1);

struct GamePadValues {
  int val0 = 0;
  int val1 = 0;
  bool operator==(const GamePadValues&) const = default;
};

/// val0 = the control's bit (0 when none); a joystick pressed (direction 0) adds its pressed
/// bit and gives val1 = 0, a joystick direction gives val1 = 1..8; other controls val1 = 0.
GamePadValues packGamePad(const GamePadChoice& choice);

/// Whether bit `control` is one of the two joysticks.
inline bool isPadStick(int control) { return control == kPadRightStick || control == kPadLeftStick; }

}  // namespace kavel
