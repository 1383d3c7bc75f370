#include <gtest/gtest.h>

#include <climits>

#include "core/codegen/ConditionText.h"
#include "core/codegen/OperandText.h"
#include "core/codegen/StatementText.h"
#include "core/codegen/VariableExpression.h"
#include "core/model/StatementKind.h"
#include "Statements.h"

using namespace kavel;
using kavel::testing::row;

namespace {

// The lines a row gives in program `program` of a set with setup `io`.
std::vector<std::string> linesOf(const Statement& s, const IoSetup& io = {}, int program = 0) {
  std::vector<std::string> out;
  int k = 0;
  appendStatementLines(s, CodeTextContext{io, program}, k, out);
  return out;
}

std::string lineOf(const Statement& s, const IoSetup& io = {}, int program = 0) {
  const auto lines = linesOf(s, io, program);
  EXPECT_EQ(lines.size(), 1u) << "kind " << s.sno;
  return lines.empty() ? "<none>" : lines[0];
}

std::string conditionOf(int cno, int v0, int v1 = 0, int v2 = 0, const IoSetup& io = {}, int program = 0,
                        std::string cmt = {}) {
  return conditionText(row(kIf, cno, v0, v1, v2, std::move(cmt)), CodeTextContext{io, program});
}

IoSetup withMode(int connector, int mode) {
  IoSetup io;
  io.cnMode[static_cast<std::size_t>(connector - 1)] = mode;
  return io;
}

}  // namespace

TEST(StatementText, OneLineKinds) {
  IoSetup none;
  struct Case {
    Statement s;
    const char* text;
  } cases[] = {
      {row(kEnd, kClosesIfChain, 0), "}"},
      {row(kElse, 0, 0), "} else {"},
      {row(kContinue, 0, 0), "continue;"},
      {row(kBreak, 0, 0), "break;"},
      {row(kSubCall, kSubCall, 7, 0, 0, "Grab"), "user_sub_7();"},
      {row(kReturn, kReturn, 0), "return;"},
      {row(kWait, kWait, 500, 0), "wait_ms(500);"},
      {row(kWait, kWait, 500, 300), "wait_ms((UINT)gV[2]);"},
      {row(kTimer, kTimer, 0, 20000), "clr_timer(2);"},
      {row(kCCode, kCCode, 0, 0, 0, "a = 1;  \t// set"), "a = 1;  \t// set"},
      {row(kGreenLedOff, kGreenLedOff, 1, 0), "set_Led(1, LED_OFF);"},
      {row(kRedLedOn, kRedLedOn, 2, 1), "set_Led(2, LED_ON);"},
      {row(kServo, kServo, 7 * 10000 + 50), "cn7_servo(1500);"},
      {row(kOutput, kOutput, 2, 1), "set_Lat(CN3, HIGH);"},
      {row(kOutput, kOutput, 0, 0), "set_Lat(CN1, LOW);"},
      {row(kUltrasonic, kUltrasonic, 0, 0), "set_Uss(I2C_WCMD_STOP);"},
      {row(kUltrasonic, kUltrasonic, 0, 1), "set_Uss(I2C_WCMD_START);"},
      {row(kUltrasonic, kUltrasonic, 0, 2), "get_Uss(USS1);"},
      {row(kUltrasonic, kUltrasonic, 0, 7), ""},
      // Motor: numbers, then list items (item i is variable 'A' + i - 1).
      {row(kMotorForward, kMotorForward, 50, 50, 0), "motor(50, 50);"},
      {row(kMotorVariable, kMotorVariable, 0, 40, 2), "motor(0, gV[VAR_B]);"},
      {row(kMotorBackward, kMotorBackward, -30, -30, 3000), "motor(gV[VAR_C], -30);"},
      {row(kSpinLeft, kSpinLeft, 0, 0, 1002), "motor(gV[VAR_A], gV[VAR_B]);"},
      {row(kTurnBackwardRight, kTurnBackwardRight, -60, -20), "motor(-60, -20);"},
  };
  for (const auto& c : cases) EXPECT_EQ(lineOf(c.s, none), c.text) << "kind " << c.s.sno << " val0 " << c.s.val0;
}

