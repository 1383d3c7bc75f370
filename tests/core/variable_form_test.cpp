#include <gtest/gtest.h>

#include "core/dialogs/OperandList.h"
#include "core/dialogs/VariableForm.h"

using namespace kavel;

namespace {

IoSetup plainBoard() { return IoSetup{}; }

VariableForm form(int target, int op1, int operand, int op2, std::string text, int item = -1) {
  VariableForm f;
  f.target = target;
  f.operator1 = op1;
  f.operand = operand;
  f.operator2 = op2;
  f.valueText = std::move(text);
  f.valueItem = item;
  return f;
}

}  // namespace

TEST(OperandList, EntriesFollowTheOptions) {
  IoSetup io;
  io.cnMode[8] = PingIn;
  std::vector<std::string> list = operandList(io);
  ASSERT_EQ(list.size(), 41u);
  EXPECT_EQ(list[1], "A");
  EXPECT_EQ(list[26], "Z");
  EXPECT_EQ(list[27], "Timer1");
  EXPECT_EQ(list[31], "CN1");
  EXPECT_EQ(list[39], "CN9:PING");

  struct Case {
    bool dir, hmc, uss;
    std::size_t size;
    std::string at41, at44;
  } cases[] = {
      {true, false, false, 44, "Dir", ""},
      {false, true, false, 42, "Dir(HMC)", ""},
      {false, true, true, 48, "Dir(HMC)", "Uss1"},
      {false, false, true, 48, "---", "Uss1"},
      {true, false, true, 48, "Dir", "Uss1"},
  };
  for (const Case& c : cases) {
    IoSetup o;
    o.useDir = c.dir;
    o.useHmc = c.hmc;
    o.useUss = c.uss;
    list = operandList(o);
    ASSERT_EQ(list.size(), c.size) << c.dir << c.hmc << c.uss;
    EXPECT_EQ(list[41], c.at41);
    if (c.size > 44) {
      EXPECT_EQ(list[44], c.at44);
    }
  }
}

TEST(VariableForm, TypedNumbersAreLimitedToWhatTheFileHolds) {
  struct Case {
    const char* text;
    int n;
  } cases[] = {{"12", 12},          {" -7 ", -7},       {"+5", 5},         {"abc", 0},        {"", 0},
               {"-", 0},            {"1x", 0},          {"999999", 999999}, {"1000000", 999999},
               {"99999999999999999999", 999999},        {"-100000", -99999}, {"-99999", -99999}};
  for (const Case& c : cases) EXPECT_EQ(variableNumberFromText(c.text), c.n) << c.text;
}

TEST(VariableForm, RefreshSnapsOperatorsAndNormalisesTheValue) {
  const std::vector<std::string> ops = operandList(plainBoard());
  struct Case {
    const char* what;
    bool statement;
    VariableForm in;
    int op1, op2, item;
    std::string text, preview;
  } cases[] = {
      {"a statement snaps == back to =", true, form(0, 1, 1, 1, "1"), 0, 1, -1, "1", "A = A + 1"},
      {"a condition snaps = to ==", false, form(0, 0, 2, 0, ""), 1, 0, -1, "", "A == B"},
      {"division by nothing becomes by 1", true, form(2, 0, 2, 4, "0"), 0, 4, -1, "1", "C = B / 1"},
      {"modulo likewise", false, form(2, 3, 2, 5, "x"), 3, 5, -1, "1", "C < B % 1"},
      {"no operand forces * to none", true, form(0, 0, 0, 3, "4"), 0, 0, -1, "4", "A = 4"},
      {"no operand keeps a negation", true, form(0, 0, 0, 2, "5"), 0, 2, -1, "5", "A =  - 5"},
      {"operand without operator drops the value", true, form(0, 0, 3, 0, "12"), 0, 0, -1, "", "A = C"},
      {"a dropped item is deselected", true, form(0, 0, 3, 0, "", 28), 0, 0, -1, "", "A = C"},
      {"an item is kept with an operator", false, form(0, 2, 3, 1, "", 28), 2, 1, 28, "", "A != C + Timer2"},
      {"text that is no number reads 0", true, form(0, 0, 0, 0, "abc"), 0, 0, -1, "0", "A = 0"},
      {"a typed minus stays", true, form(0, 0, 0, 0, "-7"), 0, 0, -1, "-7", "A = -7"},
      {"a lone minus stays while typing", true, form(0, 0, 0, 0, "-"), 0, 0, -1, "-", "A = -"},
      {"too large is limited", true, form(0, 0, 0, 0, "1234567"), 0, 0, -1, "999999", "A = 999999"},
      {"too small is limited", true, form(0, 0, 0, 0, "-1234567"), 0, 0, -1, "-99999", "A = -99999"},
      {"the number item reads as a typed 0", true, form(0, 0, 0, 0, "Number", 0), 0, 0, 0, "0", "A = 0"},
  };
  for (Case c : cases) {
    const std::string preview = refreshVariableForm(c.in, c.statement, false, ops);
    EXPECT_EQ(c.in.operator1, c.op1) << c.what;
    EXPECT_EQ(c.in.operator2, c.op2) << c.what;
    EXPECT_EQ(c.in.valueItem, c.item) << c.what;
    EXPECT_EQ(c.in.valueText, c.text) << c.what;
    EXPECT_EQ(preview, c.preview) << c.what;
  }
}

