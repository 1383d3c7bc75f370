#pragma once
// What the build window's status bar shows for a click in the compiler output: the caret
// position, and for a compiler error in User.c the rest of the message and the line to look for.

#include <string>

namespace kavel {

/// "%6d:%3d" with the caret's line and column, both counted from 1.
std::string caretPositionText(int line, int column);

struct ErrorPosition {
  bool found = false;  // the line holds "Error:" and "User.c:"
  std::string rest;    // the text after the first "User.c:"
  int line = 0;        // the number before the first ":" of `rest`, less one (0 when not above 0)
  int number = 0;      // that number as the compiler wrote it (0 when it is not a number)
};

/// Evaluates one line of the compiler output.
ErrorPosition errorPosition(const std::string& outputLine);

}  // namespace kavel
