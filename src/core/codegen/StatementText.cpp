#include "core/codegen/StatementText.h"

#include <string_view>

#include "core/codegen/OperandText.h"
#include "core/codegen/VariableExpression.h"
#include "core/model/RowText.h"
#include "core/model/StatementKind.h"
#include "core/text/Encoding.h"
#include "core/text/Format.h"

namespace kavel {
namespace {

using text::format;

std::string waitText(const Statement& row) {
  const int v = row.val1 / 100 % 100;
  const std::string time = v != 0 ? format("(UINT)gV[%d]", v - 1) : std::to_string(row.val0);
  return "wait_ms(" + time + ");";
}

std::string ultrasonicText(const Statement& row) {
  switch (row.val1 % 10) {
    case 0:
      return "set_Uss(I2C_WCMD_STOP);";
    case 1:
      return "set_Uss(I2C_WCMD_START);";
    case 2:
      return "get_Uss(USS1);";
    default:
      return "";
  }
}

}  // namespace

std::string motorText(const Statement& row) {
  const int l = row.val2 / 1000 % 100;
  const int r = row.val2 % 100;
  if (row.val2 == 0) return format("motor(%d, %d);", row.val0, row.val1);
  if (l == 0) return format("motor(%d, gV[VAR_%s]);", row.val0, itemLetter(r).c_str());
  if (r == 0) return format("motor(gV[VAR_%s], %d);", itemLetter(l).c_str(), row.val1);
  return format("motor(gV[VAR_%s], gV[VAR_%s]);", itemLetter(l).c_str(), itemLetter(r).c_str());
}

std::vector<std::string> pwmLines(const Statement& row) {
  std::vector<std::string> lines;
  for (int i = 0; i < 6; ++i) {
    const int value = row.val(i / 2);
    const int v = i % 2 == 0 ? value / 1000 : value % 1000;
    if (v >= 0 && v <= 199) {
      lines.push_back(format("gPwm[%d] = 0x%02X;", i, static_cast<unsigned>(v) & 0xFFu));
    } else if (v >= 200 && v <= 399) {
      lines.push_back(format("gPwm[%d] = 0x%02X | 0x80;", i, static_cast<unsigned>(v - 200) & 0xFFu));
    } else if (v >= 400 && v <= 599) {
      const std::string letter = letterFrom(v % 100);
      const char* l = letter.c_str();
      lines.push_back(v < 500 ? format("gPwm[%d] = gV[VAR_%s] < 0 ? (gV[VAR_%s] * -1) | 0x80 : gV[VAR_%s];", i, l, l, l)
                              : format("gPwm[%d] = gV[VAR_%s] < 0 ? gV[VAR_%s] * -1 : gV[VAR_%s] | 0x80;", i, l, l, l));
    }
    // 600 and above: the channel is left as it is.
  }
  lines.emplace_back("pwm_out();");
  return lines;
}

// The text between the quotes of a C string literal that holds `text`: the user's quote or
// backslash would otherwise end the literal or start an escape, and User.c would not compile
// or would do something else.
std::string cStringContent(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const char c = text[i];
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
      ++i;
    } else if (byte < 0x20 || byte == 0x7F) {
      out += format("\\%03o", byte);
      ++i;
    } else if (byte < 0x80) {
      out += c;
      ++i;
    } else {
      // A character beyond ASCII goes in as the bytes the display gets (CP932, whose half-width
      // katakana the display shows), written as escapes: a raw second byte of 0x5C would
      // otherwise act as a backslash in the compiler and break the string.
      const std::size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
      const std::string_view character = text.substr(i, length);
      const std::optional<std::string> cp932 = text::utf8ToCp932(character);
      for (const char b : cp932 ? std::string_view(*cp932) : character) out += format("\\%03o", static_cast<unsigned char>(b));
      i += character.size();
    }
  }
  return out;
}