TEST(VariableForm, BoardRules) {
  IoSetup io;
  io.useUss = true;
  const std::vector<std::string> ops = operandList(io);

  // A module operand is read on this board: its board falls to 0, its selector is disabled,
  // and a module value is dropped.
  VariableForm f = form(0, 1, 44, 1, "", 45);
  f.operandBoard = 3;
  EXPECT_EQ(refreshVariableForm(f, false, true, ops), "I/O[0]:A == I/O[0]:Uss1 + 0");
  EXPECT_EQ(f.operandBoard, 0);
  EXPECT_FALSE(f.operandBoardEnabled);
  EXPECT_TRUE(f.operandBoardShown);
  EXPECT_EQ(f.valueItem, 0);

  // No operand: the operand board is 0 and hidden, the target selector enabled again.
  f = form(1, 0, 0, 0, "3");
  f.targetBoard = 2;
  f.operandBoard = 4;
  f.targetBoardEnabled = false;
  EXPECT_EQ(refreshVariableForm(f, true, true, ops), "I/O[2]:B = 3");
  EXPECT_EQ(f.operandBoard, 0);
  EXPECT_TRUE(f.targetBoardEnabled);
  EXPECT_FALSE(f.operandBoardShown);

  // A board on one side leaves the other side on this board.
  f = form(0, 0, 3, 1, "1");
  chooseVariableBoard(f, true, 5);
  EXPECT_FALSE(f.operandBoardEnabled);
  chooseVariableBoard(f, true, 0);
  chooseVariableBoard(f, false, 2);
  EXPECT_TRUE(f.operandBoardEnabled);
  EXPECT_FALSE(f.targetBoardEnabled);
  EXPECT_EQ(refreshVariableForm(f, true, true, ops), "I/O[0]:A = I/O[2]:C + 1");
}

TEST(VariableForm, LoadsAndPacksRows) {
  // K = Timer1 + 5
  VariableForm f = variableFormOf(10 * 10000 + 27 * 10 + 1, 5, 0, false, false, 41);
  EXPECT_EQ(f.target, 10);
  EXPECT_EQ(f.operand, 27);
  EXPECT_EQ(f.operator2, 1);
  EXPECT_EQ(f.valueText, "5");
  EXPECT_EQ(packVariable(f, false, 777), (VariableValues{31, 100271, 5, 777}));

  // An item value beyond the list selects nothing; OK then stores the typed number.
  f = variableFormOf(1011, 45, 0, true, false, 41);
  EXPECT_EQ(f.valueItem, -1);
  EXPECT_EQ(packVariable(f, false, 0).cno, 31);

  // Choosing Timer2 in the value list stores cno 32 and its index.
  f = variableFormOf(1011, 0, 0, false, false, 41);
  f.valueItem = 28;
  EXPECT_EQ(packVariable(f, false, 0), (VariableValues{32, 1011, 28, 0}));

  // Boards come from val2 in sub-I/O mode; a board on one side disables the other selector.
  f = variableFormOf(11, 1, 310000, false, true, 41);
  EXPECT_EQ(f.targetBoard, 3);
  EXPECT_EQ(f.operandBoard, 1);
  EXPECT_FALSE(f.targetBoardEnabled);
  EXPECT_FALSE(f.operandBoardEnabled);
  EXPECT_EQ(packVariable(f, true, 0).val2, 310000);

  // Damaged fields: operators and operands naming nothing read as none, numbers are limited.
  f = variableFormOf(-5, -3000000, 990000, false, true, 41);
  EXPECT_EQ(f.operator2, 0);
  EXPECT_EQ(f.valueText, "-99999");
  EXPECT_EQ(f.targetBoard, 0);
  EXPECT_EQ(f.operandBoard, 0);
  f = variableFormOf(259 * 10000 + 9999, 0, 0, false, false, 41);
  EXPECT_EQ(f.target, 0);
  EXPECT_EQ(f.operator1, 0);
  EXPECT_EQ(f.operand, 0);
}
