#include "core/editor/RowClipboard.h"

#include "core/model/StatementKind.h"

namespace kavel {

void copyBlockToClipboard(const Program& program, std::size_t row, RowClipboard& clipboard) {
  if (row >= program.size()) return;
  const auto [first, last] = program.blockExtent(row);
  for (std::size_t r = first; r <= last; ++r) {
    Statement s = program.rows()[r];
    s.level = 0;
    clipboard.push_back(std::move(s));
  }
}

Statement pastedRow(const Statement& clip, int windowNumber) {
  Statement s = clip;
  s.level = 0;
  if (s.sno == kSubCall && windowNumber > 0 && s.val0 == windowNumber) {
    s.sno = kCCode;
    s.cno = kCCode;
    s.val0 = s.val1 = s.val2 = 0;
    s.cmt = "// " + clip.cmt;
  }
  return s;
}

bool pasteAllowed(const Program& program, std::size_t at, const RowClipboard& clipboard) {
  if (clipboard.empty()) return false;
  if (program.size() + clipboard.size() > Program::kMaxRows) return false;
  const int first = clipboard.front().sno;
  if (at >= program.size()) {
    return first != kElseIf && first != kElse && first != kContinue && first != kBreak;
  }
  return program.insertionAllowed(at, first);
}

std::size_t pasteRows(Program& program, std::size_t at, const RowClipboard& clipboard, int windowNumber) {
  if (!pasteAllowed(program, at, clipboard)) return 0;
  if (at > program.size()) at = program.size();
  for (std::size_t i = 0; i < clipboard.size(); ++i) {
    const Statement s = pastedRow(clipboard[i], windowNumber);
    const std::size_t r = program.createRow(at + i, s.sno, s.sno == kEnd ? s.cno : 0);
    if (hasValueButton(s.sno)) {
      Statement& row = program.rows()[r];
      row.cno = s.cno;
      row.val0 = s.val0;
      row.val1 = s.val1;
      row.val2 = s.val2;
      row.cmt = s.cmt;
    }
  }
  return clipboard.size();
}

}  // namespace kavel
