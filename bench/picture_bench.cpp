// Export Picture of a 1000-row program, as the File menu does it (row texts, painting, encoding
// and the atomic write), as PNG and as SVG, offscreen. The target is under a second each.
// Run: build/bench/picture_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "core/Context.h"
#include "gui/app/Prompts.h"
#include "gui/app/TfrmMain.h"
#include "gui/editor/ProgramPicture.h"
#include "gui/editor/RowView.h"
#include "gui/editor/TfrmProg.h"
#include "core/model/StatementKind.h"

using namespace kavel;

namespace {

class QuietPrompts : public gui::Prompts {
 public:
  gui::Answer ask(QWidget*, gui::PromptIcon, const QString&, const QString&, gui::PromptButtons) override {
    return gui::Answer::Ok;
  }
  void chooseLanguage(QWidget*, Context& ctx) override { ctx.settings.LANG_NO_ = 1; }
};

// 1000 rows in While blocks of 50, with the common row shapes and comments that widen some rows.
void fill(Program& p) {
  const int kinds[] = {kMotorForward, kWait, kVariable, kCCode, kLcd, kGreenLedOn, kServo, kPwm, kTimer};
  for (std::size_t i = 0; p.size() < 1000; ++i) {
    if (p.size() % 50 == 0) {
      const std::size_t at = p.insertStatement(p.size(), kWhile);
      p.rows()[at].cno = kUnconditional;
      continue;
    }
    const std::size_t end = p.size() - 1;  // the open While's End
    const int kind = kinds[i % std::size(kinds)];
    const std::size_t at = p.createRow(end, kind, kind);
    Statement& s = p.rows()[at];
    s.val0 = static_cast<int>(i * 37 % 999);
    s.val1 = static_cast<int>(i % 2);
    s.cmt = kind == kCCode ? "x = x + 1;" : i % 3 == 0 ? "\xE5\x89\x8D\xE9\x80\xB2 a longer row comment" : "";
  }
}

struct Session {
  Session() {
    gui::MainOptions o;
    o.programFolder = std::string(KAVEL_BIN_DIR) + "/";
    o.iniPath = dir.path().toStdString() + "/kavelide.ini";
    std::ofstream(o.iniPath) << "[LANGUAGE]\nLANG_NO_=1\n";
    o.prompts = &prompts;
    main = std::make_unique<gui::TfrmMain>(ctx, o);
    main->show();
    QApplication::processEvents();
    fill(ctx.programs.main());
    main->prog(0)->rowsChanged();
  }
  QTemporaryDir dir;
  Context ctx;
  QuietPrompts prompts;
  std::unique_ptr<gui::TfrmMain> main;
};

void exportBench(benchmark::State& state, const char* suffix) {
  Session s;
  const QString path = s.dir.path() + "/program" + suffix;
  for (auto _ : state) {
    if (!s.main->exportPictureTo(path)) state.SkipWithError("export failed");
  }
  state.counters["rows"] = static_cast<double>(s.ctx.programs.main().size());
  state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path.toStdString()));
}

void BM_ExportPng1000Rows(benchmark::State& state) { exportBench(state, ".png"); }
void BM_ExportSvg1000Rows(benchmark::State& state) { exportBench(state, ".svg"); }
BENCHMARK(BM_ExportPng1000Rows)->Unit(benchmark::kMillisecond);

// The same picture drawn and encoded in memory only: the rest of an export is the flushed write.
void BM_DrawPng1000RowsInMemory(benchmark::State& state) {
  Session s;
  gui::TfrmProg* prog = s.main->prog(0);
  gui::PictureRows rows;
  rows.rows = &prog->program().rows();
  for (int r = 0; r < static_cast<int>(prog->program().size()); ++r) rows.texts << prog->rowText(r);
  const gui::ProgramPicture picture(prog->rowView()->rowPainter());
  std::string bytes;
  for (auto _ : state) {
    if (!picture.encode(gui::ProgramPicture::Format::Png, rows, bytes)) state.SkipWithError("draw failed");
  }
  state.counters["bytes"] = static_cast<double>(bytes.size());
}
BENCHMARK(BM_DrawPng1000RowsInMemory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportSvg1000Rows)->Unit(benchmark::kMillisecond);

}  // namespace
