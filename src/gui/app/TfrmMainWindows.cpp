// The main window's side of the program windows: the forwarders to the workbench's
// ProgramWindows that the commands use, and what the main window shows when the current
// program or its modified state changes.

#include <QAction>
#include <QLabel>
#include <QToolButton>

#include "gui/app/ProgramWindows.h"
#include "gui/app/TfrmMain.h"
#include "gui/app/Workbench.h"
#include "gui/dialogs/DialogSet.h"
#include "gui/editor/Palette.h"

namespace kavel::gui {

ProgramWindows& TfrmMain::windows() { return bench_->windows(); }
DialogSet& TfrmMain::dialogs() { return bench_->dialogs(); }
const Glyphs& TfrmMain::glyphs() const { return bench_->glyphs(); }

TfrmProg* TfrmMain::prog(int number) const { return bench_->windows().prog(number); }
QMdiSubWindow* TfrmMain::subWindow(int number) const { return bench_->windows().subWindow(number); }
QStringList TfrmMain::windowMenuItems() const { return bench_->windows().menuItems(); }
TfrmProg* TfrmMain::openProgramWindow(int number) { return windows().open(number); }
void TfrmMain::closeProgramWindow(int number) { windows().close(number); }
void TfrmMain::disarm() { bench_->disarm(); }
int TfrmMain::paletteWidthIfLeft() const { return bench_->paletteWidthIfLeft(); }

void TfrmMain::modifiedChanged() {
  if (QToolButton* b = toolButton("btnSave")) b->setEnabled(ctx_.programs.saveEnabled());
}

void TfrmMain::setSetupButtonShown(bool shown) {
  showToolButton("btnSetup", shown);
  action("mmSetupButton")->setChecked(shown);
}

void TfrmMain::programActivated(int number) {
  pnlButton()->enableFor(number);
  panels_[1]->setText(number == 0 ? QStringLiteral("Main") : QStringLiteral("Sub-%1").arg(number));
  modifiedChanged();
}

}  // namespace kavel::gui
