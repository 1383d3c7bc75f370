#include "core/editor/EditMenu.h"

#include "core/model/StatementKind.h"

namespace kavel {

EditMenuState editMenuState(int rowKind, const std::vector<Statement>& clipboard) {
  EditMenuState m;
  m.paste = !clipboard.empty();
  switch (rowKind) {
    case kEnd:
      m.cut = m.copy = m.remove = false;
      break;
    case kIf:
    case kWhile:
      m.changeCondition = true;
      break;
    case kElseIf:
      m.changeCondition = true;
      // An ElseIf taken out of its chain could only come back in front of an ElseIf or Else.
      if (!clipboard.empty() && clipboard.front().sno != kElseIf) m.cut = m.copy = false;
      break;
    case kElse:
      m.cut = m.copy = false;
      break;
    default:
      break;
  }
  return m;
}

}  // namespace kavel
