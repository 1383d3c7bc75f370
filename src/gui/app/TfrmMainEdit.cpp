// The main window's Edit menu: Undo and Redo for the current program window.

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

#include "core/editor/StepName.h"
#include "gui/app/QtText.h"
#include "gui/app/TfrmMain.h"
#include "gui/app/Workbench.h"
#include "gui/editor/TfrmProg.h"

namespace kavel::gui {

void TfrmMain::buildEditMenu() {
  mnuEdit_ = menuBar()->addMenu(QStringLiteral("Edit (&E)"));
  mnuEdit_->setObjectName("mnuEdit");
  mnuEdit_->menuAction()->setObjectName("mnuEditItem");
  QAction* undo = mnuEdit_->addAction(QStringLiteral("&Undo"));
  undo->setObjectName("mmUndo");
  undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
  connect(undo, &QAction::triggered, this, [this] { mmUndoClick(); });
  QAction* redo = mnuEdit_->addAction(QStringLiteral("&Redo"));
  redo->setObjectName("mmRedo");
  redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
  connect(redo, &QAction::triggered, this, [this] { mmRedoClick(); });

  connect(mnuEdit_, &QMenu::aboutToShow, this, &TfrmMain::refreshEditMenu);
  connect(bench_.get(), &Workbench::historyChanged, this, [this](int) { refreshEditMenu(); });
  connect(bench_.get(), &Workbench::programModified, this, [this](int) { refreshEditMenu(); });
  connect(bench_.get(), &Workbench::currentChanged, this, [this](int) { refreshEditMenu(); });
  connect(bench_.get(), &Workbench::languageChanged, this, &TfrmMain::refreshEditMenu);
  refreshEditMenu();
}

void TfrmMain::refreshEditMenu() {
  if (!mnuEdit_) return;
  mnuEdit_->setTitle(message(kMsgEditMenu));
  QAction* undo = action("mmUndo");
  QAction* redo = action("mmRedo");
  const TfrmProg* cur = prog(codeStyle() ? 0 : ctx_.programs.current);
  undo->setText(cur ? cur->undoCaption() : qs(historyItemCaption(ctx_.messages(kMsgUndo), {})));
  redo->setText(cur ? cur->redoCaption() : qs(historyItemCaption(ctx_.messages(kMsgRedo), {})));
  undo->setEnabled(cur && cur->canUndo());
  redo->setEnabled(cur && cur->canRedo());
}

void TfrmMain::mmUndoClick() {
  if (TfrmProg* cur = prog(codeStyle() ? 0 : ctx_.programs.current)) cur->undo();
  refreshEditMenu();
}

void TfrmMain::mmRedoClick() {
  if (TfrmProg* cur = prog(codeStyle() ? 0 : ctx_.programs.current)) cur->redo();
  refreshEditMenu();
}

}  // namespace kavel::gui
