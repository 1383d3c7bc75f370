// The motor balance: its reply, the save text and the buttons.

#include <gtest/gtest.h>

#include "core/monitor/MotorBalance.h"

using namespace kavel;

TEST(MotorBalance, Reply) {
  struct Case {
    const char* line;
    int left, right, third, position;
  } cases[] = {
      {"B:000,025,012", 0, 25, 12, 25},
      {"B:015,000,010", 15, 0, 10, -15},
      {"B:015,020,010", 15, 20, 10, -15},  // left wins
      {"B:000,000,000", 0, 0, 1, 0},       // a third setting of 0 shows 1
      {"B:999,000,010", 999, 0, 10, -240}, // the bar keeps its range
      {"B:abc,0x5,zz", 0, 0, 1, 0},        // not numbers
      {"B:010", 10, 0, 1, -10},            // cut short
      {"B:", 0, 0, 1, 0},
  };
  for (const auto& c : cases) {
    const BalanceReply r = parseBalanceReply(c.line);
    EXPECT_EQ(r.left, c.left) << c.line;
    EXPECT_EQ(r.right, c.right) << c.line;
    EXPECT_EQ(r.third, c.third) << c.line;
    EXPECT_EQ(r.position, c.position) << c.line;
  }
}

TEST(MotorBalance, PanelsSaveTextAndButtons) {
  EXPECT_EQ(balanceSaveCommand(-30, 10), "B:030,000,010");
  EXPECT_EQ(balanceSaveCommand(240, 20), "B:000,240,020");
  EXPECT_EQ(balanceSaveCommand(0, 1), "B:000,000,001");
  EXPECT_EQ(leftPanelValue(-30), -30);
  EXPECT_EQ(rightPanelValue(-30), 0);
  EXPECT_EQ(leftPanelValue(25), 0);
  EXPECT_EQ(rightPanelValue(25), -25);

  struct Step {
    int from, delta, to;
  } steps[] = {{0, -10, -10}, {0, 1, 1}, {235, 10, 240}, {-239, -10, -240}, {-240, -1, -240}, {240, 1, 240}};
  for (const auto& s : steps) EXPECT_EQ(stepBalance(s.from, s.delta), s.to) << s.from << "+" << s.delta;
  EXPECT_EQ(thirdUp(20), 20);
  EXPECT_EQ(thirdUp(19), 20);
  EXPECT_EQ(thirdDown(1), 1);
  EXPECT_EQ(thirdDown(2), 1);
}
