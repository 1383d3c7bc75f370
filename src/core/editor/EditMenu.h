#pragma once
// Which items of a program window's edit popup menu are enabled for a row.

#include <vector>

#include "core/model/Statement.h"

namespace kavel {

struct EditMenuState {
  bool changeCondition = false;
  bool cut = true;
  bool copy = true;
  bool paste = false;
  bool remove = true;  // Delete
  bool discard = true;
  bool cancel = true;
};

/// The menu for a row of statement kind `rowKind` (0 also for the position after the last
/// row) with the row clipboard as it stands.
EditMenuState editMenuState(int rowKind, const std::vector<Statement>& clipboard);

}  // namespace kavel