TEST(StatementText, BlocksCarryTheirConditions) {
  IoSetup none;
  EXPECT_EQ(lineOf(row(kIf, kUnconditional, 0), none), "if (TRUE) {");
  EXPECT_EQ(lineOf(row(kElseIf, kGreenLedOn, 1, 1), none), "} else if (get_Led(1) == LED_ON) {");
  EXPECT_EQ(lineOf(row(kWhile, kOutput, 9, 0), none), "while (get_Lat(CN10) == LOW) {");
  // A condition kind without a C form leaves the parentheses empty for the compiler to report.
  EXPECT_EQ(lineOf(row(kIf, kSensorTestOld, 50, 1), none), "if () {");
}

TEST(StatementText, ForLoopsNumberTheirCounters) {
  IoSetup io;
  std::vector<std::string> out;
  int k = 0;
  appendStatementLines(row(kFor, kRepeatCount, 3), CodeTextContext{io, 0}, k, out);
  appendStatementLines(row(kFor, kRepeatCount, 10), CodeTextContext{io, 0}, k, out);
  EXPECT_EQ(out, (std::vector<std::string>{"for (n1 = 0; n1 < 3; n1++) {", "for (n2 = 0; n2 < 10; n2++) {"}));
  EXPECT_EQ(k, 2);
}

TEST(StatementText, KindsWithoutCGiveNoLine) {
  for (int kind : std::initializer_list<int>{kSetup, 11, 12, kSensorTestOld, kSensorTest, kDirectionTest, 16, 17, 18, kVariableItem, 42,
                                            kGamePadTest, kCameraTest, 46, 99, -1, INT_MIN}) {
    EXPECT_TRUE(linesOf(row(kind, kind, 1, 1, 1)).empty()) << "kind " << kind;
  }
}

TEST(StatementText, PwmChannels) {
  // Each value holds two channels: code = value / 1000 (even channel), value % 1000 (odd).
  EXPECT_EQ(linesOf(row(kPwm, kPwm, 999999, 999999, 999999)), (std::vector<std::string>{"pwm_out();"}));
  EXPECT_EQ(linesOf(row(kPwm, kPwm, 250999, 999999, 999999)),
            (std::vector<std::string>{"gPwm[0] = 0x32 | 0x80;", "pwm_out();"}));
  EXPECT_EQ(linesOf(row(kPwm, kPwm, 999199, 400999, 999525)),
            (std::vector<std::string>{
                "gPwm[1] = 0xC7;",
                "gPwm[2] = gV[VAR_A] < 0 ? (gV[VAR_A] * -1) | 0x80 : gV[VAR_A];",
                "gPwm[5] = gV[VAR_Z] < 0 ? gV[VAR_Z] * -1 : gV[VAR_Z] | 0x80;",
                "pwm_out();",
            }));
  // Codes no dialog stores: a negative code sets nothing, a letter beyond Z reads "?".
  EXPECT_EQ(linesOf(row(kPwm, kPwm, -5, 999999, 999999)),
            (std::vector<std::string>{"gPwm[0] = 0x00;", "pwm_out();"}));
  EXPECT_EQ(linesOf(row(kPwm, kPwm, 499999, 999999, 999999))[0],
            "gPwm[0] = gV[VAR_?] < 0 ? (gV[VAR_?] * -1) | 0x80 : gV[VAR_?];");
}

