#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/editor/StatementEditing.h"
#include "core/model/StatementKind.h"
#include "Statements.h"

using namespace kavel;

namespace {

// The edit buffer holds a statement's fields.
EditBuffer buffer(int sno, int cno, int v0 = 0, int v1 = 0, int v2 = 0) {
  return kavel::testing::row(sno, cno, v0, v1, v2);
}

}  // namespace

TEST(StatementEditing, DialogBySubjectKind) {
  struct Case {
    int cno;
    DialogKind dialog;
  };
  const Case cases[] = {
      {0, DialogKind::None},      {1, DialogKind::None},        {5, DialogKind::Repeat},  {9, DialogKind::SubProg},
      {10, DialogKind::SubProg},  {13, DialogKind::Sensor},     {14, DialogKind::Sensor}, {15, DialogKind::Dir},
      {19, DialogKind::Speed},    {28, DialogKind::Speed},      {29, DialogKind::Timer},  {30, DialogKind::Timer},
      {31, DialogKind::Var},      {32, DialogKind::Var},        {33, DialogKind::Code},   {34, DialogKind::Led},
      {37, DialogKind::Led},      {38, DialogKind::Pwm},        {39, DialogKind::Servo},  {40, DialogKind::OutCn},
      {41, DialogKind::Lcd},      {42, DialogKind::None},       {43, DialogKind::Snx4410}, {44, DialogKind::Uss},
      {45, DialogKind::Pixy},     {46, DialogKind::None},       {-3, DialogKind::None},
  };
  for (const Case& c : cases) EXPECT_EQ(dialogForSubjectKind(c.cno), c.dialog) << "cno " << c.cno;
  EXPECT_STREQ(dialogName(DialogKind::Speed), "TfrmSpeed");
  EXPECT_STREQ(dialogName(DialogKind::Snx4410), "TfrmSNX4410");
}

TEST(StatementEditing, OpeningDefaults) {
  struct Case {
    const char* what;
    EditBuffer in;
    int v0, v1, v2;
  };
  const Case cases[] = {
      {"repeat count 0 becomes 1", buffer(5, 5), 1, 0, 0},
      {"repeat count kept", buffer(5, 5, 7), 7, 0, 0},
      {"new forward motor row at 50 %", buffer(21, 21), 50, 50, 0},
      {"stopped motor row of another kind stays", buffer(20, 20), 0, 0, 0},
      {"forward with speeds kept", buffer(21, 21, 30, 30, 0), 30, 30, 0},
      {"wait time 0 becomes 1000", buffer(29, 29), 1000, 0, 0},
      {"timer time kept", buffer(30, 30, 250, 10000), 250, 10000, 0},
      {"LED number and state out of range", buffer(34, 34, 4, 2), 1, 0, 0},
      {"LED values in range", buffer(36, 36, 3, 1), 3, 1, 0},
      {"output connector and level out of range", buffer(40, 40, 10, 5), 0, 0, 0},
      {"camera test without values", buffer(1, 45), 122200, 50050, 0},
      {"camera test with values", buffer(1, 45, 100000, 3), 100000, 3, 0},
      {"variable untouched", buffer(31, 31, 12, 34, 56), 12, 34, 56},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EditBuffer b = c.in;
    prepareForDialog(b);
    EXPECT_EQ(b.val0, c.v0);
    EXPECT_EQ(b.val1, c.v1);
    EXPECT_EQ(b.val2, c.v2);
  }
}

