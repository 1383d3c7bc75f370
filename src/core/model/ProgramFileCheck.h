#pragma once
// A look at a file before it replaces the rows of a program: the reader clears the rows first
// and stops at the first damaged line, so a file that is not a program file, or is damaged,
// is named here while the program is still untouched, and the user decides.

#include <cstddef>
#include <string>

#include "core/model/ProgramFile.h"

namespace kavel {

struct ProgramFileCheck {
  enum class Verdict {
    Ok,
    CannotOpen,     // the reader reports it itself ("Can't Open ... ")
    NotProgram,     // empty, binary, UTF-16, too large, or no "Title:" line
    Damaged,        // a line does not read; the rows before it would
  };
  Verdict verdict = Verdict::Ok;
  std::string reason;       // for a message box; empty when Ok or CannotOpen
  std::size_t rowsRead = 0;  // Damaged: the rows a read keeps
};

/// Checks the file at `path` (named as the reader names it) by reading it on copies of the
/// records, asking nothing.
ProgramFileCheck checkProgramFile(const std::string& path, const ProgramFileContext& context);

/// Checks a C-code program file: it must open, hold text (no NUL bytes) and stay below the size
/// limit.
ProgramFileCheck checkCodeFile(const std::string& path);

}  // namespace kavel