TEST(StatementText, LcdForms) {
  struct Case {
    int v0, v1;
    const char* cmt;
    const char* text;
  } cases[] = {
      {100000, 0, "Hi \"you\"", "lcd_putX(2, (ROMC *)\"Hi \\\"you\\\"\");"},
      {100000, 0, "C:\\x\ty", "lcd_putX(2, (ROMC *)\"C:\\\\x\\011y\");"},
      // Beyond ASCII: the display's bytes (CP932) as escapes, so that no byte 0x5C of a
      // Japanese character can end the string early.
      {0, 0, "\xEF\xBD\xB1\xE8\xA1\xA8", "lcd_putX(1, (ROMC *)\"\\261\\225\\134\");"},
      {0, 0, "\xE2\x91\xA0!", "lcd_putX(1, (ROMC *)\"\\207\\100!\");"},
      {10300, 0, "", "lcd_puts_var1(1, VAR_C);"},
      {10000, 0, "", ""},
      {20304, 0, "", "lcd_puts_var2(1, VAR_C, VAR_D);"},
      {20300, 0, "", ""},  // form 2 with b = 0: an empty line
      {130102, 30000, "", "lcd_puts_var3(2, VAR_A, VAR_B, VAR_C);"},
      {40102, 30400, "", "lcd_puts_var4(1, VAR_A, VAR_B, VAR_C, VAR_D);"},
      {40102, 30000, "", ""},
      {52728, 293000, "", "lcd_puts_sensor(1, CN1, CN2, CN3, CN4);"},
      {52728, 262900, "", ""},  // c = 26 is a variable, not a connector
      {60101, 10100, "", ""},   // no form 6
      {-10300, 0, "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(lineOf(row(kLcd, kLcd, c.v0, c.v1, 0, c.cmt)), c.text) << c.v0 << " " << c.v1;
  }
}

TEST(VariableExpression, LocalFormsAndConditions) {
  IoSetup io;
  io.cnMode[0] = PingIn;
  io.cnMode[1] = Thermistor;
  IoSetup bno;
  bno.useBno = true;
  struct Case {
    Statement s;
    const IoSetup& io;
    const char* text;
  } cases[] = {
      {row(kVariable, kVariable, 0, 5), io, "gV[VAR_A] = 5;"},
      {row(kVariable, kVariable, 21, 1), io, "gV[VAR_A] = gV[VAR_B] + 1;"},
      {row(kVariable, kVariable, 2, 5), io, "gV[VAR_A] = - 5;"},
      {row(kVariable, kVariableItem, 252035, 3), io, "gV[VAR_Z] != gV[VAR_C] % gV[VAR_C];"},
      {row(kVariable, kVariableItem, 310, 31), io, "gV[VAR_A] = get_ping(CN1);"},
      {row(kVariable, kVariableItem, 320, 27), io, "gV[VAR_A] = get_temp(gAD[CN2]);"},
      {row(kVariable, kVariableItem, 330, 47), io, "gV[VAR_A] = gAD[CN3];"},
      {row(kVariable, kVariableItem, 473, 1), io, "gV[VAR_A] = get_Uss(USS4) * gV[VAR_A];"},
      {row(kVariable, kVariableItem, 0, 0), io, "gV[VAR_A] = gV[VAR_A];"},  // index 0 reads as 1
      {row(kVariable, kVariableItem, 0, 42), bno, "gV[VAR_A] = get_bno(1);"},
      {row(kVariable, kVariableItem, 0, 42), io, "gV[VAR_A] = ;"},  // no direction sensor fitted
      {row(kIf, kVariableItem, 11000, 31), IoSetup{}, "gV[VAR_B] == gAD[CN1]"},
      {row(kIf, kVariable, 22000, 100, 300000), io, "sub_io_get_gV(3, VAR_C) != 100"},
      {row(kWhile, kVariableItem, 3020, 28, 10000), io, "gV[VAR_A] < sub_io_get_gV(1, VAR_B)"},
      {row(kWhile, kVariableItem, 3282, 28, 10000), io, "gV[VAR_A] < sub_io_get_gT(1, T2) - get_timer(T2)"},
      {row(kWhile, kVariableItem, 3440, 28, 10000), io, "gV[VAR_A] < "},  // no sub-board form
      {row(kWhile, kVariable, 8000, 1), io, "gV[VAR_A]  1"},                // operator beyond the list
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.s.sno == kVariable ? lineOf(c.s, c.io) : conditionText(c.s, CodeTextContext{c.io, 0}), c.text)
        << c.s.val0 << " " << c.s.val1 << " " << c.s.val2;
  }
}

