// Opening a 1000-row program file into a program window and painting it once, offscreen; and
// the memory of Main plus 30 Sub windows of 1000 rows each (VmRSS).
// Run: build/bench/program_window_gui_bench --benchmark_repetitions=15 --benchmark_report_aggregates_only=true

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>

#include <fstream>
#include <memory>
#include <string>

#include "core/Context.h"
#include "gui/app/Prompts.h"
#include "gui/app/TfrmMain.h"
#include "gui/editor/RowView.h"
#include "gui/editor/TfrmProg.h"
#include "core/model/ProgramFile.h"
#include "core/model/StatementKind.h"
#include "core/settings/ProductVariant.h"
#include "ResidentMemory.h"

using namespace kavel;

namespace {

// Answers every question Yes and opens no dialog, so nothing waits for a user.
class QuietPrompts : public gui::Prompts {
 public:
  gui::Answer ask(QWidget*, gui::PromptIcon, const QString&, const QString&, gui::PromptButtons) override {
    return gui::Answer::Yes;
  }
  void chooseLanguage(QWidget*, Context& ctx) override { ctx.settings.LANG_NO_ = 1; }
};

// A program file of 1000 row lines in nested blocks with every common row shape.
std::string writeProgram(const std::string& path, const std::string& caption) {
  Context ctx;
  Program p;
  const int kinds[] = {kMotorForward, kWait, kVariable, kCCode, kLcd, kGreenLedOn, kServo, kPwm, kTimer};
  for (std::size_t i = 0; i < 1000;) {
    if (i % 50 == 0 && i + 3 <= 1000) {
      Statement w;
      w.sno = kWhile;
      w.cno = kUnconditional;
      p.rows().push_back(w);
      ++i;
      continue;
    }
    Statement s;
    s.sno = s.cno = kinds[i % std::size(kinds)];
    s.val0 = static_cast<int>(i * 37 % 999);
    s.val1 = static_cast<int>(i % 2);
    s.cmt = i % 3 == 0 ? "\xE5\x89\x8D\xE9\x80\xB2 row comment" : "comment";
    if (s.sno == kCCode) s.cmt = "x = x + 1;";
    p.rows().push_back(s);
    ++i;
    if (i % 50 == 49) {
      Statement e;
      e.sno = kEnd;
      e.cno = kClosesWhile;
      p.rows().push_back(e);
      ++i;
    }
  }
  ProgramFileContext fc{ctx.settings, ctx.io, ctx.setup, ctx.messages, mainWindowTitle()};
  std::string text = programFileText(p, fc);
  const std::size_t title = text.find(' ');
  text.replace(6, title - 6, caption);  // "Title:<caption> ..."
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

struct Session {
  Session() {
    gui::MainOptions o;
    o.programFolder = std::string(KAVEL_BIN_DIR) + "/";
    o.iniPath = dir.path().toStdString() + "/kavelide.ini";
    std::ofstream(o.iniPath) << "[LANGUAGE]\nLANG_NO_=1\n[PRJ]\nDatPath_=" << dir.path().toStdString() << "/\n";
    o.prompts = &prompts;
    main = std::make_unique<gui::TfrmMain>(ctx, o);
    main->resize(1280, 800);
    main->show();
    QApplication::processEvents();
  }
  QTemporaryDir dir;
  Context ctx;
  QuietPrompts prompts;
  std::unique_ptr<gui::TfrmMain> main;
};


void BM_OpenAndPaint1000Rows(benchmark::State& state) {
  Session s;
  const std::string path = writeProgram(s.dir.path().toStdString() + "/big.Kvl", "Main - [ big ]");
  gui::TfrmProg* prog = s.main->prog(0);
  for (auto _ : state) {
    if (!s.main->openProgramFile(QString::fromStdString(path))) state.SkipWithError("open failed");
    const QPixmap painted = prog->rowView()->viewport()->grab();
    benchmark::DoNotOptimize(painted.cacheKey());
  }
  state.counters["rows"] = static_cast<double>(prog->program().size());
}
BENCHMARK(BM_OpenAndPaint1000Rows)->Unit(benchmark::kMillisecond);

void BM_ScrollOneRowAndPaint(benchmark::State& state) {
  Session s;
  const std::string path = writeProgram(s.dir.path().toStdString() + "/big.Kvl", "Main - [ big ]");
  s.main->openProgramFile(QString::fromStdString(path));
  gui::RowView* view = s.main->prog(0)->rowView();
  int v = 0;
  for (auto _ : state) {
    view->setVerticalPosition(v = (v + 1) % 980);
    const QPixmap painted = view->viewport()->grab();
    benchmark::DoNotOptimize(painted.cacheKey());
  }
}
BENCHMARK(BM_ScrollOneRowAndPaint)->Unit(benchmark::kMicrosecond);

void BM_MainAnd30SubsOf1000Rows(benchmark::State& state) {
  for (auto _ : state) {
    const long before = kavel::testing::residentKiB();
    Session s;
    const std::string mainPath = writeProgram(s.dir.path().toStdString() + "/big.Kvl", "Main - [ big ]");
    const std::string subPath = writeProgram(s.dir.path().toStdString() + "/sub.Kvl", "Sub-1 [ sub ]");
    s.main->openProgramFile(QString::fromStdString(mainPath));
    std::size_t rows = s.ctx.programs.main().size();
    for (int n = 1; n <= 30; ++n) {
      gui::TfrmProg* sub = s.main->openProgramWindow(n);
      sub->readFile(QString::fromStdString(subPath));
      sub->rowView()->viewport()->grab();
      rows += sub->program().size();
    }
    QApplication::processEvents();
    const long after = kavel::testing::residentKiB();
    state.counters["VmRSS_MB"] = static_cast<double>(after) / 1024.0;
    state.counters["growth_MB"] = static_cast<double>(after - before) / 1024.0;
    state.counters["rows"] = static_cast<double>(rows);
  }
}
// Once: a second session would reuse the first one's freed memory and hide the growth.
BENCHMARK(BM_MainAnd30SubsOf1000Rows)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(1);

}  // namespace
