#include "core/model/MotorPattern.h"

#include <algorithm>
#include <cstdlib>

#include "core/model/StatementKind.h"
#include "core/text/Format.h"

namespace kavel {
namespace {

int itemOrZero(int item) { return item >= 0 && item <= kMotorVariableItems ? item : 0; }

}  // namespace

int clampMotorSpeed(int speed) { return std::clamp(speed, kMotorSpeedMin, kMotorSpeedMax); }

int motorPattern(int left, int right, bool leftVariable, bool rightVariable) {
  if (leftVariable || rightVariable) return kMotorVariable;
  if (left > 0) {
    if (right == left) return kMotorForward;
    if (right < 0) return kSpinRight;
    return left < right ? kTurnForwardLeft : kTurnForwardRight;
  }
  if (left < 0) {
    if (right == left) return kMotorBackward;
    if (right > 0) return kSpinLeft;
    return left > right ? kTurnBackwardLeft : kTurnBackwardRight;
  }
  if (right == 0) return kMotorStop;
  return right > 0 ? kTurnForwardLeft : kTurnBackwardLeft;
}

MotorIconStep motorIconStep(int left, int right, int memory, bool leftFocused) {
  if (left == right) {
    if (left > 0) return {-left, -right, left};
    if (left < 0) return {0, 0, memory};
    const int m = memory == 0 ? kMotorIconDefaultSpeed : memory;
    return leftFocused ? MotorIconStep{-m, m, m} : MotorIconStep{m, -m, m};
  }
  if ((left < 0 && right > 0) || (left > 0 && right < 0)) {
    if (leftFocused) return {std::abs(right), -right, right};
    return {-left, std::abs(left), left};
  }
  const int common = leftFocused ? left : right;
  return {common, common, common};
}

MotorSources motorSourcesOf(int val2) {
  return {itemOrZero(val2 / 1000 % 100), itemOrZero(val2 % 100)};
}

int motorSourcesValue(int leftItem, int rightItem) {
  return itemOrZero(leftItem) * 1000 + itemOrZero(rightItem);
}

std::string motorFixedCaption(char side, int speed) { return text::format("%c:%4d%%", side, speed); }

MotorValues packMotor(int left, int right, int leftItem, int rightItem) {
  const int l = clampMotorSpeed(left);
  const int r = clampMotorSpeed(right);
  const int val2 = motorSourcesValue(leftItem, rightItem);
  const int kind = val2 != 0 ? kMotorVariable : motorPattern(l, r, false, false);
  return {kind, kind, l, r, val2};
}

}  // namespace kavel
