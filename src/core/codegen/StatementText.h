#pragma once
// The C lines of one program row. Most rows give one line; a PWM row gives one per channel it
// sets plus "pwm_out();"; rows of kinds without a C form give none.

#include <string>
#include <vector>

#include "core/codegen/ConditionText.h"
#include "core/model/Statement.h"

namespace kavel {

/// Appends the lines of `row` to `out`. `forCounter` numbers the For loops of the function
/// being generated: a For row advances it and uses the new number.
void appendStatementLines(const Statement& row, const CodeTextContext& context, int& forCounter,
                          std::vector<std::string>& out);

/// The motor call of a motor row (kinds 19..28).
std::string motorText(const Statement& row);

/// The lines of a PWM row: one per channel with a code below 600, then "pwm_out();".
std::vector<std::string> pwmLines(const Statement& row);

/// The LCD call of an LCD row; "" when its form or items do not make a call.
std::string lcdText(const Statement& row);

}  // namespace kavel
