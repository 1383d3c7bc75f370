#pragma once
// The three status panels of a program window: position, saved state and file.

#include <string>

#include "core/i18n/MessageTable.h"

namespace kavel {

/// What the status panels of a program window are made from.
struct ProgramStatusInput {
  bool modified = false;
  int count = 0;         // rows, or text lines in the C-code style
  bool codeStyle = false;
  int selectedRow = 0;   // from 0 (statement style)
  int caretLine = 1;     // from 1 (C-code style)
  int caretColumn = 1;
  std::string statusText;  // the program's file path or its last failure text
};

struct ProgramStatusTexts {
  std::string position;  // panel 0
  std::string state;     // panel 1
  std::string file;      // panel 2
};

/// Panel 0: "P:%d/%d" (statement style) or the caret position (C-code style); panel 1: message
/// 78 while modified, 77 when saved with rows, nothing otherwise; panel 2: the status text. An
/// empty, unmodified program shows only its status text, so a failure to open a file into an
/// empty window stays readable.
ProgramStatusTexts programStatusTexts(const ProgramStatusInput& in, const MessageTable& messages);

}  // namespace kavel