TEST(StatementEditing, CopyingBackTakesOnlyTheDialogsFields) {
  const Statement old{99, 2, 99, 7, 8, 9, "old"};
  struct Case {
    const char* what;
    int dialogCno;
    int rowSno;
    Statement expected;  // sno, level, cno, v0, v1, v2, cmt
    bool glyph;
  };
  // The buffer as a dialog leaves it: sno 23, cno 24, values 1, 2, 3, comment "new".
  const Case cases[] = {
      {"repeat: val1 cleared, val2 kept", 5, 5, {5, 2, 24, 1, 0, 9, "new"}, false},
      {"sensor: three values", 14, 1, {1, 2, 24, 1, 2, 3, "new"}, false},
      {"direction: val0 and val1", 15, 1, {1, 2, 24, 1, 2, 9, "new"}, false},
      {"motor: kind and three values", 21, 21, {23, 2, 24, 1, 2, 3, "new"}, true},
      {"timer: val0 and val1", 29, 29, {29, 2, 24, 1, 2, 9, "new"}, false},
      {"variable: three values", 31, 31, {31, 2, 24, 1, 2, 3, "new"}, false},
      {"C-code: val0 and val1", 33, 33, {33, 2, 24, 1, 2, 9, "new"}, false},
      {"LED: kind, val0 and val1", 34, 34, {23, 2, 24, 1, 2, 9, "new"}, true},
      {"PWM: kind and three values", 38, 38, {23, 2, 24, 1, 2, 3, "new"}, true},
      {"servo: kind and val0", 39, 39, {23, 2, 24, 1, 8, 9, "new"}, true},
      {"output: kind, val0 and val1", 40, 40, {23, 2, 24, 1, 2, 9, "new"}, true},
      {"output test keeps the If", 40, 1, {1, 2, 24, 1, 2, 9, "new"}, false},
      {"LED test keeps the While", 34, 4, {4, 2, 24, 1, 2, 9, "new"}, false},
      {"LCD: val0 and val1", 41, 41, {41, 2, 24, 1, 2, 9, "new"}, false},
      {"game pad: val0 and val1", 43, 1, {1, 2, 24, 1, 2, 9, "new"}, false},
      {"ultrasonic: val0 and val1", 44, 44, {44, 2, 24, 1, 2, 9, "new"}, false},
      {"camera: three values", 45, 2, {2, 2, 24, 1, 2, 3, "new"}, false},
  };
  const EditBuffer b{23, 0, 24, 1, 2, 3, "new"};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Statement row = old;
    row.sno = c.rowSno;
    EXPECT_EQ(copyBack(c.dialogCno, b, row), c.glyph);
    EXPECT_EQ(row, c.expected);
  }
  Statement untouched = old;
  EXPECT_FALSE(copyBack(0, b, untouched));
  EXPECT_EQ(untouched, old);
}

TEST(StatementEditing, InsertionBuffers) {
  struct Case {
    int kind;
    int cno, v0, v1;
    bool dialog;
  };
  const Case cases[] = {
      {kIf, 0, 0, 0, true},           {kElseIf, 0, 0, 0, true},     {kElse, 0, 0, 0, false},
      {kWhile, 0, 0, 0, true},        {kFor, 5, 0, 0, true},        {kContinue, 0, 0, 0, false},
      {kBreak, 0, 0, 0, false},       {kSetup, 8, 111111, 110000, true},
      {kSubCall, 9, 0, 0, true},      {kReturn, 10, 0, 0, true},    {kMotorForward, 21, 0, 0, true},
      {kWait, 29, 0, 0, true},        {kTimer, 30, 0, 0, true},     {kVariable, 31, 0, 0, true},
      {kCCode, 33, 0, 0, true},       {kGreenLedOff, 34, 1, 0, true}, {kPwm, 38, 0, 0, true},
      {kServo, 39, 0, 0, true},       {kOutput, 40, 0, 0, true},    {kLcd, 41, 0, 0, true},
      {kUltrasonic, 44, 0, 0, true},
  };
  for (const Case& c : cases) {
    const EditBuffer b = insertionBuffer(c.kind);
    EXPECT_EQ(b.sno, c.kind);
    EXPECT_EQ(b.cno, c.cno) << "kind " << c.kind;
    EXPECT_EQ(b.val0, c.v0) << "kind " << c.kind;
    EXPECT_EQ(b.val1, c.v1) << "kind " << c.kind;
    EXPECT_EQ(b.val2, 0);
    EXPECT_TRUE(b.cmt.empty());
    EXPECT_EQ(opensDialogOnInsertion(c.kind), c.dialog) << "kind " << c.kind;
  }
}

