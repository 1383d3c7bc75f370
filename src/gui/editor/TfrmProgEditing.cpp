// The program window's editing: clicks and keys, the edit popup menu, the row clipboard,
// deleting, inserting from the palette and the statement dialogs.

#include "gui/editor/TfrmProg.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollBar>
#include <QSplitter>
#include <QStatusBar>
#include <QVBoxLayout>

#include <algorithm>

#include "gui/app/Glyphs.h"
#include "core/build/ErrorPosition.h"
#include "core/codegen/CodeGenerator.h"
#include "gui/editor/Palette.h"
#include "gui/app/Prompts.h"
#include "gui/app/ProgramWindows.h"
#include "gui/app/QtText.h"
#include "gui/app/Workbench.h"
#include "gui/dialogs/DialogSet.h"
#include "gui/dialogs/StatementDialog.h"
#include "gui/dialogs/TfrmSubProg.h"
#include "gui/editor/CodeEditor.h"
#include "core/editor/EditMenu.h"
#include "core/editor/RowClipboard.h"
#include "gui/editor/RowView.h"
#include "core/editor/StatementEditing.h"
#include "core/model/RowText.h"
#include "core/model/SubCallRules.h"
#include "core/model/StatementKind.h"
#include "core/shell/ShellTexts.h"
#include "core/text/Format.h"


