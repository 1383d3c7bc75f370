#pragma once
// The C condition of an If, ElseIf or While row, by the row's subject kind.

#include <string>

#include "core/model/Statement.h"
#include "core/setup/IoSetup.h"

namespace kavel {

/// What the text of a row depends on besides the row itself.
struct CodeTextContext {
  const IoSetup& io;
  int program = 0;  // index of the program being generated; 30 is the interrupt routine
};

/// The condition text; "" for subject kinds without a condition form.
std::string conditionText(const Statement& row, const CodeTextContext& context);

/// The code part of a C-code condition: the text before the three characters in front of the
/// first "//" (the remark separator), or the whole comment when it holds no "//".
std::string cCodeCondition(const std::string& comment);

}  // namespace kavel
