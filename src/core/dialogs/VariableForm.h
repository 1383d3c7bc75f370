#pragma once
// The rules of the variable dialog: what its lists and its value field may hold together,
// the expression it previews, and how a variable statement or condition is packed.

#include <string>
#include <string_view>
#include <vector>

namespace kavel {

/// The numbers a program file can hold in a value field.
inline constexpr int kVariableNumberMin = -99999;
inline constexpr int kVariableNumberMax = 999999;

/// What the dialog's controls hold. Operator1: 0 "=", 1..6 the comparisons; operator2: 0
/// none, 1..5 "+", "-", "*", "/", "%"; operand and valueItem: 0 none, else an operand index.
struct VariableForm {
  int target = 0;  // 0..25, the variable A..Z
  int operator1 = 0;
  int operand = 0;
  int operator2 = 0;
  int valueItem = -1;  // -1: nothing selected, 0: the typed-number item; both mean a typed number
  std::string valueText;
  int targetBoard = 0;
  int operandBoard = 0;
  bool targetBoardEnabled = true;
  bool operandBoardEnabled = true;
  bool operandBoardShown = false;
  bool operator==(const VariableForm&) const = default;
};

/// A typed number: a decimal integer with optional sign and blanks around it, limited to
/// what the file holds; anything else is 0.
int variableNumberFromText(std::string_view text);

/// The form loaded from a row's values. `statement`: a variable statement (sno 31) rather than
/// a condition; `itemValue`: val1 is an operand index (cno 32). Fields beyond `operandCount`
/// select nothing. In sub-I/O mode the boards come from val2 and a board on one side
/// disables the other side's selector.
VariableForm variableFormOf(int val0, int val1, int val2, bool itemValue, bool subIo, int operandCount);

/// The refresh after every change: snaps operator1 to the statement or condition, drops or
/// completes the value the operators allow, applies the board rules and normalises the
/// typed number. Returns the preview text; `operands` are the entry texts by index.
std::string refreshVariableForm(VariableForm& form, bool statement, bool subIo,
                                const std::vector<std::string>& operands);

/// A selector was set to `board`: a board other than this one on one side leaves the other
/// side on this board.
void chooseVariableBoard(VariableForm& form, bool targetSide, int board);

struct VariableValues {
  int cno;
  int val0;
  int val1;
  int val2;
  bool operator==(const VariableValues&) const = default;
};

/// What OK stores: a selected value item gives cno 32 and its index, else the typed number and
/// cno 31. val2 holds the boards in sub-I/O mode, else `oldVal2` unchanged.
VariableValues packVariable(const VariableForm& form, bool subIo, int oldVal2);

}  // namespace kavel
