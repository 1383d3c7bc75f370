#include "core/editor/ProgramStatus.h"

#include "core/build/ErrorPosition.h"
#include "core/shell/ShellTexts.h"

namespace kavel {

ProgramStatusTexts programStatusTexts(const ProgramStatusInput& in, const MessageTable& messages) {
  ProgramStatusTexts out;
  out.file = in.statusText;
  if (!in.modified && in.count == 0) return out;
  out.position = in.codeStyle ? caretPositionText(in.caretLine, in.caretColumn)
                              : rowPositionText(in.selectedRow + 1, in.count);
  if (in.modified) {
    out.state = messages(78);
  } else if (in.count > 0) {
    out.state = messages(77);
  }
  return out;
}

}  // namespace kavel
