#pragma once
// The row clipboard shared by all program windows: what a cut or copy puts there and how its
// rows go back into a program.

#include <cstddef>
#include <vector>

#include "core/model/Program.h"

namespace kavel {

using RowClipboard = std::vector<Statement>;

/// Appends the rows of the block that starts at `row` (Program::blockExtent) to `clipboard`,
/// without their indent levels.
void copyBlockToClipboard(const Program& program, std::size_t row, RowClipboard& clipboard);

/// The row a clipboard row becomes when pasted into program `windowNumber` (0 Main, N Sub-N):
/// a SubCall that would call the Sub it is pasted into becomes a C-code row that keeps the call
/// as a remark, "// " followed by its comment, since a Sub cannot call itself.
Statement pastedRow(const Statement& clip, int windowNumber);

/// Whether the clipboard may be pasted in front of row `at` (at == size(): after the last row).
/// After the last row its first row may not be an ElseIf, Else, Continue or Break; in front of a
/// row the first row's kind must be allowed there. The program must keep within its row limit.
bool pasteAllowed(const Program& program, std::size_t at, const RowClipboard& clipboard);

/// Inserts the clipboard rows in front of row `at`, in order, into program `windowNumber`.
/// End rows take their subject kind as the block kind; Else, Continue and Break rows take no
/// values. Returns the number of rows inserted (0 when the paste is not allowed).
std::size_t pasteRows(Program& program, std::size_t at, const RowClipboard& clipboard, int windowNumber);

}  // namespace kavel
