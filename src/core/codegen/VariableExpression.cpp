#include "core/codegen/VariableExpression.h"

#include "core/codegen/OperandText.h"
#include "core/model/StatementKind.h"
#include "core/text/Format.h"

namespace kavel {
namespace {

using text::format;

struct Fields {
  int t, o1, x, o2, v, bt, bx;
  bool itemValue;  // val1 is an operand index, not a number
};

Fields fieldsOf(const Statement& row) {
  return Fields{row.val0 / 10000,   row.val0 / 1000 % 10,   row.val0 / 10 % 100, row.val0 % 10, row.val1,
                row.val2 / 100000, row.val2 / 10000 % 10, row.cno == kVariableItem};
}

std::string valueText(const Fields& f, const IoSetup& io) {
  return f.itemValue ? operandText(f.v, io) : std::to_string(f.v);
}

// Writing a variable of a sub I/O board. Direction axes (41..43) are unsigned readings that go
// through a temporary; ultrasonic sensors (44 and up) cannot be sent at all.
std::string subBoardAssignment(const Fields& f, const IoSetup& io) {
  const std::string letter = letterFrom(f.t);
  const auto direct = [&](const std::string& e) {
    return format("sub_io_set_gV(%d, VAR_%s, %s);", f.bt, letter.c_str(), e.c_str());
  };
  const auto viaTemp = [&](const std::string& e) {
    return format("gTmpUint = %s; sub_io_set_gV(%d, VAR_%s, gTmpUint);", e.c_str(), f.bt, letter.c_str());
  };
  const auto byValue = [&](const std::string& e) {
    if (!f.itemValue || f.v <= 40) return direct(e);
    if (f.v <= 43) return viaTemp(e);
    return std::string();
  };
  if (f.x == 0) {
    if (!f.itemValue) return format("sub_io_set_gV(%d, VAR_%s, %d);", f.bt, letter.c_str(), f.v);
    return byValue(operandText(f.v, io));
  }
  const std::string x = operandText(f.x, io);
  const std::string e = f.o2 > 0 ? x + " " + secondOperator(f.o2) + " " + valueText(f, io) : x;
  if (f.x <= 40) return f.o2 > 0 ? byValue(e) : direct(e);
  return viaTemp(e);
}

}  // namespace

std::string variableExpression(const Statement& row, const IoSetup& io) {
  const Fields f = fieldsOf(row);
  const bool statement = row.sno == kVariable;
  if (statement && f.bt >= 1) return subBoardAssignment(f, io);

  const std::string letter = letterFrom(f.t);
  std::string out = f.bt >= 1 ? format("sub_io_get_gV(%d, VAR_%s)", f.bt, letter.c_str())
                              : format("gV[VAR_%s]", letter.c_str());
  out += " " + firstOperator(f.o1);
  if (f.x == 0) {
    // Only "-" is offered here: a negation.
    if (f.o2 > 0) out += " " + secondOperator(f.o2);
    out += " " + valueText(f, io);
  } else {
    out += " " + (f.bx >= 1 ? subBoardOperandText(f.x, f.bx) : operandText(f.x, io));
    if (f.o2 > 0) out += " " + secondOperator(f.o2) + " " + valueText(f, io);
  }
  if (statement) out += ";";
  return out;
}

}  // namespace kavel
