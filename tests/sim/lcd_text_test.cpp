// The LCD's lines for each of the firmware's LCD calls.

#include <gtest/gtest.h>

#include "sim/LcdText.h"

using namespace kavel::sim;

TEST(LcdText, EveryFormFillsSixteenColumns) {
  struct Case {
    std::string got, want;
  };
  const std::vector<Case> cases = {
      {lcdFixedText("Hello"), "Hello           "},
      {lcdFixedText("a text longer than sixteen"), "a text longer th"},
      {lcdFixedText("tab\there"), "tab here        "},
      {lcdFixedText(nullptr), "                "},
      {lcdVariables(1, {0, 0, 0, 0}, {42, 0, 0, 0}), "A:    42        "},
      {lcdVariables(2, {0, 25, 0, 0}, {-5, 12345, 0, 0}), "A:   -5 Z:12345 "},
      {lcdVariables(3, {0, 1, 2, 0}, {1, 22, 333, 0}), "   1   22  333  "},
      {lcdVariables(4, {0, 1, 2, 3}, {1, 2, 3, 4}), "  1   2   3   4 "},
      {lcdVariables(4, {0, 1, 2, 3}, {123456, 2, 3, 4}), "123456   2   3  "},
      {lcdSensors({0, 512, 1023, 100}), "  0  50 100  10 "},
  };
  for (const Case& c : cases) EXPECT_EQ(c.got, c.want);
}