TEST(VariableExpression, AssignmentsToSubBoards) {
  IoSetup io;
  io.useDir = true;
  struct Case {
    int cno, v0, v1, v2;
    const char* text;
  } cases[] = {
      {kVariable, 0, 7, 100000, "sub_io_set_gV(1, VAR_A, 7);"},
      {kVariableItem, 10000, 2, 200000, "sub_io_set_gV(2, VAR_B, gV[VAR_B]);"},
      {kVariableItem, 20000, 41, 200000, "gTmpUint = get_dir(0); sub_io_set_gV(2, VAR_C, gTmpUint);"},
      {kVariableItem, 20000, 44, 200000, ""},
      {kVariable, 5020, 0, 300000, "sub_io_set_gV(3, VAR_A, gV[VAR_B]);"},  // o1 is not used
      {kVariable, 21, 4, 300000, "sub_io_set_gV(3, VAR_A, gV[VAR_B] + 4);"},
      {kVariableItem, 23, 42, 300000, "gTmpUint = gV[VAR_B] * get_dir(1); sub_io_set_gV(3, VAR_A, gTmpUint);"},
      {kVariableItem, 23, 45, 300000, ""},
      {kVariable, 430, 0, 100000, "gTmpUint = get_dir(2); sub_io_set_gV(1, VAR_A, gTmpUint);"},
      {kVariable, 432, 9, 100000, "gTmpUint = get_dir(2) - 9; sub_io_set_gV(1, VAR_A, gTmpUint);"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(lineOf(row(kVariable, c.cno, c.v0, c.v1, c.v2), io), c.text) << c.v0 << " " << c.v1;
  }
}

TEST(ConditionText, SensorTest) {
  const IoSetup analog;
  const IoSetup ping10 = withMode(10, PingIn);
  const IoSetup thermistor1 = withMode(1, Thermistor);
  struct Case {
    int v0, v1, v2;
    const IoSetup& io;
    int program;
    const char* text;
  } cases[] = {
      {50, 0, 0, analog, 0, "gAD[CN1] < 511"},
      {50, 90, 0, ping10, 0, "get_ping(CN10) < 500"},
      {50, 90, 0, ping10, 30, "gAD[CN10] < 511"},  // no ping in the interrupt routine
      {25, 1, 0, thermistor1, 0, "get_temp(gAD[CN1]) > 250"},
      {25, 1, 0, thermistor1, 30, "get_temp(gAD[CN1]) > 250"},
      {0, 20002, 0, analog, 0, "gAD[CN1] == gV[1]"},
      {0, 20002, 10000, analog, 0, "gAD[CN1] == sub_io_get_gV(1, 1)"},
      {0, 300022, 0, analog, 0, "gAD[CN3] == gAD[CN4]"},
      {0, 300022, 20000, analog, 0, "gAD[CN3] == sub_io_get_sensor(2, CN4)"},
      {0, 20090, 0, ping10, 0, "get_ping(CN10) < gV[VAR_B]"},
      {0, 20090, 30000, ping10, 0, "get_ping(CN10) < sub_io_get_gV(3, VAR_B)"},
      {0, 360090, 0, ping10, 0, "get_ping(CN10) < gAD[CN10]"},
      {0, 360090, 40000, ping10, 0, "get_ping(CN10) < sub_io_get_sensor(4, CN10)"},
      {0, 20000, 0, thermistor1, 0, "get_temp(gAD[CN1]) < gV[1]"},
      {0, 270000, 50000, thermistor1, 0, "get_temp(gAD[CN1]) < sub_io_get_sensor(5, CN1)"},
      // The tested connector on a sub I/O board.
      {50, 11, 200000, analog, 0, "sub_io_get_sensor(2, CN2) > 511"},
      {0, 30012, 210000, analog, 0, "sub_io_get_sensor(2, CN2) == sub_io_get_gV(1, VAR_C)"},
      {0, 280012, 200000, analog, 0, "sub_io_get_sensor(2, CN2) == gAD[CN2]"},
      {0, 370012, 200000, analog, 0, "sub_io_get_sensor(2, CN2) == "},
      {50, 11, 200000, analog, 30, "gAD[CN2] > 511"},
      // A right operand beyond the connectors has no C form.
      {0, 370000, 0, analog, 0, ""},
      {0, 370090, 0, ping10, 0, ""},
      {0, 370000, 0, thermistor1, 0, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(conditionOf(kSensorTest, c.v0, c.v1, c.v2, c.io, c.program), c.text)
        << c.v0 << " " << c.v1 << " " << c.v2 << " in " << c.program;
  }
}

TEST(ConditionText, OtherSubjects) {
  IoSetup dir;
  dir.useDir = true;
  IoSetup hmc;
  hmc.useHmc = true;
  hmc.useDir = true;
  IoSetup bno;
  bno.useBno = true;
  const IoSetup none;
  struct Case {
    int cno, v0, v1;
    const IoSetup& io;
    const char* cmt;
    const char* text;
  } cases[] = {
      {kUnconditional, 0, 0, none, "", "TRUE"},
      {kDirectionTest, 90 * 1000 + 30, 0, dir, "", "judge_dir(0, 90, 30)"},
      {kDirectionTest, 90 * 1000 + 30, 100000, bno, "", "judge_bno(1, 90, 30)"},
      {kDirectionTest, 0, 2003, hmc, "", "judge_hmc(gV[VAR_B], gV[VAR_C])"},
      {kDirectionTest, 45010, 0, none, "", "45, 10)"},
      {kTimer, 2500, 10001, none, "", "get_timer(T2) > 2500L"},
      {kTimer, 0, 30402, none, "", "get_timer(T4) == gV[VAR_D]"},
      {kCCode, 0, 0, none, "x > 5  \t// limit", "x > 5"},
      {kCCode, 0, 0, none, "x > 5", "x > 5"},
      {kCCode, 0, 0, none, "//x", ""},
      {kRedLedOff, 2, 0, none, "", "get_Led(2) == LED_OFF"},
      {kOutput, 4, 1, none, "", "get_Lat(CN5) == HIGH"},
      {kUltrasonic, 30, 10000, none, "", "get_Uss(USS2) < 30"},
      {kUltrasonic, 30, 30501, none, "", "get_Uss(USS4) > gV[VAR_E]"},
      {kGamePadTest, 3, 0, none, "", "chk_snx4410(PSx_R2)"},
      {kGamePadTest, 512, 0, none, "", "chk_snx4410(PSx_RR)"},
      {kGamePadTest, 4096, 3, none, "", "chk_snx4410(PSx_RJ3)"},
      {kGamePadTest, 0xC000, 0, none, "", "chk_snx4410(PSx_L3)"},
      {kGamePadTest, 0x4000, 5, none, "", "chk_snx4410(PSx_LJ5)"},
      {kGamePadTest, 0, 0, none, "", "chk_snx4410()"},
      {kGamePadTest, 0x10000, 0, none, "", "chk_snx4410()"},  // only the low 16 bits count
      {kCameraTest, 0, 0, none, "", "i2c_get_pixy()"},
      {kCameraTest, 122200, 50050, none, "", "chk_pixydat_p(1, 0x0222)"},
      {kCameraTest, 377701, 40030, none, "", "chk_pixydat_p(3, 0x0777) && get_pixydat_s(3) < ((UINT)40 * (UINT)30)"},
      {kCameraTest, 200002, 50050, none, "", "get_pixydat_s(2) > ((UINT)50 * (UINT)50)"},
      {kCameraTest, 210003, 0, none, "", "chk_pixydat_p(2, 0x0100) && "},  // size test 3 does not exist
      // Position Check ticked with no area marked and no size test: seen anywhere.
      {kCameraTest, 400000, 50050, none, "", "chk_pixydat_p(4, 0x0777)"},
      {kSensorTestOld, 50, 1, none, "", ""},
      {kMotorForward, 50, 50, none, "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(conditionOf(c.cno, c.v0, c.v1, 0, c.io, 0, c.cmt), c.text) << "subject " << c.cno << " " << c.v0;
  }
}

TEST(CodeText, DamagedValuesStayInBounds) {
  // Values no dialog produces: every text is still made of what the formulas give, with "?"
  // for letters outside A..Z and empty words where a list has no entry.
  IoSetup io;
  io.useDir = true;
  const int extremes[] = {INT_MIN, -999999, -99999, -1, 0, 1, 99, 999999, INT_MAX};
  for (int kind = -2; kind <= 47; ++kind) {
    for (int v : extremes) {
      for (int program : {0, 30}) {
        Statement s = row(kind, kind, v, v, v, "c");
        (void)linesOf(s, io, program);
        for (int cno = 0; cno <= 47; ++cno) {
          s.sno = kIf;
          s.cno = cno;
          (void)conditionText(s, CodeTextContext{io, program});
        }
      }
    }
  }
  EXPECT_EQ(lineOf(row(kMotorVariable, kMotorVariable, 0, 0, 99)), "motor(0, gV[VAR_?]);");
  EXPECT_EQ(lineOf(row(kOutput, kOutput, INT_MAX, 7)), "set_Lat(CN2147483648, );");
  EXPECT_EQ(lineOf(row(kGreenLedOn, kGreenLedOn, 1, -1)), "set_Led(1, );");
  // Operator digit 5 has no entry; the scaled value does not overflow.
  EXPECT_EQ(conditionOf(kSensorTest, INT_MAX, 5), "gAD[CN1]  21968757708");
  // A negative connector digit reads as an analog input rather than indexing the modes.
  EXPECT_EQ(conditionOf(kSensorTest, 10, -90, 0, withMode(10, PingIn)), "gAD[CN-8] < 102");
  EXPECT_EQ(lineOf(row(kVariable, kVariable, 990000, 1)), "gV[VAR_?] = 1;");
  EXPECT_EQ(operandText(48, io), "");
  EXPECT_EQ(operandText(-3, io), "");
  EXPECT_EQ(subBoardOperandText(41, 1), "");
  EXPECT_EQ(letterFrom(INT_MAX), "?");
  EXPECT_EQ(letterFrom(INT_MIN), "?");
}