std::string lcdText(const Statement& row) {
  const int line = row.val0 / 100000 + 1;
  const int form = row.val0 / 10000 % 10;
  const int a = row.val0 / 100 % 100;
  const int b = row.val0 % 100;
  const int c = row.val1 / 10000 % 100;
  const int d = row.val1 / 100 % 100;
  const auto L = [](int item) { return itemLetter(item); };
  switch (form) {
    case 0:
      return format("lcd_putX(%d, (ROMC *)\"%s\");", line, cStringContent(row.cmt).c_str());
    case 1:
      if (a >= 1) return format("lcd_puts_var1(%d, VAR_%s);", line, L(a).c_str());
      break;
    case 2:
      if (a >= 1 && b >= 1) return format("lcd_puts_var2(%d, VAR_%s, VAR_%s);", line, L(a).c_str(), L(b).c_str());
      break;
    case 3:
      if (a >= 1 && b >= 1 && c >= 1) {
        return format("lcd_puts_var3(%d, VAR_%s, VAR_%s, VAR_%s);", line, L(a).c_str(), L(b).c_str(), L(c).c_str());
      }
      break;
    case 4:
      if (a >= 1 && b >= 1 && c >= 1 && d >= 1) {
        return format("lcd_puts_var4(%d, VAR_%s, VAR_%s, VAR_%s, VAR_%s);", line, L(a).c_str(), L(b).c_str(),
                      L(c).c_str(), L(d).c_str());
      }
      break;
    case 5:
      if (a >= 27 && b >= 27 && c >= 27 && d >= 27) {
        return format("lcd_puts_sensor(%d, CN%d, CN%d, CN%d, CN%d);", line, a - 26, b - 26, c - 26, d - 26);
      }
      break;
    default:
      break;
  }
  return "";
}

void appendStatementLines(const Statement& row, const CodeTextContext& context, int& forCounter,
                          std::vector<std::string>& out) {
  switch (row.sno) {
    case kEnd:
      out.emplace_back("}");
      break;
    case kIf:
      out.push_back("if (" + conditionText(row, context) + ") {");
      break;
    case kElseIf:
      out.push_back("} else if (" + conditionText(row, context) + ") {");
      break;
    case kElse:
      out.emplace_back("} else {");
      break;
    case kWhile:
      out.push_back("while (" + conditionText(row, context) + ") {");
      break;
    case kFor: {
      const int k = ++forCounter;
      out.push_back(format("for (n%d = 0; n%d < %d; n%d++) {", k, k, row.val0, k));
      break;
    }
    case kContinue:
      out.emplace_back("continue;");
      break;
    case kBreak:
      out.emplace_back("break;");
      break;
    case kSubCall:
      out.push_back(format("user_sub_%d();", row.val0));
      break;
    case kReturn:
      out.emplace_back("return;");
      break;
    case kWait:
      out.push_back(waitText(row));
      break;
    case kTimer:
      out.push_back(format("clr_timer(%d);", row.val1 / 10000));
      break;
    case kVariable:
      out.push_back(variableExpression(row, context.io));
      break;
    case kCCode:
      out.push_back(row.cmt);
      break;
    case kPwm:
      for (std::string& line : pwmLines(row)) out.push_back(std::move(line));
      break;
    case kServo:
      out.push_back(format("cn%d_servo(%d);", row.val0 / 10000, row.val0 % 1000 * 20 + 500));
      break;
    case kOutput:
      out.push_back(format("set_Lat(CN%lld, %s);", static_cast<long long>(row.val0) + 1, levelWord(row.val1).c_str()));
      break;
    case kLcd:
      out.push_back(lcdText(row));
      break;
    case kUltrasonic:
      out.push_back(ultrasonicText(row));
      break;
    default:
      if (isMotorKind(row.sno)) {
        out.push_back(motorText(row));
      } else if (isLedKind(row.sno)) {
        out.push_back(format("set_Led(%d, %s);", row.val0, ledWord(row.val1).c_str()));
      }
      break;
  }
}

}  // namespace kavel
