#include "core/model/ProgramSet.h"

#include <algorithm>

#include "core/model/StatementKind.h"
#include "core/model/SubCallRules.h"
#include "core/text/Format.h"
#include "core/text/TextFile.h"

namespace kavel {

ProgramSet::ProgramSet()
    : programs_([] {
        std::array<Program, kPrograms> programs;
        for (int i = 0; i < kPrograms; ++i) programs[static_cast<std::size_t>(i)] = Program(i);
        return programs;
      }()) {
  programs_[0].open = true;
}

bool ProgramSet::saveEnabled() const {
  const Program& cur = currentProgram();
  if (cur.modified) return true;
  if (current != 0) return false;
  return std::any_of(programs_.begin() + 1, programs_.end(),
                     [](const Program& p) { return p.open && p.modified; });
}

int ProgramSet::subNumberForFile(int inProgram, const std::string& fileName) const {
  return subNumberFor(*this, inProgram, -1, fileName);
}

std::string defaultFileName(int index, const std::string& folder, int previous) {
  if (index != 0) return text::format("SubFile-%02d", index);
  return text::format("NewFile-%02d", nextNewFileNumber(folder, previous));
}

int nextNewFileNumber(const std::string& folder, int previous) {
  for (int n = 0; n < 100; ++n) {
    if (!text::fileExists(folder + text::format("NewFile-%02d", n) + kProgramFileExtension)) return n;
  }
  return previous;
}

}  // namespace kavel
