// The main window's build commands: Build with its save step, the build path, Download.

#include <QAction>
#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>

#include <algorithm>

#include "core/build/HistoryName.h"
#include "core/codegen/CodeGenerator.h"
#include "core/model/ProgramFile.h"
#include "core/model/ProgramSet.h"
#include "core/settings/AppSettings.h"
#include "core/shell/ModeQuestion.h"
#include "core/text/Format.h"
#include "core/text/TextFile.h"
#include "gui/app/ProgramWindows.h"
#include "gui/app/Prompts.h"
#include "gui/app/QtText.h"
#include "gui/app/TfrmMain.h"
#include "gui/app/TfrmMsgBox.h"
#include "gui/app/Workbench.h"
#include "gui/build/TfrmBuild.h"
#include "gui/editor/TfrmProg.h"

namespace kavel::gui {
namespace {

constexpr const char* kInterruptRoutine = "void user_sub_30(void)";
constexpr const char* kReloadText = "%s Modified. Please Reload File.";

}  // namespace

TfrmBuild* TfrmMain::frmBuild() const { return &bench_->frmBuild(); }

void TfrmMain::mmBuildClick() {
  TfrmProg* cur = prog(ctx_.programs.current);
  if (!cur || cur->rowCount() == 0) return;
  Program& p = cur->program();
  if (ctx_.settings.BuildJob == 0 && p.path.empty()) {
    p.path = ctx_.settings.DatPath_ +
             (p.isMain() ? text::format("NewFile-%02d", bench_->newFileNumber()) : text::format("SubFile-%02d", p.index()));
    p.statusText = p.path;
    cur->rowsChanged();
  }
  if (!saveBeforeBuild()) return;

  TfrmBuild& build = bench_->frmBuild();
  build.setResult(QDialog::Rejected);
  prompts_->showModal(build);
  if (build.result() != QDialog::Accepted) {
    openProgramWindow(ctx_.programs.current);
  } else if (build.ckDownLoad->isChecked()) {
    mmDownLoadClick();
  }
  build.BuildResult = 0;
}

bool TfrmMain::saveBeforeBuild() { return codeStyle() ? saveCodeBeforeBuild() : saveProgramsBeforeBuild(); }

bool TfrmMain::saveProgramsBeforeBuild() {
  // The build reads every Sub that Main calls from the file the call names. A call that names
  // none belongs to a Sub that was never saved (an empty one too): it is saved like a modified
  // program, its window opened again when it was closed.
  std::vector<int> unnamed;
  for (const CalledSub& call : calledSubs(ctx_.programs.main())) {
    if (call.fileName.empty() && call.number >= 1 && call.number < ProgramSet::kPrograms) unnamed.push_back(call.number);
  }
  for (int n : unnamed) {
    if (!prog(n)) openProgramWindow(n);
  }
  const auto neverSaved = [&unnamed](const TfrmProg& p) {
    return p.program().path.empty() && std::find(unnamed.begin(), unnamed.end(), p.number()) != unnamed.end();
  };
  for (int n = ProgramSet::kPrograms - 1; n >= 0; --n) {
    TfrmProg* p = prog(n);
    if (!p || (!p->program().modified && !neverSaved(*p))) continue;
    QMdiSubWindow* sub = subWindow(n);
    if (sub && sub->isMinimized()) sub->showNormal();
    mdi_->setActiveSubWindow(sub);
    windows().activate(n);

    if (p->program().path.empty()) {
      mmSaveClick();
    } else {
      std::string path = p->program().path;
      path.resize(path.size() - text::extensionOf(path).size());
      path += kProgramFileExtension;
      if (ctx_.settings.BuildJob == 1) {
        if (!prompts_->askMode(*msgBox_, ModeQuestion::kBuildSave)) return false;
        // The question may have changed the mode: the status bar and the menu follow at once.
        setBuildJob(ctx_.settings.BuildJob);
      }
      // A history name is given by saveProgramAs when BuildJob is 2.
      saveProgramAs(path);
    }
    if (p->program().modified || neverSaved(*p)) return false;
  }
  if (prog(0)) windows().activate(0);
  return true;
}

bool TfrmMain::saveCodeBeforeBuild() {
  TfrmProg* main = prog(0);
  if (!main) return false;
  windows().activate(0);
  Program& p = main->program();
  if (p.path.empty()) {
    mmSaveClick();
    return !p.modified;
  }
  const std::vector<std::string> lines = main->codeLines();
  ctx_.io.interruptInUse = std::any_of(lines.begin(), lines.end(), [](const std::string& line) {
    return line.find(kInterruptRoutine) != std::string::npos;
  });
  const QFileInfo onDisk(qs(p.path));
  if (onDisk.exists() && onDisk.lastModified().toMSecsSinceEpoch() > codeFileTime_) {
    prompts_->ask(this, PromptIcon::Question, message(44),
                  qs(text::format(kReloadText, text::fileNameOf(p.path).c_str())), PromptButtons::Ok);
    return false;
  }
  if (!p.modified) return true;
  if (ctx_.settings.BuildJob == 1) {
    if (!prompts_->askMode(*msgBox_, ModeQuestion::kBuildSave)) return false;
    setBuildJob(ctx_.settings.BuildJob);
  }
  // A history name is given by saveCodeAs when BuildJob is 2.
  return saveCodeAs(p.path) && !p.modified;
}

void TfrmMain::mmBuildPathFolderClick() { bench_->frmBuild().ChooseBuildPath(); }

void TfrmMain::buildPathChanged() {
  action("mmBuildPathFolder")->setText(qs(text::folderOf(ctx_.settings.BatFile_)));
  saveSettingsNow();
}

}  // namespace kavel::gui
