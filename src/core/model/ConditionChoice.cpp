#include "core/model/ConditionChoice.h"

#include <algorithm>

#include "core/model/ProgramSet.h"
#include "core/model/StatementKind.h"

namespace kavel {

const std::vector<ConditionKindInfo>& conditionKinds() {
  static const std::vector<ConditionKindInfo> kinds = {
      {kUnconditional, 105}, {kGreenLedOff, 106}, {kSensorTest, 107},  {kTimer, 108},
      {kVariable, 109},      {kDirectionTest, 112}, {kUltrasonic, 156}, {kCameraTest, 114},
      {kGamePadTest, 113},   {kOutput, 111},      {kCCode, 110},
  };
  return kinds;
}

bool moduleConditionsWithheld(const IoSetup& io, int currentProgram) {
  return io.subIoId != 0 || currentProgram == ProgramSet::kInterruptSub;
}

std::vector<int> offeredConditionKinds(int sno, const IoSetup& io, int currentProgram) {
  const bool modules = !moduleConditionsWithheld(io, currentProgram);
  std::vector<int> offered;
  for (const ConditionKindInfo& k : conditionKinds()) {
    bool shown = true;
    switch (k.kind) {
      case kUnconditional: shown = sno == kWhile; break;
      case kDirectionTest: shown = modules && (io.useDir || io.useHmc || io.useBno); break;
      case kUltrasonic: shown = modules && io.useUss; break;
      case kCameraTest: shown = modules && io.usePixy; break;
      case kGamePadTest: shown = modules && io.useSnx4410; break;
      case kOutput: shown = io.outputInUse; break;
      case kCCode: shown = io.advancedMode; break;
      default: break;
    }
    if (shown) offered.push_back(k.kind);
  }
  return offered;
}

int conditionButtonFor(int cno) {
  if (cno == kVariableItem) return kVariable;
  // The LED dialog keeps the on/off colour choice in the kind itself.
  if (isLedKind(cno)) return kGreenLedOff;
  const auto& kinds = conditionKinds();
  const bool hasButton =
      std::any_of(kinds.begin(), kinds.end(), [cno](const ConditionKindInfo& k) { return k.kind == cno; });
  return hasButton ? cno : 0;
}

}  // namespace kavel