namespace kavel::gui {
// --- clicks -------------------------------------------------------------------------------------

void TfrmProg::refuse(int message) {
  bench_.prompts().ask(this, PromptIcon::Warning, qs(ctx_.messages(44)), qs(ctx_.messages(message)),
                       PromptButtons::Ok);
}

void TfrmProg::iconClick(int row) {
  const Program& p = program();
  if (row < 0 || row >= static_cast<int>(p.size())) return;
  showPosition(row);
  const int kind = armedKind();
  if (kind >= 0) {
    if (p.insertionAllowed(static_cast<std::size_t>(row), kind)) {
      bench_.disarm();
      insertStatement(row, kind);
    } else {
      refuse(122);
    }
    return;
  }
  if (p.rows()[static_cast<std::size_t>(row)].sno == kEnd && ctx_.clipboard.empty()) return;
  openPopup(row);
}

void TfrmProg::layoutClick() {
  const Program& p = program();
  const int count = static_cast<int>(p.size());
  const int kind = armedKind();
  if (kind >= 0) {
    if (!p.insertionAllowed(p.size(), kind)) {
      refuse(122);
      return;
    }
    bench_.disarm();
    rowView_->centreOn(count);
    insertStatement(count, kind);
    return;
  }
  if (!ctx_.clipboard.empty()) {
    rowView_->centreOn(count);
    showPosition(count);
    openPopup(count);
  }
}

void TfrmProg::valueClick(int row) {
  const Program& p = program();
  if (row < 0 || row >= static_cast<int>(p.size())) return;
  showPosition(row);
  const Statement& s = p.rows()[static_cast<std::size_t>(row)];
  if (!hasValueButton(s.sno)) return;
  beginEdit();
  ctx_.edit = EditBuffer{s.sno, 0, s.cno, s.val0, s.val1, s.val2, s.cmt};
  runEdit(static_cast<std::size_t>(row));
  recordStep(StepName::editRow(row));
}

void TfrmProg::keyDelete() {
  const int row = rowView_->selected();
  if (row >= static_cast<int>(program().size())) return;
  if (editMenuState(program().rows()[static_cast<std::size_t>(row)].sno, ctx_.clipboard).remove) deleteRows(row);
}

void TfrmProg::keyCut() {
  const int row = rowView_->selected();
  if (row >= static_cast<int>(program().size())) return;
  if (editMenuState(program().rows()[static_cast<std::size_t>(row)].sno, ctx_.clipboard).cut) cutRows(row);
}

void TfrmProg::keyCopy() {
  const int row = rowView_->selected();
  if (row >= static_cast<int>(program().size())) return;
  if (editMenuState(program().rows()[static_cast<std::size_t>(row)].sno, ctx_.clipboard).copy) copyRows(row);
}

void TfrmProg::keyPaste() {
  if (!ctx_.clipboard.empty()) pasteRows(rowView_->selected());
}

void TfrmProg::keyEscape() { bench_.disarm(); }

// --- popup menu ---------------------------------------------------------------------------------

void TfrmProg::buildPopup() {
  pmEdit_ = new QMenu(this);
  pmEdit_->setObjectName("pmEdit");
  const auto add = [this](const char* name, void (TfrmProg::*handler)()) {
    QAction* a = pmEdit_->addAction(QString());
    a->setObjectName(name);
    connect(a, &QAction::triggered, this, handler);
    return a;
  };
  pmChangeCondition_ = add("pmChangeCondition", &TfrmProg::pmChangeConditionClick);
  pmCut_ = add("pmCut", &TfrmProg::pmCutClick);
  pmCopy_ = add("pmCopy", &TfrmProg::pmCopyClick);
  pmPaste_ = add("pmPaste", &TfrmProg::pmPasteClick);
  pmDelete_ = add("pmDelete", &TfrmProg::pmDeleteClick);
  pmEdit_->addSeparator();
  pmDiscard_ = add("pmDiscard", &TfrmProg::pmDiscardClick);
  pmCancel_ = add("pmCancel", &TfrmProg::pmCancelClick);
  pmEdit_->addSeparator();
  pmUndo_ = add("pmUndo", &TfrmProg::pmUndoClick);
  pmRedo_ = add("pmRedo", &TfrmProg::pmRedoClick);
  pmPaste_->setEnabled(false);
}

void TfrmProg::preparePopup(int row) {
  const Program& p = program();
  popupRow_ = std::clamp(row, 0, static_cast<int>(p.size()));
  const int kind = popupRow_ < static_cast<int>(p.size()) ? p.rows()[static_cast<std::size_t>(popupRow_)].sno : kEnd;
  const EditMenuState m = editMenuState(kind, ctx_.clipboard);
  const std::pair<QAction*, int> captions[] = {{pmChangeCondition_, 115}, {pmCut_, 116},    {pmCopy_, 117},
                                               {pmPaste_, 118},           {pmDelete_, 119}, {pmDiscard_, 120},
                                               {pmCancel_, 121}};
  for (const auto& [action, message] : captions) action->setText(qs(ctx_.messages(message)));
  pmChangeCondition_->setEnabled(m.changeCondition);
  pmCut_->setEnabled(m.cut);
  pmCopy_->setEnabled(m.copy);
  pmPaste_->setEnabled(m.paste);
  pmDelete_->setEnabled(m.remove);
  pmDiscard_->setEnabled(m.discard);
  pmCancel_->setEnabled(m.cancel);
  pmUndo_->setText(undoCaption());
  pmUndo_->setEnabled(canUndo());
  pmRedo_->setText(redoCaption());
  pmRedo_->setEnabled(canRedo());
}

void TfrmProg::openPopup(int row) {
  preparePopup(row);
  const LayoutOrigin origin = layoutOrigin();
  const ScreenPoint at = popupRow_ < static_cast<int>(program().size())
                             ? popupPositionForRow(origin, rowView_->iconRect(popupRow_).x(),
                                                   rowView_->iconRect(popupRow_).y())
                             : popupPositionAfterLastRow(origin, popupRow_);
  pmEdit_->popup(QPoint(at.x, at.y));
}

void TfrmProg::pmChangeConditionClick() { changeCondition(popupRow_); }
void TfrmProg::pmCutClick() { cutRows(popupRow_); }
void TfrmProg::pmCopyClick() { copyRows(popupRow_); }
void TfrmProg::pmPasteClick() { pasteRows(popupRow_); }
void TfrmProg::pmDeleteClick() { deleteRows(popupRow_); }
void TfrmProg::pmDiscardClick() { discardClipboard(); }
void TfrmProg::pmCancelClick() { cancelCopy(); }

// --- clipboard and deleting ---------------------------------------------------------------------

void TfrmProg::cutRows(int row) {
  if (row < 0 || row >= static_cast<int>(program().size())) return;
  beginEdit();
  if (!mayCloseCalledSubs(static_cast<std::size_t>(row))) return;
  // A cut after anything but a cut in this window starts a new clipboard.
  if (clipMark_ != ClipMark::Cut) bench_.windows().clearClipboard();
  copyBlockToClipboard(program(), static_cast<std::size_t>(row), ctx_.clipboard);
  removeBlock(static_cast<std::size_t>(row));
  recordStep(StepName::cut());
  clipMark_ = ClipMark::Cut;
  bench_.windows().updateCursor();
}

void TfrmProg::copyRows(int row) {
  if (row < 0 || row >= static_cast<int>(program().size())) return;
  if (clipMark_ != ClipMark::Copy) bench_.windows().clearClipboard();
  copyBlockToClipboard(program(), static_cast<std::size_t>(row), ctx_.clipboard);
  markBlock(static_cast<std::size_t>(row), true);
  clipMark_ = ClipMark::Copy;
  bench_.windows().updateCursor();
}

bool TfrmProg::pasteRows(int row) {
  if (ctx_.clipboard.empty()) return false;
  beginEdit();
  Program& p = program();
  const std::size_t at = static_cast<std::size_t>(std::clamp(row, 0, static_cast<int>(p.size())));
  if (!pasteAllowed(p, at, ctx_.clipboard)) {
    refuse(124);
    return false;
  }
  bench_.windows().clearMarks();
  QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  const std::size_t n = kavel::pasteRows(p, at, ctx_.clipboard, number_);
  insertMarks(at, n);
  rowView_->centreOn(static_cast<int>(at));
  rowView_->setSelected(static_cast<int>(at), false);
  refreshRows();
  recordStep(StepName::paste());
  QGuiApplication::restoreOverrideCursor();
  bench_.windows().updateCursor();
  return true;
}

void TfrmProg::deleteRows(int row) {
  if (row < 0 || row >= static_cast<int>(program().size())) return;
  beginEdit();
  const std::size_t r = static_cast<std::size_t>(row);
  const std::vector<char> before = pressed_;
  const auto unmark = [this, &before] {
    pressed_ = before;
    rowView_->viewport()->update();
  };
  if (ctx_.options.deleteQuery) {
    markBlock(r, true);
    const Answer a = bench_.prompts().ask(this, PromptIcon::Warning, qs(ctx_.messages(45)),
                                          qs(ctx_.messages(123)), PromptButtons::YesNo);
    if (a != Answer::Yes) {
      unmark();
      return;
    }
  }
  if (!mayCloseCalledSubs(r)) {
    unmark();
    return;
  }
  removeBlock(r);
  recordStep(StepName::deleteRow(row));
}

void TfrmProg::discardClipboard() {
  if (ctx_.clipboard.empty()) return;
  bench_.windows().clearClipboard();
}

void TfrmProg::cancelCopy() {
  if (clipMark_ != ClipMark::Copy) return;
  std::fill(pressed_.begin(), pressed_.end(), 0);
  rowView_->viewport()->update();
}

// --- inserting and editing ----------------------------------------------------------------------

void TfrmProg::insertStatement(int row, int kind) {
  beginEdit();
  Program& p = program();
  const std::size_t at = static_cast<std::size_t>(std::clamp(row, 0, static_cast<int>(p.size())));
  p.insertStatement(at, kind);
  insertMarks(at, rowsCreatedWith(kind));
  ctx_.edit = insertionBuffer(kind);
  rowView_->setSelected(static_cast<int>(at), false);
  showModified(true);
  refreshRows();
  if (kind == kIf || kind == kElseIf || kind == kWhile) {
    conditionDialog(at);
  } else if (opensDialogOnInsertion(kind)) {
    runEdit(at);
  }
  // The row, its automatic rows and what its dialog gave them are one step; a cancelled
  // dialog took them all away again, and then there is none.
  recordStep(StepName::insert(kind));
}

void TfrmProg::editRow(int row) { valueClick(row); }

QPoint TfrmProg::dialogPos(std::size_t row, const QSize& dialogSize) const {
  const QScreen* screen = QGuiApplication::screenAt(window()->geometry().center());
  if (!screen) screen = QGuiApplication::primaryScreen();
  ScreenArea area;
  if (screen) {
    area.height = screen->geometry().height();
    area.desktopLeft = screen->virtualGeometry().left();
    area.desktopWidth = screen->virtualGeometry().width();
  }
  const QRect icon = rowView_->iconRect(static_cast<int>(row));
  const ScreenPoint p = dialogPosition(layoutOrigin(), icon.x(), icon.y(), dialogSize.width(), dialogSize.height(), area);
  return {p.x, p.y};
}

QSize TfrmProg::shownSize(StatementDialog* dialog) {
  if (!dialog) return {320, 240};
  // The show handler decides which controls the dialog shows, and so its size.
  dialog->FormShow();
  dialog->fitToContents();
  return dialog->size();
}

void TfrmProg::runEdit(std::size_t row) {
  const int cno = ctx_.edit.cno;
  const DialogKind kind = dialogForSubjectKind(cno);
  if (kind == DialogKind::None || row >= program().size()) return;
  prepareForDialog(ctx_.edit);
  const Statement before = program().rows()[row];
  StatementDialog* dialog = bench_.dialogs().forSubjectKind(cno);
  const EditOutcome outcome = bench_.prompts().editStatement(this, kind, dialog, dialogPos(row, shownSize(dialog)));
  if (row >= program().size()) return;
  Statement& s = program().rows()[row];
  switch (outcome) {
    case EditOutcome::Ok:
      if (cno == kSubCall || cno == kReturn) {
        finishSubProgEdit(row, before);
        break;
      }
      copyBack(cno, ctx_.edit, s);
      showModified(true);
      rowView_->viewport()->update();
      break;
    case EditOutcome::Cancel:
    case EditOutcome::Unavailable:
      // A dialog that cannot open confirms nothing: a new row goes as on Cancel.
      if (neverConfirmed(s, rowText(static_cast<int>(row)).isEmpty(), cno)) removeBlock(row);
      break;
  }
}

void TfrmProg::finishSubProgEdit(std::size_t row, const Statement& before) {
  Statement& s = program().rows()[row];
  const EditBuffer edit = ctx_.edit;
  if (edit.cno == kReturn) {
    s.cno = kReturn;
    s.val0 = s.val1 = s.val2 = 0;
    s.cmt = edit.cmt;
    showModified(true);
    rowView_->viewport()->update();
    return;
  }
  const TfrmSubProg* sub = bench_.dialogs().subProg();
  const SubCallPlan plan = planSubCall(ctx_.programs, number_, static_cast<int>(row), before.val0, before.cmt,
                                       edit.val0, edit.cmt, sub->interruptChosen(), sub->editChosen());
  // Keeps the row as it was; a row that was never confirmed goes, as on Cancel.
  const auto keepRow = [this, row] {
    if (row < program().size() && program().rows()[row].cno == 0) removeBlock(row);
  };
  if (plan.number == 0) {
    bench_.prompts().ask(this, PromptIcon::Warning, qs(ctx_.messages(44)),
                         QStringLiteral("No Sub program number is free: all 29 are called already. "
                                        "Remove a sub-program call from Main, then try again."),
                         PromptButtons::Ok);
    keepRow();
    return;
  }
  if (plan.closeWindow > 0 && plan.closeWindow != number_) {
    if (TfrmProg* old = bench_.windows().prog(plan.closeWindow)) {
      if (!bench_.windows().mayClose(*old)) {
        keepRow();
        return;
      }
      bench_.windows().close(plan.closeWindow);
    }
  }
  if (row >= program().size()) return;
  Statement& call = program().rows()[row];
  call.cno = kSubCall;
  call.val0 = plan.number;
  call.val1 = call.val2 = 0;
  call.cmt = edit.cmt;
  showModified(true);
  rowView_->viewport()->update();
  if (!plan.openWindow) return;
  TfrmProg* target = bench_.windows().open(plan.number);
  if (!target || !plan.readFile) return;
  // A failed read reports itself; it touches only the Sub window.
  target->readFile(qs(ctx_.settings.DatPath_ + edit.cmt + ".Kvl"));
}

void TfrmProg::changeCondition(int row) {
  if (row < 0 || row >= static_cast<int>(program().size())) return;
  beginEdit();
  conditionDialog(static_cast<std::size_t>(row));
  recordStep(StepName::changeCondition());
}

void TfrmProg::conditionDialog(std::size_t r) {
  if (r >= program().size()) return;
  {
    const Statement& s = program().rows()[r];
    ctx_.edit.sno = s.sno;
    ctx_.edit.cno = s.cno;
  }
  StatementDialog* chooser = bench_.dialogs().condition();
  const EditOutcome outcome =
      bench_.prompts().editStatement(this, DialogKind::Condition, chooser, dialogPos(r, shownSize(chooser)));
  if (r >= program().size()) return;
  Statement& s = program().rows()[r];
  if (outcome != EditOutcome::Ok) {
    if (s.cno == 0) removeBlock(r);
    return;
  }
  switch (applyConditionChoice(s, ctx_.edit)) {
    case ConditionFollowUp::Stored:
      showModified(true);
      rowView_->viewport()->update();
      break;
    case ConditionFollowUp::OpenDialog:
      runEdit(r);
      break;
    case ConditionFollowUp::None:
      break;
  }
}

}  // namespace kavel::gui
