#pragma once
// The rules of the motor statement: which drive pattern two speeds make, how the icon button
// steps through the patterns, and how speeds and list items pack into the row's values.

#include <string>

namespace kavel {

inline constexpr int kMotorSpeedMin = -100;
inline constexpr int kMotorSpeedMax = 100;
/// List items 1..26 are the variables A..Z; item 0 is the fixed speed.
inline constexpr int kMotorVariableItems = 26;
/// The speed the icon button uses after a stop when nothing has been remembered yet.
inline constexpr int kMotorIconDefaultSpeed = 50;

int clampMotorSpeed(int speed);

/// The statement kind (19..28) of a motor row with left speed `left` and right speed
/// `right`; a side driven by a variable makes it MotorVariable whatever the speeds.
int motorPattern(int left, int right, bool leftVariable, bool rightVariable);

/// Speeds and remembered speed after one click on the icon button.
struct MotorIconStep {
  int left;
  int right;
  int memory;
  bool operator==(const MotorIconStep&) const = default;
};

/// One click on the icon button: forward -> backward -> stop -> spin -> ..., turns are
/// straightened to the speed of the side last worked on. `memory` is the speed the button
/// remembers (0: nothing yet); `leftFocused` says whether the left side was worked on last.
MotorIconStep motorIconStep(int left, int right, int memory, bool leftFocused);

/// The list item (0..26) of each side packed in val2; digits naming no item give 0.
struct MotorSources {
  int left;
  int right;
};
MotorSources motorSourcesOf(int val2);

/// val2 of a motor row: left item * 1000 + right item.
int motorSourcesValue(int leftItem, int rightItem);

/// Caption of the fixed-speed item of a side ('L' or 'R'), e.g. "L:  50%".
std::string motorFixedCaption(char side, int speed);

/// What the motor dialog stores on OK.
struct MotorValues {
  int sno;
  int cno;
  int val0;
  int val1;
  int val2;
  bool operator==(const MotorValues&) const = default;
};
/// Speeds are stored even for a side driven by a variable, so switching it back to a fixed
/// speed later finds the old value. Out-of-range speeds and items are stored clamped.
MotorValues packMotor(int left, int right, int leftItem, int rightItem);

}  // namespace kavel
