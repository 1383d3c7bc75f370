// The program window's undo and redo: every change of the rows is a step of its history, taken
// back or applied again together with what it means for the Sub windows it called.

#include "gui/editor/TfrmProg.h"

#include <QPlainTextEdit>
#include <QTextDocument>

#include <algorithm>

#include "core/editor/RowChange.h"
#include "core/editor/StepName.h"
#include "core/model/StatementKind.h"
#include "gui/app/ProgramWindows.h"
#include "gui/app/QtText.h"
#include "gui/app/Workbench.h"
#include "gui/editor/CodeEditor.h"
#include "gui/editor/RowView.h"

namespace kavel::gui {

void TfrmProg::recordStep(const StepName& name) {
  RowChange change = rowChange(recorded_, program().rows());
  if (!change.empty()) {
    replaceRows(recorded_, change.first, change.before, change.after);
    history_.push(name, std::move(change));
  }
  showModified(!history_.isClean());
  bench_.notifyHistory(number_);
}

void TfrmProg::resetHistory() {
  history_.clear();
  recorded_ = program().rows();
  if (program().modified) history_.resetClean();
  bench_.notifyHistory(number_);
}

void TfrmProg::beginEdit() {
  if (program().rows() != recorded_) resetHistory();
}

void TfrmProg::subCallNamesChanged() {
  recordStep(StepName::subFileNames());
  refreshRows();
}

bool TfrmProg::canUndo() const {
  return codeStyle_ ? memoCode_->document()->isUndoAvailable() : history_.canUndo();
}

bool TfrmProg::canRedo() const {
  return codeStyle_ ? memoCode_->document()->isRedoAvailable() : history_.canRedo();
}

QString TfrmProg::undoCaption() const {
  const StepName* step = codeStyle_ ? nullptr : history_.undoName();
  return qs(historyItemCaption(ctx_.messages(kMsgUndo), step ? stepText(*step, ctx_.messages) : std::string()));
}

QString TfrmProg::redoCaption() const {
  const StepName* step = codeStyle_ ? nullptr : history_.redoName();
  return qs(historyItemCaption(ctx_.messages(kMsgRedo), step ? stepText(*step, ctx_.messages) : std::string()));
}

bool TfrmProg::undo() {
  if (!codeStyle_) return moveInHistory(true);
  if (!canUndo()) return false;
  memoCode_->undo();
  return true;
}

bool TfrmProg::redo() {
  if (!codeStyle_) return moveInHistory(false);
  if (!canRedo()) return false;
  memoCode_->redo();
  return true;
}

bool TfrmProg::moveInHistory(bool back) {
  beginEdit();
  const RowChange* change = back ? history_.undoChange() : history_.redoChange();
  if (!change) return false;
  const std::vector<Statement>& leaving = back ? change->after : change->before;
  const std::vector<Statement>& coming = back ? change->before : change->after;
  // A Sub window must not stay open without the call that opened it, nor under a call of
  // another file; a modified one is offered for saving first, and Cancel keeps everything.
  const std::vector<int> closing = subWindowsLeft(leaving, coming, number_);
  const bool interruptTouched = callsInterruptRoutine(leaving) || callsInterruptRoutine(coming);
  const std::size_t first = change->first;
  const std::size_t index = history_.index();
  const std::size_t count = history_.count();
  for (int n : closing) {
    TfrmProg* sub = bench_.windows().prog(n);
    if (sub && !bench_.windows().mayClose(*sub)) return false;
  }
  // Saving a Sub on the way renames Main's calls of it, a step of its own: this one no longer
  // comes next, and the user sees the new one in the menu.
  if (history_.index() != index || history_.count() != count || program().rows() != recorded_) return false;
  const bool done = back ? history_.undo(program().rows()) : history_.redo(program().rows());
  if (!done) return false;
  recorded_ = program().rows();
  for (int n : closing) bench_.windows().close(n);
  // Saving or closing a Sub window on the way made another program current; this one stays.
  if (!closing.empty() && ctx_.programs.current != number_) bench_.windows().open(number_);
  if (number_ == 0 && interruptTouched) ctx_.io.interruptInUse = callsInterruptRoutine(program().rows());

  // Marks of copied rows would now press other rows; the clipboard itself stays.
  clearMarks();
  bench_.windows().updateCursor();
  refreshRows();
  const int at = static_cast<int>(std::min(first, program().size()));
  rowView_->setSelected(at, true);
  showModified(!history_.isClean());
  if (codeViewVisible() && ctx_.programs.current == number_) regenerateCodeView();
  updateStatus();
  bench_.notifyHistory(number_);
  return true;
}

void TfrmProg::pmUndoClick() { undo(); }
void TfrmProg::pmRedoClick() { redo(); }

}  // namespace kavel::gui
