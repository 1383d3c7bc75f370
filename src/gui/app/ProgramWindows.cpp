#include "gui/app/ProgramWindows.h"

#include <QAction>
#include <QCoreApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>

#include <algorithm>

#include "core/model/ProgramSet.h"
#include "core/model/StatementKind.h"
#include "core/shell/ShellTexts.h"
#include "core/shell/WindowSizing.h"
#include "gui/app/Glyphs.h"
#include "gui/app/Prompts.h"
#include "gui/app/QtText.h"
#include "gui/app/Workbench.h"
#include "gui/editor/RowView.h"
#include "gui/editor/TfrmProg.h"

namespace kavel::gui {

ProgramWindows::ProgramWindows(Workbench& bench, Context& ctx) : bench_(bench), ctx_(ctx) {
  connect(&bench_, &Workbench::armChanged, this, [this](int) {
    updateCursor();
    repaintAll();
  });
  connect(&bench_, &Workbench::languageChanged, this, [this] {
    for (TfrmProg* p : progs_) {
      if (p) p->applyLanguage();
    }
  });
  connect(&bench_, &Workbench::setupChanged, this, &ProgramWindows::repaintAll);
}

ProgramWindows::~ProgramWindows() { releaseAll(); }

void ProgramWindows::attach(QMdiArea* area, QMenu* windowMenu) {
  mdi_ = area;
  menu_ = windowMenu;
  connect(mdi_, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* sub) {
    for (int n = 0; n < ProgramSet::kPrograms; ++n) {
      if (sub && subs_[static_cast<std::size_t>(n)] == sub) activate(n);
    }
  });
}

QWidget* ProgramWindows::dialogParent() const { return mdi_ ? mdi_->window() : nullptr; }

TfrmProg* ProgramWindows::prog(int number) const {
  return number >= 0 && number < ProgramSet::kPrograms ? progs_[static_cast<std::size_t>(number)] : nullptr;
}

QMdiSubWindow* ProgramWindows::subWindow(int number) const {
  return number >= 0 && number < ProgramSet::kPrograms ? subs_[static_cast<std::size_t>(number)] : nullptr;
}

QStringList ProgramWindows::menuItems() const {
  QStringList items;
  for (QAction* a : items_) items << a->text();
  return items;
}

TfrmProg* ProgramWindows::open(int number) {
  if (!mdi_ || number < 0 || number >= ProgramSet::kPrograms) return nullptr;
  const auto n = static_cast<std::size_t>(number);
  if (!progs_[n]) {
    Program& p = ctx_.programs[number];
    p.open = true;
    p.modified = false;
    p.titleName = "New";
    p.statusText.clear();
    auto* prog = new TfrmProg(bench_, ctx_, number);
    auto* sub = new QMdiSubWindow;
    sub->setWidget(prog);
    sub->setAttribute(Qt::WA_DeleteOnClose, false);
    sub->setWindowIcon(bench_.glyphs().forKind(number == 0 ? kIf : kSubCall));
    progs_[n] = prog;
    subs_[n] = sub;
    mdi_->addSubWindow(sub);
    const QPoint at = number == 0 ? QPoint(0, 0) : QPoint(24 * (number % 10), 24 * (number % 10));
    const WindowSize size = newProgramWindowSize(mdi_->viewport()->width(), mdi_->viewport()->height(), at.x(), at.y());
    sub->setGeometry(at.x(), at.y(), std::max(size.width, 320), std::max(size.height, 200));
    prog->refreshTitle();
    prog->setCodeStyle(number == 0 && ctx_.settings.EdtStyle != 0);
    prog->setModified(false);
    rebuildMenu();
  }
  QMdiSubWindow* sub = subs_[n];
  if (sub->isMinimized() || sub->isMaximized()) sub->showNormal();
  sub->show();
  mdi_->setActiveSubWindow(sub);
  activate(number);
  progs_[n]->setFocus();
  return progs_[n];
}

void ProgramWindows::close(int number) {
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
  sub->setParent(mdi_->window());
  sub->deleteLater();
  rebuildMenu();
  if (ctx_.programs.current == number) {
    if (QMdiSubWindow* main = subs_[0]) mdi_->setActiveSubWindow(main);
    activate(0);
  }
  bench_.notifyModified(number);
}

void ProgramWindows::closeAbove(int number) {
  for (int n = ProgramSet::kPrograms - 1; n > std::max(number, 0); --n) close(n);
}

