#include <gtest/gtest.h>

#include "core/model/RowText.h"
#include "core/model/StatementKind.h"
#include "Statements.h"

using namespace kavel;
using kavel::testing::row;

namespace {

RowTextContext english() {
  RowTextContext c;
  c.timeUnit = "sec";
  return c;
}

}  // namespace

TEST(RowText, ComposesEveryKind) {
  RowTextContext ping = english();
  ping.cnMode[0] = 3;
  RowTextContext thermistor = english();
  thermistor.cnMode[1] = 6;
  RowTextContext hmc = english();
  hmc.useHmc = true;

  struct Case {
    Statement s;
    RowTextContext c;
    std::string text;
  } cases[] = {
      {row(kWhile, kUnconditional, 0), english(), "Infinite Loop"},
      {row(kFor, kRepeatCount, 12), english(), "[ x 12 ]"},
      {row(kSubCall, kSubCall, 3, 0, 0, "/home/u/prog/Turn.Kvl"), english(), "Sub-3: Turn.Kvl"},
      {row(kReturn, kReturn, 0), english(), "Return"},
      {row(kMotorForward, kMotorForward, -30, 30), english(), "L: -30%  R:  30%"},
      {row(kMotorVariable, kMotorVariable, 0, 40, 2), english(), "L:   0%  R: B%"},
      {row(kMotorVariable, kMotorVariable, 10, 0, 3000), english(), "L: C%    R:   0%"},
      {row(kMotorVariable, kMotorVariable, 0, 0, 1002), english(), "L: A%    R: B%"},
      {row(kWait, kWait, 1500), english(), "Wait: 1.5 sec"},
      {row(kWait, kWait, 1500, 300), english(), "Wait: C"},
      {row(kTimer, kTimer, 0, 20000), english(), "Timer3: Start"},
      {row(kIf, kTimer, 2500, 10001), english(), "Timer2 >  2.5 sec"},
      {row(kIf, kTimer, 0, 400), english(), "Timer1 < D"},
      {row(kIf, kSensorTest, 25, 1), ping, "CN1 > 25cm"},
      {row(kIf, kSensorTest, 25, 1), english(), "CN1 > 25%"},
      {row(kIf, kSensorTest, 40, 10), thermistor, "CN2 < 40\u2103"},
      {row(kIf, kSensorTest, 0, 300022), english(), "CN3 == CN4"},
      {row(kIf, kSensorTest, 0, 20002, 310000), english(), "I/O[3]:CN1 == I/O[1]:B"},
      {row(kIf, kSensorTest, 50, 2, 200000), english(), "I/O[2]:CN1 == 50%"},
      {row(kIf, kSensorTest, 50, 370002, 10000), english(), "CN1 == I/O[1]:"},
      {row(kIf, kDirectionTest, 90030, 100000), english(), "Pitch ==  90 Deg (+/-) 30"},
      {row(kIf, kDirectionTest, 0, 2003), hmc, "Dir(HMC) == B (+/-)C"},
      {row(kVariable, kVariable, 1020), english(), "A == B"},
      {row(kVariable, kVariable, 11, 1), english(), "A = A + 1"},
      {row(kVariable, kVariable, 10002, 5), english(), "B = - 5"},
      {row(kVariable, kVariableItem, 0, 31), ping, "A = CN1:PING"},
      {row(kVariable, kVariableItem, 410, 44, 110000), english(), "I/O[1]:A = Dir"},
      {row(kIf, kVariableItem, 23300, 27, 10000), english(), "C < I/O[1]:Timer4"},
      {row(kVariable, kVariable, 3422, 2), english(), "A < Pitch - 2"},
      {row(kVariable, kVariable, 442, 2), hmc, "A = Uss1 - 2"},
      {row(kCCode, kCCode, 0, 0, 0, "if (a && b && c)"), english(), "if (a && b && c)"},
      {row(kRedLedOn, kRedLedOn, 2, 1, 0, "lamp"), english(), "Red2-LED: on  //lamp"},
      {row(kGreenLedOff, kGreenLedOff, 0, 0), english(), "Green-LED: off"},
      {row(kPwm, kPwm, 999200, 250404, 505100), english(), "   ***  BRK  r050   E    rF     100"},
      {row(kServo, kServo, 70050), english(), "CN7:  50%"},
      {row(kOutput, kOutput, 2, 1), english(), "OUT CN3 = High"},
      {row(kIf, kOutput, 2, 0), english(), "OUT CN3 == Low"},
      {row(kLcd, kLcd, 100000, 0, 0, "Hello"), english(), "Line2: \"Hello\""},
      {row(kLcd, kLcd, 10300), english(), "Line1: [C] "},
      {row(kLcd, kLcd, 20300), english(), "Line1: [C] --"},
      {row(kLcd, kLcd, 30001, 0), english(), "Line1: -- [A] --"},
      {row(kLcd, kLcd, 40102, 30400), english(), "Line1: [A] [B] [C] [D]"},
      {row(kLcd, kLcd, 52728, 293000), english(), "Line1: [CN1] [CN2] [CN3] [CN4]"},
      {row(kLcd, kLcd, 12800), english(), "Line1: "},
      {row(kIf, kGamePadTest, 0b101), english(), "SNX4410 : [ L1 ]"},
      {row(kIf, kGamePadTest, 1 << 12, 3), english(), "SNX4410 : [ RJ:3 ]"},
      {row(kIf, kGamePadTest, 0), english(), "SNX4410 : [ None ]"},
      {row(kUltrasonic, kUltrasonic, 0, 1), english(), "4chUSS: START"},
      {row(kIf, kUltrasonic, 305, 20000), english(), "USS3 < 30cm"},
      {row(kIf, kUltrasonic, 0, 10501), english(), "USS2 > E"},
      {row(kIf, kCameraTest, 0), english(), "Get Pixy"},
      {row(kIf, kCameraTest, 122200, 50050), english(), "PixySig1: Pos:[2][5][8]"},
      {row(kIf, kCameraTest, 200101, 30040), english(), "PixySig2: Pos:[1] && Size < (w: 30 x h: 40)"},
      {row(kIf, kCameraTest, 300002, 1002), english(), "PixySig3: Size > (w:  1 x h:  2)"},
      {row(kElse, 0, 0, 0, 0, "never shown"), english(), ""},
      {row(kEnd, kClosesIfChain, 0), english(), ""},
      {row(42, 42, 1, 2, 3), english(), ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(composeRowText(c.s, c.c), c.text) << "sno " << c.s.sno << " cno " << c.s.cno << " val0 " << c.s.val0;
  }
}

TEST(RowText, JapaneseAndSub30) {
  RowTextContext c = english();
  c.language = 0;
  EXPECT_EQ(composeRowText(row(kWhile, kUnconditional, 0), c), "\u7121\u6761\u4EF6\u30EB\u30FC\u30D7");
  c.cnMode[0] = 3;
  c.currentProgram = 30;
  EXPECT_EQ(composeRowText(row(kIf, kSensorTest, 25, 1), c), "CN1 > 25%") << "no ping in the interrupt routine";
}

TEST(RowText, DamagedValuesStayInBounds) {
  // Values no dialog produces must neither crash nor index outside the word lists.
  const int odd[] = {-99999, -1, 7, 99, 999999};
  for (int kind = -1; kind <= 46; ++kind) {
    for (int a : odd) {
      for (int b : odd) {
        const std::string text = composeRowText(row(kind, kind, a, b, a, "c"), english());
        EXPECT_EQ(text.find('\0'), std::string::npos);
      }
    }
  }
  EXPECT_EQ(itemLetter(99), "?");
  EXPECT_EQ(itemLetter(26), "Z");
}

TEST(RowText, ValueButtonWidth) {
  struct Case {
    int textWidth, width;
  } cases[] = {{0, 240}, {227, 240}, {228, 280}, {240, 280}, {267, 280}, {268, 320}};
  for (const auto& c : cases) EXPECT_EQ(valueButtonWidthForTextWidth(c.textWidth), c.width) << c.textWidth;
  EXPECT_EQ(valueButtonWidth("xx", [](const std::string& s) { return static_cast<int>(s.size()) * 120; }), 280);
  EXPECT_EQ(iconButtonX(2), 104);
  EXPECT_EQ(valueButtonX(2), 184);
}
