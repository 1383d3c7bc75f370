// The main window's program windows: opening, closing and activating them, the Window menu,
// and what the program windows ask of the main window.

#include "gui/app/TfrmMain.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

#include "gui/app/ClickLabel.h"
#include "gui/app/Glyphs.h"
#include "gui/app/JpegImage.h"
#include "gui/app/Prompts.h"
#include "gui/app/SidePanel.h"
#include "gui/app/TfrmHelp.h"
#include "gui/app/TfrmLanguage.h"
#include "gui/app/TfrmMsgBox.h"
#include "gui/dialogs/DialogSet.h"
#include "gui/editor/Palette.h"
#include "gui/editor/RowView.h"
#include "gui/editor/TfrmProg.h"
#include "core/model/ProgramFileCheck.h"
#include "core/model/ProgramSet.h"
#include "core/model/StatementKind.h"
#include "core/settings/ProductVariant.h"
#include "core/setup/SetupCodec.h"
#include "core/shell/ShellTexts.h"
#include "core/shell/WindowSizing.h"
#include "core/text/Format.h"
#include "core/text/TextFile.h"


namespace kavel::gui {
namespace {

QString qs(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

// --- services for the program windows -----------------------------------------------------------

void TfrmMain::disarm() {
  pnlButton()->release();
  updateCursor();
  for (TfrmProg* p : progs_) {
    if (p) p->rowView()->viewport()->update();
  }
}

void TfrmMain::clearClipboard() {
  ctx_.clipboard.clear();
  clearMarksInAllWindows();
}

void TfrmMain::clearMarksInAllWindows() {
  for (TfrmProg* p : progs_) {
    if (p) p->clearMarks();
  }
  updateCursor();
}

void TfrmMain::updateCursor() {
  bool marked = false;
  for (TfrmProg* p : progs_) marked = marked || (p && (p->cutMark() || p->copyMark()));
  if (pnlButton()->armedKind() >= 0) {
    mdi_->setCursor(Qt::DragMoveCursor);
  } else if (marked && !ctx_.clipboard.empty()) {
    mdi_->setCursor(Qt::DragCopyCursor);
  } else {
    mdi_->unsetCursor();
  }
}

bool TfrmMain::deleteQuery() const { return action("mmDelQuery")->isChecked(); }
bool TfrmMain::gridOn() const { return action("mmGrid")->isChecked(); }

int TfrmMain::paletteWidthIfLeft() const {
  return ctx_.settings.FuncPnl == 3 && sidePanel_->isVisible() ? pnlButton()->width() : 0;
}

ProgramFileContext TfrmMain::fileContext() {
  return ProgramFileContext{ctx_.settings, ctx_.io, ctx_.setup, ctx_.messages, mainWindowTitle()};
}

ProgramFileHooks TfrmMain::fileHooks(TfrmProg& prog) {
  ProgramFileHooks hooks;
  hooks.productWarning = [this](const std::string& text) {
    prompts_->ask(this, PromptIcon::Warning, QStringLiteral("Warning"), qs(text), PromptButtons::Ok);
  };
  hooks.askOldVersion = [this](const std::string& title, const std::string& text) {
    return prompts_->ask(this, PromptIcon::Warning, qs(title), qs(text), PromptButtons::YesNo) == Answer::Yes;
  };
  hooks.processEvents = [n = 0]() mutable {
    // Repaint now and then while a long file loads; user input waits until it is done.
    if (++n % 128 == 0) QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  };
  hooks.setSetupButton = [this](bool shown) { setSetupButtonShown(shown); };
  hooks.beforeClear = [this, &prog](Program& program) {
    for (const Statement& s : program.rows()) {
      if (s.sno == kSubCall && s.val0 > 0 && s.val0 != prog.number()) closeProgramWindow(s.val0);
    }
  };
  return hooks;
}

RowTextContext TfrmMain::rowTextContext(int programNumber) const { return rowTextContextOf(ctx_, programNumber); }

void TfrmMain::modifiedChanged() {
  if (QToolButton* b = toolButton("btnSave")) b->setEnabled(ctx_.programs.saveEnabled());
}

std::string TfrmMain::nextNewFileName() {
  const std::string name = defaultFileName(0, ctx_.settings.DatPath_, newFileNumber_);
  newFileNumber_ = std::atoi(name.c_str() + name.size() - 2);
  return name;
}

void TfrmMain::setSetupButtonShown(bool shown) {
  if (QToolButton* b = toolButton("btnSetup")) b->setVisible(shown);
  action("mmSetupButton")->setChecked(shown);
}

void TfrmMain::programActivated(int number) {
  ctx_.programs.current = number;
  pnlButton()->enableFor(number);
  panels_[1]->setText(number == 0 ? QStringLiteral("Main") : QStringLiteral("Sub-%1").arg(number));
  modifiedChanged();
  updateCursor();
}

bool TfrmMain::mayCloseSubWindow(TfrmProg& prog) {
  const Program& p = prog.program();
  if (!p.modified || prog.rowCount() == 0) return true;
  const QString text = qs(closeQuestionText(p.caption(), ctx_.messages(41), ctx_.messages.language()));
  switch (prompts_->ask(this, PromptIcon::Question, message(44), text, PromptButtons::YesNoCancel)) {
    case Answer::Yes:
      mdi_->setActiveSubWindow(subWindow(prog.number()));
      programActivated(prog.number());
      mmSaveClick();
      return !p.modified;
    case Answer::No:
      return true;
    default:
      return false;
  }
}

TfrmProg* TfrmMain::openProgramWindow(int number) {
  if (number < 0 || number >= ProgramSet::kPrograms) return nullptr;
  const auto n = static_cast<std::size_t>(number);
  if (!progs_[n]) {
    Program& p = ctx_.programs[number];
    p.open = true;
    p.modified = false;
    p.titleName = "New";
    p.statusText.clear();
    auto* prog = new TfrmProg(*this, ctx_, number);
    auto* sub = new QMdiSubWindow;
    sub->setWidget(prog);
    sub->setAttribute(Qt::WA_DeleteOnClose, false);
    sub->setWindowIcon(glyphs_->forKind(number == 0 ? kIf : kSubCall));
    progs_[n] = prog;
    subs_[n] = sub;
    mdi_->addSubWindow(sub);
    const QPoint at = number == 0 ? QPoint(0, 0) : QPoint(24 * (number % 10), 24 * (number % 10));
    const WindowSize size = newProgramWindowSize(mdi_->viewport()->width(), mdi_->viewport()->height(), at.x(), at.y());
    sub->setGeometry(at.x(), at.y(), std::max(size.width, 320), std::max(size.height, 200));
    prog->refreshTitle();
    prog->setCodeStyle(number == 0 && codeStyle());
    prog->setModified(false);
    rebuildWindowMenu();
  }
  QMdiSubWindow* sub = subs_[n];
  if (sub->isMinimized() || sub->isMaximized()) sub->showNormal();
  sub->show();
  mdi_->setActiveSubWindow(sub);
  programActivated(number);
  progs_[n]->setFocus();
  return progs_[n];
}

void TfrmMain::closeProgramWindow(int number) {
  if (number <= 0 || number >= ProgramSet::kPrograms) return;
  const auto n = static_cast<std::size_t>(number);
  TfrmProg* prog = progs_[n];
  if (!prog) return;
  progs_[n] = nullptr;  // first, so that nested closes (SubCall rows of this Sub) cannot come back
  prog->clearRows();
  Program& p = ctx_.programs[number];
  p.open = false;
  p.modified = false;
  p.path.clear();
  p.titleName = "New";
  QMdiSubWindow* sub = subs_[n];
  subs_[n] = nullptr;
  mdi_->removeSubWindow(sub);
  sub->hide();
  // Still owned until the event loop deletes it, so a closing application does not leak it.
  sub->setParent(this);
  sub->deleteLater();
  rebuildWindowMenu();
  if (ctx_.programs.current == number) {
    if (QMdiSubWindow* main = subs_[0]) mdi_->setActiveSubWindow(main);
    programActivated(0);
  }
  modifiedChanged();
}

void TfrmMain::rebuildWindowMenu() {
  for (QAction* a : windowItems_) {
    mnuWindow_->removeAction(a);
    a->deleteLater();
  }
  windowItems_.clear();
  for (int n = 0; n < ProgramSet::kPrograms; ++n) {
    if (!progs_[static_cast<std::size_t>(n)]) continue;
    QAction* a = mnuWindow_->addAction(n == 0 ? QStringLiteral("Main") : QStringLiteral("Sub-%1").arg(n));
    a->setObjectName(QStringLiteral("mmWindow%1").arg(n));
    connect(a, &QAction::triggered, this, [this, n] { openProgramWindow(n); });
    windowItems_ << a;
  }
}

void TfrmMain::markAllClosed() {
  for (int n = 0; n < ProgramSet::kPrograms; ++n) ctx_.programs[n].open = false;
}

}  // namespace kavel::gui
