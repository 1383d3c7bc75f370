// Undo in a program window of 1000 rows: one step taken back and the rows painted again, for a
// one-row edit and for a deleted block of 50 rows; and the memory of 1000 steps made through the
// window (the history's own count and the growth of VmRSS).
// Run: build/bench/undo_gui_bench --benchmark_repetitions=15 --benchmark_report_aggregates_only=true

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>

#include <fstream>
#include <memory>
#include <string>

#include "core/Context.h"
#include "core/model/StatementKind.h"
#include "core/settings/ProductVariant.h"
#include "gui/app/Prompts.h"
#include "gui/app/TfrmMain.h"
#include "gui/editor/RowView.h"
#include "gui/editor/TfrmProg.h"
#include "ResidentMemory.h"

using namespace kavel;

namespace {

// Answers every question Yes; a statement dialog confirms a new value at once.
class QuietPrompts : public gui::Prompts {
 public:
  Context* ctx = nullptr;
  int value = 0;
  gui::Answer ask(QWidget*, gui::PromptIcon, const QString&, const QString&, gui::PromptButtons) override {
    return gui::Answer::Yes;
  }
  void chooseLanguage(QWidget*, Context& c) override { c.settings.LANG_NO_ = 1; }
  gui::EditOutcome editStatement(QWidget*, DialogKind, gui::StatementDialog*, const QPoint&) override {
    ctx->edit.val0 = ++value % 30000 + 1;
    return gui::EditOutcome::Ok;
  }
};

struct Session {
  Session() {
    prompts.ctx = &ctx;
    gui::MainOptions o;
    o.programFolder = std::string(KAVEL_BIN_DIR) + "/";
    o.iniPath = dir.path().toStdString() + "/kavelide.ini";
    std::ofstream(o.iniPath) << "[LANGUAGE]\nLANG_NO_=1\n[PRJ]\nDatPath_=" << dir.path().toStdString() << "/\n";
    o.prompts = &prompts;
    main = std::make_unique<gui::TfrmMain>(ctx, o);
    main->resize(1280, 800);
    main->show();
    QApplication::processEvents();
    prog = main->prog(0);
    // 1000 rows in While blocks of 50, as a file would bring them.
    prog->clearRows();
    Program& p = prog->program();
    const int kinds[] = {kMotorForward, kWait, kVariable, kCCode, kLcd, kGreenLedOn, kServo, kPwm, kTimer};
    for (int i = 0; i < 1000; ++i) {
      Statement s;
      if (i % 50 == 0) {
        s.sno = kWhile;
        s.cno = kUnconditional;
      } else if (i % 50 == 49) {
        s.sno = kEnd;
        s.cno = kClosesWhile;
      } else {
        s.sno = s.cno = kinds[i % std::size(kinds)];
        s.val0 = i * 37 % 999;
        s.cmt = i % 3 == 0 ? "\xE5\x89\x8D\xE9\x80\xB2 row comment" : "comment";
        if (s.sno == kCCode) s.cmt = "x = x + 1;";
      }
      p.appendRow(s);
    }
    prog->rowsChanged();
    prog->setModified(false);
    main->action("mmDelQuery")->trigger();  // deleting asks nothing
  }
  QTemporaryDir dir;
  Context ctx;
  QuietPrompts prompts;
  std::unique_ptr<gui::TfrmMain> main;
  gui::TfrmProg* prog = nullptr;
};


// Arg 0: a dialog's new value on row 502; arg 1: the While block at row 501 deleted (50 rows).
void BM_UndoOneStepAndRepaint(benchmark::State& state) {
  Session s;
  if (state.range(0) == 0) {
    s.prog->valueClick(501);
  } else {
    s.prog->deleteRows(500);
  }
  if (!s.prog->canUndo()) state.SkipWithError("no step to undo");
  QWidget* viewport = s.prog->rowView()->viewport();
  for (auto _ : state) {
    s.prog->undo();
    const QPixmap painted = viewport->grab();
    benchmark::DoNotOptimize(painted.cacheKey());
    state.PauseTiming();
    s.prog->redo();
    state.ResumeTiming();
  }
  state.counters["rows"] = static_cast<double>(s.prog->program().size());
}
BENCHMARK(BM_UndoOneStepAndRepaint)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_Memory1000StepsThroughTheWindow(benchmark::State& state) {
  for (auto _ : state) {
    Session s;
    const long before = kavel::testing::residentKiB();
    // Value edits all over the program, and blocks cut and pasted back elsewhere.
    for (int step = 0; step < 1000; ++step) {
      const int row = step * 7919 % static_cast<int>(s.prog->program().size());
      const Statement& r = s.prog->program().rows()[static_cast<std::size_t>(row)];
      if (step % 4 == 3 && r.sno != kEnd) {
        s.prog->cutRows(row);
        s.prog->pasteRows(step % static_cast<int>(s.prog->program().size()));
      } else if (r.sno != kEnd && r.sno != kWhile) {
        s.prog->valueClick(row);
      } else {
        s.prog->valueClick(row + 1);
      }
    }
    QApplication::processEvents();
    const long after = kavel::testing::residentKiB();
    const auto& h = s.prog->history();
    state.counters["steps"] = static_cast<double>(h.count());
    state.counters["history_KiB"] = static_cast<double>(h.bytesHeld()) / 1024.0;
    state.counters["rss_growth_MB"] = static_cast<double>(after - before) / 1024.0;
    state.counters["rows"] = static_cast<double>(s.prog->program().size());
  }
}
BENCHMARK(BM_Memory1000StepsThroughTheWindow)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(1);

}  // namespace
