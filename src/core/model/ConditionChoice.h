#pragma once
// Which kinds of condition the condition chooser offers an if, else-if or while row, in the
// order of its buttons, and which button stands for a row's current condition.

#include <vector>

#include "core/setup/IoSetup.h"

namespace kavel {

struct ConditionKindInfo {
  int kind;     // the subject kind the button stands for
  int message;  // its caption in the message table
};

/// Every button of the chooser, top to bottom, whether offered or not.
const std::vector<ConditionKindInfo>& conditionKinds();

/// Module conditions (direction, ultrasonic, camera, game pad) are not offered on a sub I/O
/// board or in the interrupt sub-program.
bool moduleConditionsWithheld(const IoSetup& io, int currentProgram);

/// The subject kinds offered for a row of statement kind `sno` in program `currentProgram`,
/// top to bottom. Unconditional is offered only to while rows.
std::vector<int> offeredConditionKinds(int sno, const IoSetup& io, int currentProgram);

/// The button that stands for condition kind `cno` (the variable button serves 31 and 32, the
/// LED button 34 to 37);
/// 0 when none does (a new row, or a kind the chooser has no button for).
int conditionButtonFor(int cno);

}  // namespace kavel
