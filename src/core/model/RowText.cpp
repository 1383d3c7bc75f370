#include "core/model/RowText.h"

#include <initializer_list>
#include <string_view>
#include <vector>

#include "core/model/StatementKind.h"
#include "core/setup/IoSetup.h"
#include "core/text/Format.h"
#include "core/text/TextFile.h"

namespace kavel {
namespace {

using text::format;

// A word from a fixed list; an index outside it (damaged values) gives no text.
std::string pick(std::initializer_list<const char*> words, int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= words.size()) return {};
  return *(words.begin() + index);
}

std::string comparison(int i) { return pick({"<", ">", "=="}, i); }
std::string variableOperator(int i) { return pick({"=", "==", "!=", "<", "<=", ">", ">="}, i); }
std::string arithmetic(int i) { return pick({"", "+", "-", "*", "/", "%"}, i); }

int modeOf(const RowTextContext& c, int connectorIndex) {
  if (connectorIndex < 0 || connectorIndex >= 10) return 1;
  return c.cnMode[static_cast<std::size_t>(connectorIndex)];
}

std::string timeText(int g, int ms, const RowTextContext& c, bool leadingSpace) {
  if (g != 0) return (leadingSpace ? " " : "") + itemLetter(g);
  return format("%4.1f ", ms * 0.001) + c.timeUnit;
}

std::string motorText(const Statement& s) {
  const int a = s.val2 / 1000 % 100;
  const int b = s.val2 % 100;
  if (a == 0 && b == 0) return format("L:%4d%%  R:%4d%%", s.val0, s.val1);
  if (a == 0) return format("L:%4d%%  R: %s%%", s.val0, itemLetter(b).c_str());
  if (b == 0) return format("L: %s%%    R:%4d%%", itemLetter(a).c_str(), s.val1);
  return format("L: %s%%    R: %s%%", itemLetter(a).c_str(), itemLetter(b).c_str());
}

std::string sensorText(const Statement& s, const RowTextContext& c) {
  const int conn = s.val1 / 10 % 10;
  const std::string op = comparison(s.val1 % 10);
  const int board = s.val2 / 100000;
  const int otherBoard = s.val2 / 10000 % 10;
  const int k = s.val1 / 10000;
  std::string value;
  if (k >= 1 && k <= 26) {
    value = itemLetter(k);
  } else if (k >= 27 && k <= 36) {
    value = format("CN%d", k - 26);
  } else if (k == 0) {
    const int mode = modeOf(c, conn);
    if (mode == PingIn && c.currentProgram != 30) {
      value = format("%dcm", s.val0);
    } else if (mode == Thermistor) {
      value = format("%d\u2103", s.val0);
    } else {
      value = format("%d%%", s.val0);
    }
  }
  if (board != 0 && otherBoard != 0) {
    return format("I/O[%d]:CN%d %s I/O[%d]:%s", board, conn + 1, op.c_str(), otherBoard, value.c_str());
  }
  if (board != 0) return format("I/O[%d]:CN%d %s %s", board, conn + 1, op.c_str(), value.c_str());
  if (otherBoard != 0) return format("CN%d %s I/O[%d]:%s", conn + 1, op.c_str(), otherBoard, value.c_str());
  return format("CN%d %s %s", conn + 1, op.c_str(), value.c_str());
}

std::string directionText(const Statement& s, const RowTextContext& c) {
  const int axis = s.val1 / 100000;
  const int t = s.val1 / 1000 % 100;
  const int u = s.val1 % 100;
  const std::string target = t != 0 ? itemLetter(t) : format("%3d Deg", s.val0 / 1000);
  std::string out = c.useHmc ? format("Dir(HMC) == %s (+/-)", target.c_str())
                             : format("%s == %s (+/-)", pick({"Dir", "Pitch", "Roll"}, axis).c_str(), target.c_str());
  return out + (u != 0 ? itemLetter(u) : format("%3d", s.val0 % 1000));
}

std::string variableItemText(int n, const RowTextContext& c) {
  if (n >= 1 && n <= 26) return itemLetter(n);
  if (n >= 27 && n <= 30) return format("Timer%d", n - 26);
  if (n >= 31 && n <= 40) {
    return format("CN%d", n - 30) + (modeOf(c, n - 31) == PingIn ? ":PING" : "");
  }
  if (n == 41) return c.useHmc ? "Dir(HMC)" : "Dir";
  if (n == 42) return "Pitch";
  if (n == 43) return "Roll";
  if (n >= 44) return format("Uss%d", n - 43);
  return {};
}

std::string variableText(const Statement& s, const RowTextContext& c) {
  const int v = s.val0 / 10000;
  const int p = s.val0 / 1000 % 10;
  const int i = s.val0 / 10 % 100;
  const int q = s.val0 % 10;
  const int board = s.val2 / 100000;
  const int operandBoard = s.val2 / 10000 % 10;

  const std::string letter = letterForCode(65 + v);
  std::string out = board != 0 ? format("I/O[%d]:%s", board, letter.c_str()) : letter;
  out += " " + variableOperator(p);
  if (i > 0) {
    std::string second = variableItemText(i, c);
    if (operandBoard != 0 && i <= 40) second = format("I/O[%d]:%s", operandBoard, second.c_str());
    out += " " + second;
  }
  if (q > 0) out += " " + arithmetic(q);
  if (i == 0 || q > 0) {
    out += " " + (s.cno == kVariable ? format("%d", s.val1) : variableItemText(s.val1, c));
  }
  return out;
}

std::string pwmChannel(int w) {
  if (w == 999) return "   ***";
  if (w == 200) return "  BRK";
  if (w >= 201 && w <= 399) return format("  r%03d", w - 200);
  if (w >= 400 && w <= 499) return "   " + letterForCode(65 + w % 100) + "  ";
  if (w >= 500 && w <= 998) return "  r" + letterForCode(65 + w % 100) + "  ";
  return format("   %03d", w);
}

std::string pwmText(const Statement& s) {
  std::string out;
  for (int value : {s.val0, s.val1, s.val2}) out += pwmChannel(value / 1000) + pwmChannel(value % 1000);
  return out;
}

// An LCD item: "--" for none, "[X]" for a variable, nothing for anything else.
std::string lcdItem(int item, bool trailingSpace) {
  const char* space = trailingSpace ? " " : "";
  if (item == 0) return std::string("--") + space;
  if (item >= 1 && item <= 26) return "[" + itemLetter(item) + "]" + space;
  return {};
}

std::string lcdText(const Statement& s) {
  const int h = s.val0 / 100 % 100;
  const int i2 = s.val0 % 100;
  const int i3 = s.val1 / 10000 % 100;
  const int i4 = s.val1 / 100 % 100;
  std::string out = format("Line%d: ", s.val0 / 100000 + 1);
  switch (s.val0 / 10000 % 10) {
    case 0: return out + "\"" + s.cmt + "\"";
    case 1: return out + lcdItem(h, true);
    case 2: return out + lcdItem(h, true) + lcdItem(i2, false);
    case 3: return out + lcdItem(h, true) + lcdItem(i2, true) + lcdItem(i3, false);
    case 4: return out + lcdItem(h, true) + lcdItem(i2, true) + lcdItem(i3, true) + lcdItem(i4, false);
    case 5: {
      auto cn = [](int n) { return n > 26 ? n - 26 : n; };
      return out + format("[CN%d] [CN%d] [CN%d] [CN%d]", cn(h), cn(i2), cn(i3), cn(i4));
    }
    default: return out;
  }
}

std::string gamePadText(const Statement& s) {
  static const char* const kButtons[16] = {"R1", "R2", "L1", "L2", "\u2191", "\u2192", "\u2193", "\u2190",
                                           "\u25B3", "\u25CB", "\u00D7", "\u25A1", "RJ:", "RJ:Push", "LJ:", "LJ:Push"};
  std::string name = "None";
  for (int bit = 0; bit < 16; ++bit) {
    if (s.val0 & (1 << bit)) name = kButtons[bit];
  }
  if (s.val1 > 0) name += format("%d", s.val1);
  return "SNX4410 : [ " + name + " ]";
}

std::string ultrasonicText(const Statement& s) {
  if (s.sno == kUltrasonic) return "4chUSS: " + pick({"STOP", "START"}, s.val1 % 10);
  const int n = s.val1 / 10000 + 1;
  const std::string op = comparison(s.val1 % 10);
  const int g = s.val1 / 100 % 100;
  if (g != 0) return format("USS%d %s %s", n, op.c_str(), itemLetter(g).c_str());
  return format("USS%d %s %dcm", n, op.c_str(), s.val0 / 10);
}

std::string cameraText(const Statement& s) {
  const int a = s.val0;
  if (a / 100000 == 0) return "Get Pixy";
  std::string out = format("PixySig%d: ", a / 100000);
  const int m = a / 100 % 1000;
  if (m > 0) {
    out += "Pos:";
    const int digits[3] = {m % 10, m / 10 % 10, m / 100};
    for (int d = 0; d < 3; ++d) {
      for (int bit = 0; bit < 3; ++bit) {
        if (digits[d] & (1 << bit)) out += format("[%d]", d * 3 + bit + 1);
      }
    }
    if (a % 10 > 0) out += " && ";
  }
  const int size = a % 10;
  if (size == 1 || size == 2) {
    out += format("Size %s (w:%3d x h:%3d)", size == 1 ? "<" : ">", s.val1 / 1000, s.val1 % 1000);
  }
  return out;
}

std::string bodyText(const Statement& s, const RowTextContext& c) {
  switch (s.cno) {
    case kUnconditional:
      return c.language == 0 ? "\u7121\u6761\u4EF6\u30EB\u30FC\u30D7" : "Infinite Loop";
    case kRepeatCount: return format("[ x %d ]", s.val0);
    case kSubCall: return format("Sub-%d: ", s.val0);
    case kReturn: return "Return";
    case kSensorTest: return sensorText(s, c);
    case kDirectionTest: return directionText(s, c);
    case kWait: return "Wait:" + timeText(s.val1 / 100 % 100, s.val0, c, true);
    case kTimer:
      if (s.sno == kTimer) return format("Timer%d: Start", s.val1 / 10000 + 1);
      return format("Timer%d %s ", s.val1 / 10000 + 1, comparison(s.val1 % 10).c_str()) +
             timeText(s.val1 / 100 % 100, s.val0, c, false);
    case kVariable:
    case kVariableItem: return variableText(s, c);
    case kCCode: return s.cmt;
    case kGreenLedOff: case kGreenLedOn: case kRedLedOff: case kRedLedOn:
      return pick({"Green-LED", "Red1-LED", "Red2-LED", "Red3-LED"}, s.val0) + ": " + pick({"off", "on"}, s.val1);
    case kPwm: return pwmText(s);
    case kServo: return format("CN%d: %3d%%", s.val0 / 10000, s.val0 % 1000);
    case kOutput:
      return format(s.sno == kOutput ? "OUT CN%d = %s" : "OUT CN%d == %s", s.val0 + 1,
                    pick({"Low", "High"}, s.val1).c_str());
    case kLcd: return lcdText(s);
    case kGamePadTest: return gamePadText(s);
    case kUltrasonic: return ultrasonicText(s);
    case kCameraTest: return cameraText(s);
    default:
      if (isMotorKind(s.cno)) return motorText(s);
      return {};
  }
}

}  // namespace

std::string letterForCode(int code) {
  if (code < 0x20 || code > 0x7E) return "?";
  return std::string(1, static_cast<char>(code));
}

std::string itemLetter(int n) { return letterForCode(64 + n); }

std::string composeRowText(const Statement& row, const RowTextContext& context) {
  std::string out = bodyText(row, context);
  if (hasValueButton(row.sno) && !row.cmt.empty()) {
    if (row.cno == kSubCall) {
      out += text::fileNameOf(row.cmt);
    } else if (row.cno != kCCode && row.cno != kLcd) {
      out += "  //" + row.cmt;
    }
  }
  return out;
}

int valueButtonWidthForTextWidth(int textWidth) {
  const int w = 8 + textWidth + 4;
  if (w < 240) return 240;
  return (w - 240) / 40 * 40 + 240 + 40;
}

int valueButtonWidth(const std::string& text, const std::function<int(const std::string&)>& measure) {
  return valueButtonWidthForTextWidth(measure(text));
}

}  // namespace kavel