void ProgramWindows::releaseAll() {
  // Program windows refer to the workbench; release them without the activation signals that
  // closing one window sends for the next.
  if (mdi_) disconnect(mdi_, nullptr, this, nullptr);
  progs_.fill(nullptr);
  for (QMdiSubWindow*& sub : subs_) {
    delete sub;
    sub = nullptr;
  }
}

void ProgramWindows::markAllClosed() {
  for (int n = 0; n < ProgramSet::kPrograms; ++n) ctx_.programs[n].open = false;
}

void ProgramWindows::activate(int number) {
  ctx_.programs.current = number;
  emit bench_.currentChanged(number);
  updateCursor();
}

bool ProgramWindows::mayClose(TfrmProg& prog) {
  const Program& p = prog.program();
  if (!p.modified || prog.rowCount() == 0) return true;
  const QString text = qs(closeQuestionText(p.caption(), ctx_.messages(41), ctx_.messages.language()));
  switch (bench_.prompts().ask(dialogParent(), PromptIcon::Question, qs(ctx_.messages(44)), text,
                               PromptButtons::YesNoCancel)) {
    case Answer::Yes:
      mdi_->setActiveSubWindow(subWindow(prog.number()));
      activate(prog.number());
      if (save_) save_();
      return !p.modified;
    case Answer::No:
      return true;
    default:
      return false;
  }
}

bool ProgramWindows::offerToSaveSubsAbove(int number) {
  const int current = ctx_.programs.current;
  for (int n = std::max(number + 1, 1); n < ProgramSet::kPrograms; ++n) {
    TfrmProg* p = prog(n);
    if (!p || p->rowCount() == 0 || !p->program().modified) continue;
    if (!mayClose(*p)) return false;
  }
  if (prog(current)) {
    mdi_->setActiveSubWindow(subWindow(current));
    activate(current);
  }
  return true;
}

void ProgramWindows::clearClipboard() {
  ctx_.clipboard.clear();
  clearMarks();
}

void ProgramWindows::clearMarks() {
  for (TfrmProg* p : progs_) {
    if (p) p->clearMarks();
  }
  updateCursor();
}

void ProgramWindows::updateCursor() {
  if (!mdi_) return;
  bool marked = false;
  for (TfrmProg* p : progs_) marked = marked || (p && (p->cutMark() || p->copyMark()));
  if (bench_.armedKind() >= 0) {
    mdi_->setCursor(Qt::DragMoveCursor);
  } else if (marked && !ctx_.clipboard.empty()) {
    mdi_->setCursor(Qt::DragCopyCursor);
  } else {
    mdi_->unsetCursor();
  }
}

void ProgramWindows::repaintAll() {
  for (TfrmProg* p : progs_) {
    if (p) p->rowView()->viewport()->update();
  }
}

ProgramFileHooks ProgramWindows::fileHooks(TfrmProg& prog) {
  ProgramFileHooks hooks;
  hooks.productWarning = [this](const std::string& text) {
    bench_.prompts().ask(dialogParent(), PromptIcon::Warning, QStringLiteral("Warning"), qs(text), PromptButtons::Ok);
  };
  hooks.askOldVersion = [this](const std::string& title, const std::string& text) {
    return bench_.prompts().ask(dialogParent(), PromptIcon::Warning, qs(title), qs(text), PromptButtons::YesNo) ==
           Answer::Yes;
  };
  hooks.processEvents = [n = 0]() mutable {
    // Repaint now and then while a long file loads; user input waits until it is done.
    if (++n % 128 == 0) QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  };
  hooks.setSetupButton = [this](bool shown) { emit bench_.setupButtonRequested(shown); };
  hooks.beforeClear = [this, &prog](Program& program) {
    for (const Statement& s : program.rows()) {
      if (s.sno == kSubCall && s.val0 > 0 && s.val0 != prog.number()) close(s.val0);
    }
  };
  return hooks;
}

void ProgramWindows::rebuildMenu() {
  if (!menu_) return;
  for (QAction* a : items_) {
    menu_->removeAction(a);
    a->deleteLater();
  }
  items_.clear();
  for (int n = 0; n < ProgramSet::kPrograms; ++n) {
    if (!progs_[static_cast<std::size_t>(n)]) continue;
    QAction* a = menu_->addAction(n == 0 ? QStringLiteral("Main") : QStringLiteral("Sub-%1").arg(n));
    a->setObjectName(QStringLiteral("mmWindow%1").arg(n));
    connect(a, &QAction::triggered, this, [this, n] { open(n); });
    items_ << a;
  }
}

}  // namespace kavel::gui
