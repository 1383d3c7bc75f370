// The main window's tool-bar windows: the I/O setup window and the C-code library browser.

#include <QAction>
#include <QGuiApplication>
#include <QScreen>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>

#include "core/codegen/HeaderBlock.h"
#include "core/setup/CSourceHeader.h"
#include "core/text/TextFile.h"
#include "gui/app/Prompts.h"
#include "gui/app/QtText.h"
#include "gui/app/TfrmMain.h"
#include "gui/app/Workbench.h"
#include "gui/build/TfrmCode.h"
#include "gui/dialogs/DialogSet.h"
#include "gui/editor/CodeEditor.h"
#include "gui/editor/TfrmProg.h"
#include "gui/setup/TfrmSetup.h"

namespace kavel::gui {

namespace {

/// `r` moved back onto `screen` where it would leave it.
QPoint keptOnScreen(QRect r, const QScreen* screen) {
  if (!screen) return r.topLeft();
  const QRect area = screen->availableVirtualGeometry();
  r.moveRight(std::min(r.right(), area.right()));
  r.moveBottom(std::min(r.bottom(), area.bottom()));
  r.moveLeft(std::max(r.left(), area.left()));
  r.moveTop(std::max(r.top(), area.top()));
  return r.topLeft();
}

}  // namespace

void TfrmMain::showToolButton(const char* name, bool shown) {
  QToolButton* button = toolButton(QString::fromLatin1(name));
  if (!button) return;
  for (QAction* a : tBar_->actions()) {
    if (tBar_->widgetForAction(a) == button) a->setVisible(shown);
  }
  // The action updates the widget only at the next layout; the widget follows at once.
  button->setVisible(shown);
}

void TfrmMain::btnSetupClick() {
  setup_->FormShow();
  setup_->adjustSize();
  const QToolButton* button = toolButton("btnSetup");
  const int right = button && button->isVisible() ? button->mapToGlobal(QPoint(button->width(), 0)).x()
                                                  : mapToGlobal(QPoint(width(), 0)).x();
  const int top = tBar_->mapToGlobal(QPoint(0, tBar_->height())).y();
  QRect placed(QPoint(0, top), setup_->size());
  placed.moveRight(right);
  setup_->move(keptOnScreen(placed, screen()));

  setup_->setResult(QDialog::Rejected);  // closing the window any other way is Cancel
  prompts_->showModal(*setup_);
  if (setup_->result() != QDialog::Accepted) {
    // "Default Setup" and the connector popups change the setup for good, Cancel or not.
    if (setup_->changedBeforeCancel()) refreshPalette();
    return;
  }
  if (setup_->wantsSetupButton()) setSetupButtonShown(true);
  if (codeStyle()) {
    TfrmProg* main = prog(0);
    if (!main) return;
    const std::vector<std::string> header =
        fullHeaderBlock(main->program().caption(), windowTitle().toStdString(), text::folderOf(ctx_.settings.BatFile_),
                        ctx_.setup, ctx_.io);
    main->setCodeLines(replaceCSourceHeader(main->codeLines(), header));
    main->setModified(true);
    return;
  }
  refreshPalette();
  if (TfrmProg* main = prog(0)) main->setModified(true);
}

void TfrmMain::btnCLibClick() {
  TfrmCode* lib = dialogs().code();
  if (lib->isVisible()) {
    lib->close();
    return;
  }
  TfrmProg* cur = prog(ctx_.programs.current);
  if (!cur) cur = prog(0);
  if (!cur) return;
  const QToolButton* button = toolButton("btnCLib");
  const int left = button ? button->mapToGlobal(QPoint(0, 0)).x() : mapToGlobal(QPoint(0, 0)).x();
  const int top = tBar_->mapToGlobal(QPoint(0, tBar_->height())).y();
  lib->openBrowser(cur->memoCode(), QPoint(left, top));
}

}  // namespace kavel::gui
