#pragma once
// The sub I/O boards a master board talks to over I2C: a variable or a connector of the
// variable and sensor dialogs may belong to one of them. Board 0 is this board.

#include <string>

#include "core/setup/IoSetup.h"

namespace kavel {

inline constexpr int kMaxSubIoBoard = 8;

/// Board selectors are shown only on a master board that works with sub I/O boards.
bool subIoMode(const IoSetup& io);

/// A stored board digit; digits naming no board (9, negatives) give 0, this board.
int boardOf(int digit);

/// Caption of a board selector: "I/O[n]".
std::string boardCaption(int board);

/// Item of the board selector's popup menu: "I/O [n]".
std::string boardMenuItem(int board);

}  // namespace kavel
