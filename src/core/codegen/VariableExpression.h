#pragma once
// The C text of a variable operation (a Variable row) or a variable test (the condition of an
// If, ElseIf or While row), including the forms that read or write variables of sub I/O boards.

#include <string>

#include "core/model/Statement.h"
#include "core/setup/IoSetup.h"

namespace kavel {

/// For a row of statement kind 31 the assignment with its ";" (or "" where no form exists);
/// for any other row the condition expression. The row's subject kind says whether val1 is a
/// number (31) or an operand index (32).
std::string variableExpression(const Statement& row, const IoSetup& io);

}  // namespace kavel
