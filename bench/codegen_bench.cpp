// Generating User.c for the largest program set: Main and 30 Subs of 1000 rows each, every Sub
// read from its file as a build reads it, User.c and M_Type.h written.
// Run: build/bench/codegen_bench --benchmark_repetitions=10 --benchmark_report_aggregates_only=true

#include <benchmark/benchmark.h>

#include <filesystem>
#include <unistd.h>

#include "core/Context.h"
#include "core/codegen/CodeGenerator.h"
#include "core/model/ProgramFile.h"
#include "core/model/StatementKind.h"
#include "Statements.h"

using namespace kavel;
using kavel::testing::row;
namespace fs = std::filesystem;

namespace {

// 1000 rows of nested blocks with conditions and statements of the common kinds.
void fill(Program& p, std::size_t first) {
  const Statement body[] = {
      row(kMotorForward, kMotorForward, 50, 50),
      row(kWait, kWait, 500, 0, 0, "\xE5\x89\x8D\xE9\x80\xB2"),
      row(kVariable, kVariable, 21, 1),
      row(kCCode, kCCode, 0, 0, 0, "gV[VAR_C]++;  \t// count"),
      row(kLcd, kLcd, 20304),
      row(kGreenLedOn, kGreenLedOn, 1, 1),
      row(kPwm, kPwm, 100250, 420520, 999999),
      row(kServo, kServo, 70050),
  };
  std::size_t i = first;
  while (p.size() + 7 <= Program::kMaxRows) {
    p.appendRow(row(kFor, kRepeatCount, static_cast<int>(i % 50 + 1)));
    p.appendRow(row(kIf, kSensorTest, 50, static_cast<int>(i % 10 * 10 + 1)));
    p.appendRow(body[i % std::size(body)]);
    p.appendRow(row(kElseIf, kVariableItem, 11000, 31));
    p.appendRow(body[(i + 3) % std::size(body)]);
    p.appendRow(row(kEnd, kClosesIfChain, 0));
    p.appendRow(row(kEnd, kClosesFor, 0));
    ++i;
  }
  while (p.size() < Program::kMaxRows) p.appendRow(row(kWait, kWait, 10));
}

class ProgramSetOnDisk {
 public:
  ProgramSetOnDisk() : dir_(fs::temp_directory_path() / ("kavel_codegen_bench_" + std::to_string(::getpid()))) {
    fs::create_directories(dir_);
    ProgramFileContext fc{ctx.settings, ctx.io, ctx.setup, ctx.messages, mainWindowTitle()};
    for (int n = 1; n <= 30; ++n) {
      Program sub(n);
      fill(sub, static_cast<std::size_t>(n));
      writeProgramFile(sub, (dir_ / ("Sub" + std::to_string(n) + ".Kvl")).string(), fc);
    }
    Program main(0);
    for (int n = 1; n <= 30; ++n) main.appendRow(row(kSubCall, kSubCall, n, 0, 0, "Sub" + std::to_string(n)));
    fill(main, 0);
    mainFile_ = (dir_ / "Main.Kvl").string();
    writeProgramFile(main, mainFile_, fc);
    readProgramFile(ctx.programs.main(), mainFile_, fc);
  }
  ~ProgramSetOnDisk() { fs::remove_all(dir_); }

  std::string folder() const { return dir_.string(); }
  Context ctx;

 private:
  fs::path dir_;
  std::string mainFile_;
};

void BM_GenerateUserC(benchmark::State& state) {
  ProgramSetOnDisk set;
  CodeGenOptions options;
  options.outputFolder = set.folder();
  CodeGenerator generator(set.ctx, options);
  CodeBuffer buffer(CodeTarget::BuildBuffer);
  for (auto _ : state) {
    if (!generator.GenerateCode(buffer)) state.SkipWithError("writing failed");
  }
  state.counters["lines"] = static_cast<double>(buffer.lines().size());
}
BENCHMARK(BM_GenerateUserC)->Unit(benchmark::kMillisecond);

}  // namespace
