#include "core/codegen/ConditionText.h"

#include <cstdint>

#include "core/codegen/OperandText.h"
#include "core/codegen/VariableExpression.h"
#include "core/model/StatementKind.h"
#include "core/text/Format.h"

namespace kavel {
namespace {

using text::format;

// The right operand of a sensor test written with variable names (sub-board reads and ping).
std::string namedOperand(int f, int br) {
  if (f >= 1 && f <= 26) {
    const std::string letter = letterFrom(f - 1);
    return br >= 1 ? format("sub_io_get_gV(%d, VAR_%s)", br, letter.c_str()) : format("gV[VAR_%s]", letter.c_str());
  }
  if (f >= 27 && f <= 36) {
    return br >= 1 ? format("sub_io_get_sensor(%d, CN%d)", br, f - 26) : format("gAD[CN%d]", f - 26);
  }
  return "";
}

// The right operand of an analog or thermistor test, which index variables by number.
std::string numberedOperand(int f, int br) {
  if (f >= 1 && f <= 26) return br >= 1 ? format("sub_io_get_gV(%d, %d)", br, f - 1) : format("gV[%d]", f - 1);
  if (f >= 27 && f <= 36) {
    return br >= 1 ? format("sub_io_get_sensor(%d, CN%d)", br, f - 26) : format("gAD[CN%d]", f - 26);
  }
  return "";
}

std::string sensorTest(const Statement& row, const CodeTextContext& context) {
  const int f = row.val1 / 10000;
  const int c = row.val1 / 10 % 10;
  const std::string op = comparisonOperator(row.val1 % 10);
  const int bs = row.val2 / 100000;
  const int br = row.val2 / 10000 % 10;
  const bool interrupt = context.program == 30;
  const long long v0 = row.val0;
  // The interrupt routine reads neither sub I/O boards nor ping sensors.
  if (bs >= 1 && !interrupt) {
    const std::string left = format("sub_io_get_sensor(%d, CN%d) %s ", bs, c + 1, op.c_str());
    return left + (f == 0 ? std::to_string(v0 * 1023 / 100) : namedOperand(f, br));
  }
  const int mode = connectorMode(context.io, c);
  std::string left;
  std::string number;
  bool named = false;
  if (mode == PingIn && !interrupt) {
    left = format("get_ping(CN%d)", c + 1);
    number = std::to_string(v0 * 10);
    named = true;
  } else if (mode == Thermistor) {
    left = format("get_temp(gAD[CN%d])", c + 1);
    number = std::to_string(v0 * 10);
  } else {
    left = format("gAD[CN%d]", c + 1);
    number = std::to_string(v0 * 1023 / 100);
  }
  const std::string right = f == 0 ? number : named ? namedOperand(f, br) : numberedOperand(f, br);
  if (right.empty()) return "";
  return left + " " + op + " " + right;
}

std::string directionTest(const Statement& row, const IoSetup& io) {
  std::string out;
  if (io.useHmc) {
    out = "judge_hmc(";
  } else if (io.useDir) {
    out = format("judge_dir(%d, ", row.val1 / 100000);
  } else if (io.useBno) {
    out = format("judge_bno(%d, ", row.val1 / 100000);
  }
  const int v = row.val1 / 1000 % 100;
  out += v != 0 ? format("gV[VAR_%s]", letterFrom(v - 1).c_str()) : std::to_string(row.val0 / 1000);
  const int w = row.val1 % 100;
  out += w != 0 ? format(", gV[VAR_%s])", letterFrom(w - 1).c_str()) : format(", %d)", row.val0 % 1000);
  return out;
}

std::string timerTest(const Statement& row) {
  const int v = row.val1 / 100 % 100;
  const std::string limit = v != 0 ? format("gV[VAR_%s]", letterFrom(v - 1).c_str()) : format("%dL", row.val0);
  return format("get_timer(T%d) %s %s", row.val1 / 10000 + 1, comparisonOperator(row.val1 % 10).c_str(),
                limit.c_str());
}

std::string gamePadTest(const Statement& row) {
  static const char* const names[16] = {"PSx_R1", "PSx_R2", "PSx_L1", "PSx_L2", "PSx_LU", "PSx_LR",
                                        "PSx_LD", "PSx_LL", "PSx_RU", "PSx_RR", "PSx_RD", "PSx_RL",
                                        nullptr,  "PSx_R3", nullptr,  "PSx_L3"};
  const auto bits = static_cast<std::uint32_t>(row.val0) & 0xFFFFu;
  std::string name;
  for (int bit = 0; bit < 16; ++bit) {
    if ((bits & (1u << bit)) == 0) continue;
    if (bit == 12) {
      name = format("PSx_RJ%d", row.val1);
    } else if (bit == 14) {
      name = format("PSx_LJ%d", row.val1);
    } else {
      name = names[bit];
    }
  }
  return "chk_snx4410(" + name + ")";
}

std::string ultrasonicTest(const Statement& row) {
  const int sensor = row.val1 / 10000 + 1;
  const std::string op = comparisonOperator(row.val1 % 10);
  const int v = row.val1 / 100 % 100;
  if (v != 0) return format("get_Uss(USS%d) %s gV[VAR_%s]", sensor, op.c_str(), letterFrom(v - 1).c_str());
  return format("get_Uss(USS%d) %s %d", sensor, op.c_str(), row.val0);
}

// The nine cells of the camera image as three digits of three bits each.
int cellMask(int p) {
  int mask = 0;
  for (int digit = 0; digit < 3; ++digit) {
    const int d = p % 10;
    p /= 10;
    for (int bit = 0; bit < 3; ++bit) {
      if (d & (1 << bit)) mask |= 1 << (digit * 4 + bit);
    }
  }
  return mask;
}

std::string cameraTest(const Statement& row) {
  const int s = row.val0 / 100000;
  const int p = row.val0 / 100 % 1000;
  const int m = row.val0 % 10;
  if (s == 0) return "i2c_get_pixy()";
  // The camera dialog can leave both tests out (Position Check ticked, no area marked): the
  // signature is then looked for in every area rather than giving an if with nothing in it.
  if (p == 0 && m == 0) return format("chk_pixydat_p(%d, 0x%04X)", s, static_cast<unsigned>(cellMask(777)));
  std::string out;
  if (p > 0) {
    out = format("chk_pixydat_p(%d, 0x%04X)", s, static_cast<unsigned>(cellMask(p)));
    if (m > 0) out += " && ";
  }
  if (m == 1 || m == 2) {
    out += format("get_pixydat_s(%d) %s ((UINT)%d * (UINT)%d)", s, m == 1 ? "<" : ">", row.val1 / 1000,
                  row.val1 % 1000);
  }
  return out;
}

}  // namespace

std::string cCodeCondition(const std::string& comment) {
  const std::size_t remark = comment.find("//");
  if (remark == std::string::npos) return comment;
  return comment.substr(0, remark >= 3 ? remark - 3 : 0);
}

std::string conditionText(const Statement& row, const CodeTextContext& context) {
  switch (row.cno) {
    case kUnconditional:
      return "TRUE";
    case kSensorTest:
      return sensorTest(row, context);
    case kDirectionTest:
      return directionTest(row, context.io);
    case kTimer:
      return timerTest(row);
    case kVariable:
    case kVariableItem:
      return variableExpression(row, context.io);
    case kCCode:
      return cCodeCondition(row.cmt);
    case kGreenLedOff:
    case kGreenLedOn:
    case kRedLedOff:
    case kRedLedOn:
      return format("get_Led(%d) == %s", row.val0, ledWord(row.val1).c_str());
    case kOutput:
      return format("get_Lat(CN%lld) == %s", static_cast<long long>(row.val0) + 1, levelWord(row.val1).c_str());
    case kGamePadTest:
      return gamePadTest(row);
    case kUltrasonic:
      return ultrasonicTest(row);
    case kCameraTest:
      return cameraTest(row);
    default:
      return "";
  }
}

}  // namespace kavel

