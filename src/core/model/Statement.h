#pragma once
// One program row. The values are plain integers holding decimal digit fields whose meaning
// depends on the kind; the dialogs pack them and the row text and code generator read them.

#include <string>

namespace kavel {

struct Statement {
  int sno = 0;    // statement kind
  int level = 0;  // indent level, derived from the rows above
  int cno = 0;    // subject kind
  int val0 = 0;
  int val1 = 0;
  int val2 = 0;
  std::string cmt;

  int val(int i) const { return i == 0 ? val0 : i == 1 ? val1 : val2; }
  bool operator==(const Statement&) const = default;
};

/// The statement being edited between a program window and a dialog (level unused).
using EditBuffer = Statement;

}  // namespace kavel
