#include "core/dialogs/VariableForm.h"

#include <algorithm>
#include <cstdint>

#include "core/codegen/OperandText.h"
#include "core/dialogs/OperandList.h"
#include "core/dialogs/SubIoBoards.h"

namespace kavel {
namespace {

constexpr int kMinus = 2;
constexpr int kDivide = 4;
constexpr int kModulo = 5;

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

int inRangeOr(int value, int low, int high, int otherwise) {
  return value >= low && value <= high ? value : otherwise;
}

// The value text to show for a typed number n that the second operator uses: a division by
// nothing becomes a division by 1.
std::string shownNumber(int n, int operator2) {
  if (n == 0 && (operator2 == kDivide || operator2 == kModulo)) return "1";
  return std::to_string(n);
}

std::string entry(const std::vector<std::string>& operands, int index) {
  return index > 0 && index < static_cast<int>(operands.size()) ? operands[static_cast<std::size_t>(index)] : "";
}

}  // namespace

int variableNumberFromText(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return 0;
  std::int64_t magnitude = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return 0;
    // Only whether the number passes a limit matters, so stop counting just beyond it.
    magnitude = std::min<std::int64_t>(magnitude * 10 + (c - '0'), std::int64_t{kVariableNumberMax} + 1);
  }
  const std::int64_t n = negative ? -magnitude : magnitude;
  return static_cast<int>(std::clamp<std::int64_t>(n, kVariableNumberMin, kVariableNumberMax));
}

VariableForm variableFormOf(int val0, int val1, int val2, bool itemValue, bool subIo, int operandCount) {
  VariableForm f;
  f.target = inRangeOr(val0 / 10000, 0, 25, 0);
  f.operator1 = inRangeOr(val0 / 1000 % 10, 0, 6, 0);
  f.operand = inRangeOr(val0 / 10 % 100, 0, operandCount - 1, 0);
  f.operator2 = inRangeOr(val0 % 10, 0, 5, 0);
  if (itemValue) {
    f.valueItem = inRangeOr(val1, 1, operandCount - 1, -1);
  } else {
    f.valueItem = -1;
    f.valueText = std::to_string(std::clamp(val1, kVariableNumberMin, kVariableNumberMax));
  }
  if (subIo) {
    f.targetBoard = boardOf(val2 / 100000);
    f.operandBoard = boardOf(val2 / 10000 % 10);
    f.targetBoardEnabled = f.operandBoard == 0;
    f.operandBoardEnabled = f.targetBoard == 0;
  }
  return f;
}

std::string refreshVariableForm(VariableForm& f, bool statement, bool subIo, const std::vector<std::string>& operands) {
  int v = std::max(f.valueItem, 0);
  // Board rules.
  if (f.operand == 0) {
    f.operandBoard = 0;
    f.targetBoardEnabled = true;
  } else if (isModuleOperand(f.operand)) {
    // Sensor modules are read on this board only.
    f.operandBoard = 0;
    f.operandBoardEnabled = false;
    if (isModuleOperand(v)) {
      f.valueItem = 0;
      v = 0;
    }
  } else if (f.targetBoard == 0) {
    f.operandBoardEnabled = true;
  }

  const int n = v == 0 ? variableNumberFromText(f.valueText) : 0;
  if (statement) {
    f.operator1 = 0;
  } else if (f.operator1 == 0) {
    f.operator1 = 1;
  }

  std::string preview = subIo ? boardCaption(f.targetBoard) + ":" : "";
  preview += letterFrom(f.target) + " " + firstOperator(f.operator1) + " ";

  std::string show;
  if (f.operand != 0) {
    f.operandBoardShown = subIo;
    if (subIo) preview += boardCaption(f.operandBoard) + ":";
    preview += entry(operands, f.operand);
    if (f.operator2 != 0) {
      show = shownNumber(n, f.operator2);
    } else {
      // Without an arithmetic operator the operand is the whole right-hand side.
      f.valueItem = -1;
      v = 0;
    }
  } else {
    f.operandBoardShown = false;
    f.operandBoard = 0;
    // Without an operand only a negation may stand before the number.
    if (f.operator2 != kMinus) f.operator2 = 0;
    show = std::to_string(n);
  }
  if (f.operator2 != 0) preview += " " + secondOperator(f.operator2) + " ";

  if (v == 0) {
    if (f.valueText.empty() || f.valueText.front() != '-') {
      f.valueText = show;
    } else if (const int typed = variableNumberFromText(f.valueText); typed == kVariableNumberMin) {
      // A negative number beyond what the file holds shows as the limit.
      f.valueText = std::to_string(typed);
    }
  }
  preview += v > 0 ? entry(operands, v) : f.valueText;
  return preview;
}

void chooseVariableBoard(VariableForm& f, bool targetSide, int board) {
  (targetSide ? f.targetBoard : f.operandBoard) = boardOf(board);
  if (targetSide) {
    f.operandBoardEnabled = f.targetBoard == 0 && !isModuleOperand(f.operand);
  } else {
    f.targetBoardEnabled = f.operandBoard == 0;
  }
}

VariableValues packVariable(const VariableForm& f, bool subIo, int oldVal2) {
  VariableValues v{};
  v.val0 = f.target * 10000 + f.operator1 * 1000 + f.operand * 10 + f.operator2;
  if (f.valueItem > 0) {
    v.cno = 32;
    v.val1 = f.valueItem;
  } else {
    v.cno = 31;
    v.val1 = variableNumberFromText(f.valueText);
  }
  v.val2 = subIo ? f.targetBoard * 100000 + f.operandBoard * 10000 : oldVal2;
  return v;
}

}  // namespace kavel
