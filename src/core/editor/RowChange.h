#pragma once
// One change of a program's rows, kept as the stretch of rows it replaced and the rows it put
// there: the rows above and below it stay out, so a change of one row in a long program costs
// one row, not the program.

#include <cstddef>
#include <vector>

#include "core/model/Statement.h"

namespace kavel {

struct RowChange {
  std::size_t first = 0;          // index of the first row that changed
  std::vector<Statement> before;  // the rows from `first` before the change
  std::vector<Statement> after;   // the rows from `first` after it

  bool empty() const { return before.empty() && after.empty(); }
};

/// The change that turns `from` into `to`: what lies between their common head and common
/// tail (levels and comments included). Empty when the two are equal.
RowChange rowChange(const std::vector<Statement>& from, const std::vector<Statement>& to);

/// Replaces the rows `out` that stand at `first` in `rows` by `in`. False, and `rows` left as
/// they are, when the rows there are not `out`.
bool replaceRows(std::vector<Statement>& rows, std::size_t first, const std::vector<Statement>& out,
                 const std::vector<Statement>& in);

/// The Sub windows a program window must close when the rows `leaving` give way to `coming`:
/// the number of each SubCall row that leaves (above 0 and not the window's own `windowNumber`)
/// unless a row that comes calls the same number with the same file name. A Sub window must not
/// stay open under a call of another file, nor without the call that opened it.
std::vector<int> subWindowsLeft(const std::vector<Statement>& leaving, const std::vector<Statement>& coming,
                                int windowNumber);

/// Whether any of `rows` is a SubCall of the interrupt routine (Sub-30).
bool callsInterruptRoutine(const std::vector<Statement>& rows);

/// Bytes the change holds on the heap and in itself.
std::size_t bytesHeld(const RowChange& change);

}  // namespace kavel
