#pragma once
// The mode question asked before a new program (setup mode) or a build (save mode): which
// messages it shows and which setting its choice is stored in.

#include <array>

namespace kavel {

struct AppSettings;

struct ModeQuestion {
  static constexpr int kBuildSave = 0;  // tag 0: BuildJob
  static constexpr int kNewSetup = 1;   // tag 1: SetupDef

  static constexpr int kTitle = 45;
  static constexpr int kUpdate = 46;
  static constexpr int kYes = 149;
  static constexpr int kNo = 150;

  int label;                   // message of the question
  int group;                   // message of the choices' group caption
  std::array<int, 3> choices;  // messages of choices 0, 1, 2
};

/// The question of a tag; any tag but kNewSetup asks about the build save mode.
const ModeQuestion& modeQuestion(int tag);

/// The setting a tag's choice is stored in: SetupDef for kNewSetup, otherwise BuildJob.
int& modeSetting(AppSettings& settings, int tag);

}  // namespace kavel
