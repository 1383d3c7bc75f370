#pragma once
// Main (index 0) and Sub-1 .. Sub-30; Sub-30 is the timer-interrupt routine.

#include <array>
#include <string>

#include "core/model/Program.h"

namespace kavel {

class ProgramSet {
 public:
  static constexpr int kPrograms = 31;
  static constexpr int kInterruptSub = 30;
  /// 0 (Main) to 30.
  static constexpr bool isValidIndex(int index) { return index >= 0 && index < kPrograms; }

  ProgramSet();

  Program& operator[](int index) { return programs_.at(static_cast<std::size_t>(index)); }
  const Program& operator[](int index) const { return programs_.at(static_cast<std::size_t>(index)); }
  Program& main() { return programs_[0]; }
  const Program& main() const { return programs_[0]; }

  /// The most recently activated program; dialogs and the code generator consult it.
  int current = 0;
  Program& currentProgram() { return (*this)[current]; }
  const Program& currentProgram() const { return (*this)[current]; }

  /// Whether Main or, when Main is current, any open Sub is modified (the Save button's rule).
  bool saveEnabled() const;

  /// The Sub number a new SubCall row for `fileName` gets in program `inProgram`; the rule and
  /// its limits are subNumberFor's (core/model/SubCallRules.h).
  int subNumberForFile(int inProgram, const std::string& fileName) const;

 private:
  std::array<Program, kPrograms> programs_;
};

/// The default file name of program `index` (without extension): Sub-N "SubFile-%02d" with N;
/// Main "NewFile-%02d" with the smallest number 0..99 for which `folder` holds no such
/// ".Kvl" file, or `previous` when all 100 exist.
std::string defaultFileName(int index, const std::string& folder, int previous = 0);

/// The number in Main's default file name: the smallest 0..99 for which `folder` holds no
/// "NewFile-%02d.Kvl", or `previous` when all 100 exist.
int nextNewFileNumber(const std::string& folder, int previous = 0);

/// The extension of program files.
inline constexpr const char* kProgramFileExtension = ".Kvl";

}  // namespace kavel
