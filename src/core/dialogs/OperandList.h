#pragma once
// The things a variable is combined with or compared to, numbered as the variable dialog's
// lists show them and as the statement values store them.

#include <string>
#include <vector>

#include "core/setup/IoSetup.h"

namespace kavel {

inline constexpr int kOperandFirstTimer = 27;      // "Timer1" .. "Timer4"
inline constexpr int kOperandFirstConnector = 31;  // "CN1" .. "CN10"
inline constexpr int kOperandFirstModule = 41;     // direction axes, then ultrasonic sensors

/// Operands above 40 are read from sensor modules of this board only.
inline bool isModuleOperand(int index) { return index >= kOperandFirstModule; }

/// The entries under the options of `io`: element i is the text of index i. Element 0 is
/// empty (each list puts its own first item there). Direction entries exist only with a
/// direction sensor or with the ultrasonic unit (then as "---" fillers, so the ultrasonic
/// sensors stay at 44..47).
std::vector<std::string> operandList(const IoSetup& io);

}  // namespace kavel
