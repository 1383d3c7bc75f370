#pragma once
// Where a click on a compiler message of the build window leads: the line of the build pane
// that the message names (User.c line n is pane line n, as User.c is the pane without its
// prefixes), the number that pane line shows in its "NNN|" prefix, and the program row that
// produced it, so that the window can show the very row the user wrote.

#include <string>
#include <vector>

#include "core/codegen/CodeBuffer.h"

namespace kavel {

struct ErrorLineTarget {
  bool found = false;       // an error naming a line of User.c that the pane holds
  int paneLine = -1;        // the pane's line, from 0
  std::string shownNumber;  // the number the pane shows on that line ("045", "1203")
  int program = -1;         // 0 Main, 1..30 Sub-N; -1 when no row produced the line
  int row = -1;             // the row of that program, from 0
};

/// Evaluates one line of the compiler output against the pane's lines and their origins
/// (`origins` may be empty: then no row is named).
ErrorLineTarget errorLineTarget(const std::string& outputLine, const std::vector<std::string>& paneLines,
                                const std::vector<LineOrigin>& origins);

}  // namespace kavel
