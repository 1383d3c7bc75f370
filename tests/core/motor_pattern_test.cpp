#include <gtest/gtest.h>

#include <vector>

#include "core/model/MotorPattern.h"
#include "core/model/StatementKind.h"

using namespace kavel;

TEST(MotorPattern, KindFollowsTheTwoSpeeds) {
  struct Case {
    int left, right;
    bool leftVar, rightVar;
    int kind;
  } cases[] = {
      {40, 40, false, false, kMotorForward},
      {40, 20, false, false, kTurnForwardRight},
      {20, 40, false, false, kTurnForwardLeft},
      {40, 0, false, false, kTurnForwardRight},
      {30, -30, false, false, kSpinRight},
      {30, -10, false, false, kSpinRight},
      {-40, -40, false, false, kMotorBackward},
      {-20, -40, false, false, kTurnBackwardLeft},
      {-40, -20, false, false, kTurnBackwardRight},
      {-40, 0, false, false, kTurnBackwardRight},
      {-30, 30, false, false, kSpinLeft},
      {0, 0, false, false, kMotorStop},
      {0, 30, false, false, kTurnForwardLeft},
      {0, -30, false, false, kTurnBackwardLeft},
      // A variable on either side wins over any speeds.
      {40, 40, true, false, kMotorVariable},
      {0, 0, false, true, kMotorVariable},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(motorPattern(c.left, c.right, c.leftVar, c.rightVar), c.kind)
        << "L " << c.left << " R " << c.right << " vars " << c.leftVar << c.rightVar;
  }
}

TEST(MotorPattern, IconStepPerPatternAndFocusedSide) {
  struct Case {
    int left, right, memory;
    bool leftFocused;
    MotorIconStep next;
  } cases[] = {
      // forward -> backward at the same speed, remembered
      {60, 60, 0, true, {-60, -60, 60}},
      {60, 60, 20, false, {-60, -60, 60}},
      // backward -> stop, memory kept
      {-60, -60, 35, true, {0, 0, 35}},
      // stop -> spin with the remembered speed, 50 when nothing is remembered
      {0, 0, 0, true, {-50, 50, 50}},
      {0, 0, 0, false, {50, -50, 50}},
      {0, 0, 70, false, {70, -70, 70}},
      // spins: the left side mirrors the right one or the right side follows the left one
      {-30, 30, 0, true, {30, -30, 30}},
      {-30, 30, 0, false, {30, 30, -30}},
      {30, -30, 0, true, {30, 30, -30}},
      {30, -30, 0, false, {-30, 30, 30}},
      // turns and one-sided runs are straightened to the focused side's speed
      {40, 20, 0, true, {40, 40, 40}},
      {40, 20, 0, false, {20, 20, 20}},
      {0, 30, 80, true, {0, 0, 0}},
      {0, 30, 80, false, {30, 30, 30}},
      {-20, -70, 5, false, {-70, -70, -70}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(motorIconStep(c.left, c.right, c.memory, c.leftFocused), c.next)
        << "L " << c.left << " R " << c.right << " M " << c.memory << " left " << c.leftFocused;
  }
}

TEST(MotorPattern, IconClicksCycleThroughStopSpinForwardBackward) {
  MotorIconStep s{0, 0, 0};
  std::vector<int> kinds;
  for (int i = 0; i < 6; ++i) {
    s = motorIconStep(s.left, s.right, s.memory, false);
    kinds.push_back(motorPattern(s.left, s.right, false, false));
  }
  EXPECT_EQ(kinds, (std::vector<int>{kSpinRight, kSpinLeft, kMotorForward, kMotorBackward, kMotorStop,
                                     kSpinRight}));
  EXPECT_EQ(s, (MotorIconStep{50, -50, 50}));
}

TEST(MotorPattern, ValuesStoredOnOk) {
  struct Case {
    int left, right, leftItem, rightItem;
    MotorValues stored;
  } cases[] = {
      {50, 50, 0, 0, {kMotorForward, kMotorForward, 50, 50, 0}},
      {0, 0, 0, 0, {kMotorStop, kMotorStop, 0, 0, 0}},
      {-50, 50, 0, 0, {kSpinLeft, kSpinLeft, -50, 50, 0}},
      // Speeds stay stored beside the variables.
      {10, 70, 3, 0, {kMotorVariable, kMotorVariable, 10, 70, 3000}},
      {0, 0, 2, 0, {kMotorVariable, kMotorVariable, 0, 0, 2000}},
      {0, 0, 26, 26, {kMotorVariable, kMotorVariable, 0, 0, 26026}},
      // Out-of-range speeds and items are stored limited.
      {150, -130, 0, 0, {kSpinRight, kSpinRight, 100, -100, 0}},
      {20, 20, 27, -1, {kMotorForward, kMotorForward, 20, 20, 0}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(packMotor(c.left, c.right, c.leftItem, c.rightItem), c.stored)
        << "L " << c.left << " R " << c.right << " items " << c.leftItem << "," << c.rightItem;
  }
}

TEST(MotorPattern, SourcesReadBackFromVal2) {
  struct Case {
    int val2, left, right;
  } cases[] = {
      {0, 0, 0}, {3000, 3, 0}, {2, 0, 2}, {26026, 26, 26}, {126001, 26, 1},
      // digits naming no list item count as the fixed speed
      {27000, 0, 0}, {99099, 0, 0}, {-5, 0, 0}, {-3000, 0, 0},
  };
  for (const Case& c : cases) {
    const MotorSources s = motorSourcesOf(c.val2);
    EXPECT_EQ(s.left, c.left) << c.val2;
    EXPECT_EQ(s.right, c.right) << c.val2;
  }
  for (int v : {0, 3000, 2, 26026, 1001}) {
    const MotorSources s = motorSourcesOf(v);
    EXPECT_EQ(motorSourcesValue(s.left, s.right), v);
  }
}

TEST(MotorPattern, FixedSpeedCaption) {
  EXPECT_EQ(motorFixedCaption('L', 50), "L:  50%");
  EXPECT_EQ(motorFixedCaption('R', -100), "R:-100%");
  EXPECT_EQ(motorFixedCaption('L', 0), "L:   0%");
}
