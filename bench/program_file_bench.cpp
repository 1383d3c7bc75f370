// Reading and writing a program file of the largest size a program can have (1000 rows).
// Run: build/bench/program_file_bench --benchmark_repetitions=10 --benchmark_report_aggregates_only=true

#include <benchmark/benchmark.h>

#include <filesystem>
#include <unistd.h>

#include "core/Context.h"
#include "core/model/ProgramFile.h"
#include "core/model/StatementKind.h"

using namespace kavel;

namespace {

std::string benchFile() {
  return (std::filesystem::temp_directory_path() / ("kavel_bench_" + std::to_string(::getpid()) + ".Kvl")).string();
}

// A program of every common row shape, with Japanese comments so the CP932 path is measured.
Program fullProgram() {
  Program p;
  const int kinds[] = {kMotorForward, kWait, kVariable, kCCode, kLcd, kGreenLedOn, kServo, kPwm};
  for (std::size_t i = 0; p.size() < Program::kMaxRows; ++i) {
    Statement s;
    s.sno = s.cno = kinds[i % std::size(kinds)];
    s.val0 = static_cast<int>(i * 37 % 999999);
    s.val1 = static_cast<int>(i * 11 % 99999);
    s.val2 = static_cast<int>(i % 1000);
    s.cmt = i % 3 == 0 ? "\xE5\x89\x8D\xE9\x80\xB2 row comment" : "comment";
    p.appendRow(s);
  }
  return p;
}

void BM_WriteProgramFile(benchmark::State& state) {
  Context ctx;
  Program p = fullProgram();
  const std::string path = benchFile();
  const ProgramFileContext fc{ctx.settings, ctx.io, ctx.setup, ctx.messages, "Kavel  [ Ver.20190706 ]"};
  for (auto _ : state) {
    if (!writeProgramFile(p, path, fc)) state.SkipWithError("write failed");
  }
  std::filesystem::remove(path);
}
BENCHMARK(BM_WriteProgramFile)->Unit(benchmark::kMicrosecond);

void BM_ReadProgramFile(benchmark::State& state) {
  Context ctx;
  Program p = fullProgram();
  const std::string path = benchFile();
  ProgramFileContext fc{ctx.settings, ctx.io, ctx.setup, ctx.messages, "Kavel  [ Ver.20190706 ]"};
  writeProgramFile(p, path, fc);
  Program target;
  for (auto _ : state) {
    const auto r = readProgramFile(target, path, fc);
    if (!r.ok || target.size() != Program::kMaxRows) state.SkipWithError("read failed");
  }
  std::filesystem::remove(path);
}
BENCHMARK(BM_ReadProgramFile)->Unit(benchmark::kMicrosecond);

}  // namespace