TEST(StatementEditing, ConditionsWithTheirOwnDialogAndNeverConfirmedRows) {
  for (int c = 0; c <= 46; ++c) {
    const bool expected = c == 13 || c == 14 || c == 15 || (c >= 30 && c <= 37) || c == 39 || c == 40 ||
                          c == 43 || c == 44 || c == 45;
    EXPECT_EQ(conditionHasDialog(c), expected) << "condition " << c;
  }
  Statement fresh{kWait, 0, 0, 0, 0, 0, {}};
  EXPECT_TRUE(neverConfirmed(fresh, true, kWait));
  fresh.cno = kWait;
  EXPECT_FALSE(neverConfirmed(fresh, false, kWait));
  // Motor rows are judged by their text.
  Statement motor{kMotorForward, 0, kMotorForward, 0, 0, 0, {}};
  EXPECT_TRUE(neverConfirmed(motor, true, kMotorForward));
  EXPECT_FALSE(neverConfirmed(motor, false, kMotorForward));
}

TEST(StatementEditing, ConditionChoices) {
  struct Case {
    const char* name;
    Statement row;
    int chosen;
    ConditionFollowUp want;
    EditBuffer buffer;  // what the dialog that follows starts from
    Statement rowAfter;
  };
  using kavel::testing::row;
  const Statement sensor = row(kIf, kSensorTest, 25, 1, 0, "ball");
  const Statement fresh = row(kWhile, 0);
  const Statement endless = row(kWhile, kUnconditional, 0, 0, 0, "loop");
  const std::vector<Case> cases = {
      {"the same kind keeps values and comment", sensor, kSensorTest, ConditionFollowUp::OpenDialog,
       buffer(kIf, kSensorTest, 25, 1, 0), sensor},
      {"another kind starts from zero", sensor, kDirectionTest, ConditionFollowUp::OpenDialog,
       buffer(kIf, kDirectionTest), sensor},
      {"a new row starts from zero", fresh, kSensorTest, ConditionFollowUp::OpenDialog, buffer(kWhile, kSensorTest),
       fresh},
      {"Unconditional is stored at once", sensor, kUnconditional, ConditionFollowUp::Stored,
       buffer(kIf, kUnconditional), row(kIf, kUnconditional)},
      {"Unconditional again keeps its comment", endless, kUnconditional, ConditionFollowUp::Stored,
       buffer(kWhile, kUnconditional, 0, 0, 0), endless},
      {"a kind without a dialog", fresh, kPwm, ConditionFollowUp::None, buffer(kWhile, kPwm), fresh},
  };
  for (const Case& c : cases) {
    Statement r = c.row;
    EditBuffer b{};
    b.sno = kElse;  // whatever the chooser left: the row's kind wins
    b.cno = c.chosen;
    b.val0 = 7;
    b.cmt = "stale";
    EXPECT_EQ(applyConditionChoice(r, b), c.want) << c.name;
    EXPECT_EQ(b.sno, c.buffer.sno) << c.name;
    EXPECT_EQ(b.cno, c.buffer.cno) << c.name;
    EXPECT_EQ(std::vector<int>({b.val0, b.val1, b.val2}),
              std::vector<int>({c.buffer.val0, c.buffer.val1, c.buffer.val2})) << c.name;
    EXPECT_EQ(b.cmt, c.chosen == c.row.cno && c.chosen != 0 ? c.row.cmt : std::string()) << c.name;
    EXPECT_EQ(r.cno, c.rowAfter.cno) << c.name;
    EXPECT_EQ(r.cmt, c.rowAfter.cmt) << c.name;
    EXPECT_EQ(r.val0, c.rowAfter.val0) << c.name;
  }
}
