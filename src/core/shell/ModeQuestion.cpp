#include "core/shell/ModeQuestion.h"

#include "core/settings/AppSettings.h"

namespace kavel {
namespace {

constexpr ModeQuestion kBuildSaveQuestion{148, 15, {16, 17, 18}};
constexpr ModeQuestion kNewSetupQuestion{36, 37, {38, 39, 40}};

}  // namespace

const ModeQuestion& modeQuestion(int tag) {
  return tag == ModeQuestion::kNewSetup ? kNewSetupQuestion : kBuildSaveQuestion;
}

int& modeSetting(AppSettings& settings, int tag) {
  return tag == ModeQuestion::kNewSetup ? settings.SetupDef : settings.BuildJob;
}

}  // namespace kavel
