// The undo history on its own: undo and redo of one step on a 1000-row program, and the bytes
// 1000 steps of mixed edits hold (the history's own count and the growth of VmRSS).
// Run: build/bench/undo_bench --benchmark_repetitions=10 --benchmark_report_aggregates_only=true
// The window's undo with its repaint is in undo_gui_bench.

#include <benchmark/benchmark.h>

#include <fstream>
#include <random>
#include <string>

#include "core/editor/EditHistory.h"
#include "core/editor/RowClipboard.h"
#include "core/model/Program.h"
#include "core/model/StatementKind.h"
#include "ResidentMemory.h"

using namespace kavel;

namespace {

// 1000 rows in While blocks of 50, every common row shape, Japanese and plain comments.
Program fullProgram() {
  Program p;
  const int kinds[] = {kMotorForward, kWait, kVariable, kCCode, kLcd, kGreenLedOn, kServo, kPwm};
  for (std::size_t i = 0; p.size() < Program::kMaxRows; ++i) {
    if (p.size() % 50 == 0 && p.size() + 50 <= Program::kMaxRows) {
      p.insertStatement(p.size(), kWhile);
      p.rows()[p.size() - 2].cno = kUnconditional;
      continue;
    }
    Statement s;
    s.sno = s.cno = kinds[i % std::size(kinds)];
    s.val0 = static_cast<int>(i * 37 % 999999);
    s.cmt = i % 3 == 0 ? "\xE5\x89\x8D\xE9\x80\xB2 row comment of some length" : "comment";
    // In front of the open block's End, so the blocks fill up.
    const std::size_t at = p.rows().back().sno == kEnd ? p.size() - 1 : p.size();
    p.createRow(at, s.sno);
    Statement& r = p.rows()[at];
    r.cno = s.cno;
    r.val0 = s.val0;
    r.cmt = s.cmt;
  }
  return p;
}


// One edit as a window makes it, recorded: a value (most edits), a deleted block, a pasted one.
void editAndRecord(Program& p, EditHistory& h, RowClipboard& clip, std::mt19937& random, int step) {
  const std::vector<Statement> before = p.rows();
  const std::size_t r = std::uniform_int_distribution<std::size_t>(0, p.size() - 1)(random);
  switch (step % 4) {
    case 0:
    case 1:
      p.rows()[r].val0 = step;
      break;
    case 2:
      if (p.rows()[r].sno != kEnd) {
        clip.clear();
        copyBlockToClipboard(p, r, clip);
        const auto [first, last] = p.blockExtent(r);
        p.removeRows(first, last - first + 1);
      }
      break;
    default:
      if (!clip.empty() && pasteAllowed(p, r, clip)) pasteRows(p, r, clip, 0);
      break;
  }
  h.push(StepName::editRow(static_cast<int>(r)), rowChange(before, p.rows()));
}

void BM_UndoRedoOneStepOf1000Rows(benchmark::State& state) {
  Program p = fullProgram();
  EditHistory h;
  const std::vector<Statement> before = p.rows();
  p.rows()[500].val0 = 4711;
  h.push(StepName::editRow(500), rowChange(before, p.rows()));
  for (auto _ : state) {
    h.undo(p.rows());
    h.redo(p.rows());
    benchmark::DoNotOptimize(p.rows().data());
  }
}
BENCHMARK(BM_UndoRedoOneStepOf1000Rows)->Unit(benchmark::kMicrosecond);

void BM_RecordOneStepOf1000Rows(benchmark::State& state) {
  // What a window does after every edit: find the changed stretch against its copy of the rows.
  Program p = fullProgram();
  std::vector<Statement> recorded = p.rows();
  int value = 0;
  for (auto _ : state) {
    p.rows()[500].val0 = ++value;
    RowChange c = rowChange(recorded, p.rows());
    replaceRows(recorded, c.first, c.before, c.after);
    benchmark::DoNotOptimize(c.first);
  }
}
BENCHMARK(BM_RecordOneStepOf1000Rows)->Unit(benchmark::kMicrosecond);

void BM_Memory1000StepsOn1000Rows(benchmark::State& state) {
  for (auto _ : state) {
    const long before = kavel::testing::residentKiB();
    Program p = fullProgram();
    EditHistory h;
    RowClipboard clip;
    std::mt19937 random(15);
    for (int step = 0; step < 1000; ++step) editAndRecord(p, h, clip, random, step);
    const long after = kavel::testing::residentKiB();
    state.counters["steps"] = static_cast<double>(h.count());
    state.counters["history_MB"] = static_cast<double>(h.bytesHeld()) / (1024.0 * 1024.0);
    state.counters["history_KiB"] = static_cast<double>(h.bytesHeld()) / 1024.0;
    state.counters["rss_growth_MB"] = static_cast<double>(after - before) / 1024.0;
    state.counters["rows"] = static_cast<double>(p.size());
  }
}
BENCHMARK(BM_Memory1000StepsOn1000Rows)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(1);

}  // namespace
