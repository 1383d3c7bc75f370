// From pressing Build in the build window to the result message, for a 1000-row Main with the
// sample build folder: generation, the tool chain in its QProcess, the progress bar running out
// (10 ms a step up to 100) and the copies beside the program.
// Run: build/bench/build_window_gui_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <filesystem>

#include "core/Context.h"
#include "core/model/ProgramFile.h"
#include "core/model/StatementKind.h"
#include "gui/app/Prompts.h"
#include "gui/build/TfrmBuild.h"

using namespace kavel;
namespace fs = std::filesystem;

namespace {

class TimedPrompts : public gui::Prompts {
 public:
  gui::Answer ask(QWidget*, gui::PromptIcon, const QString& title, const QString&, gui::PromptButtons) override {
    lastTitle = title;
    answered = true;
    return gui::Answer::Ok;
  }
  QString lastTitle;
  bool answered = false;
};

Statement rowOf(int sno, int v0, int v1 = 0) {
  Statement s;
  s.sno = s.cno = sno;
  s.val0 = v0;
  s.val1 = v1;
  return s;
}

void BM_PressBuildToResultMessage(benchmark::State& state) {
  QTemporaryDir dir;
  const fs::path root(dir.path().toStdString());
  fs::create_directories(root / "Build");
  fs::copy(KAVEL_BIN_DIR "/Build/Build_V190617", root / "Build" / "Build_V190617", fs::copy_options::recursive);
  Context ctx;
  ctx.settings.BatFile_ = (root / "Build" / "Build_V190617" / "BuildPath.Bat").string();
  ctx.settings.DatPath_ = root.string() + "/";
  ctx.settings.MCU2620_ = 1;
  Program main(0);
  while (main.size() < Program::kMaxRows) {
    main.appendRow(rowOf(kMotorForward, 50, 50));
    main.appendRow(rowOf(kWait, 500));
  }
  const std::string file = (root / "robot.Kvl").string();
  ProgramFileContext fc{ctx.settings, ctx.io, ctx.setup, ctx.messages, mainWindowTitle()};
  writeProgramFile(main, file, fc);
  readProgramFile(ctx.programs.main(), file, fc);
  ctx.programs.current = 0;

  TimedPrompts prompts;
  gui::TfrmBuild window(ctx, prompts);
  window.show();
  for (auto _ : state) {
    window.FormShow();
    window.ckDownLoad->setChecked(false);
    prompts.answered = false;
    QElapsedTimer clock;
    clock.start();
    window.btnBuildClick();
    while (!prompts.answered) QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    state.SetIterationTime(static_cast<double>(clock.nsecsElapsed()) / 1e9);
    while (window.running()) QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    if (prompts.lastTitle != "Complete!") {
      state.SkipWithError("the sample build folder did not build the program");
      return;
    }
  }
}
BENCHMARK(BM_PressBuildToResultMessage)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

}  // namespace
