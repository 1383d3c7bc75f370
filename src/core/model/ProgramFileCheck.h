#pragma once
// A look at a file before it replaces the rows of a program: the reader clears the rows first
// and stops at the first damaged line, so a file that is not a program file, or is damaged,
// is refused here while the program is still untouched.

#include <string>

#include "core/model/ProgramFile.h"

namespace kavel {

struct ProgramFileCheck {
  enum class Verdict {
    Ok,
    CannotOpen,     // the reader reports it itself ("Can't Open ... ")
    NotProgram,     // empty, binary, too large, or no "Title:" line
    Damaged,        // a row line whose numbers do not read
  };
  Verdict verdict = Verdict::Ok;
  std::string reason;  // for a message box; empty when Ok or CannotOpen
};

/// Checks the file at `path` (".Kvl" appended when it has no extension) as the reader would
/// read it, on copies of the records, asking nothing.
ProgramFileCheck checkProgramFile(const std::string& path, const ProgramFileContext& context);

/// Checks a C-code program file: it must open, hold text (no NUL bytes) and stay below the size
/// limit.
ProgramFileCheck checkCodeFile(const std::string& path);

}  // namespace kavel
