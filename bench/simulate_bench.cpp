// The simulation's figures: the host build of a 1000-row program (generate User.c, compile it
// for the simulated board), and 60 s of simulated time of the line-following sample on its
// track, as fast as the machine allows, after the build.
// Run: build/bench/simulate_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

#include <benchmark/benchmark.h>

#include "core/Context.h"
#include "core/codegen/CodeGenerator.h"
#include "core/model/ProgramFile.h"
#include "sim/HostCompiler.h"
#include "sim/SimClient.h"
#include "sim/SimPaths.h"
#include "sim/WorldFile.h"
#include "support/LargeProgram.h"

using namespace kavel;

namespace {

const std::string kBin = KAVEL_BIN_DIR "/";

/// Generates User.c and M_Type.h for the current Main of `ctx` into `folder`.
bool generate(Context& ctx, const sim::RunFolder& folder) {
  CodeGenOptions options;
  options.outputFolder = folder.path();
  CodeGenerator generator(ctx, options);
  CodeBuffer buffer(CodeTarget::BuildBuffer);
  return generator.GenerateCode(buffer);
}

void BM_HostBuildOf1000Rows(benchmark::State& state) {
  Context ctx;
  ctx.io.useLcd = ctx.io.useMcb = true;
  bench::fillLargeProgram(ctx.programs.main());
  for (auto _ : state) {
    sim::RunFolder folder;
    std::string error;
    if (!folder.create(error)) return state.SkipWithError(error.c_str());
    if (!generate(ctx, folder)) return state.SkipWithError("User.c could not be written");
    const sim::HostBuild build = sim::compileForSimulation(folder.path(), kBin + "Sim/", false);
    if (!build.ok) return state.SkipWithError((build.messages + build.error).c_str());
  }
  state.counters["rows"] = static_cast<double>(ctx.programs.main().size());
}
BENCHMARK(BM_HostBuildOf1000Rows)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_LineFollowSixtySeconds(benchmark::State& state) {
  Context ctx;
  ProgramFileContext fc{ctx.settings, ctx.io, ctx.setup, ctx.messages, mainWindowTitle()};
  const std::string sample = kBin + "samples/LineFollow.Kvl";
  if (!readProgramFile(ctx.programs.main(), sample, fc).ok) return state.SkipWithError("cannot read the sample");
  const sim::WorldReadResult world = sim::readWorldFile(kBin + "worlds/line_track.json");
  if (!world.ok) return state.SkipWithError(world.error.c_str());
  sim::RunFolder folder;
  std::string error;
  if (!folder.create(error) || !generate(ctx, folder)) return state.SkipWithError("cannot generate");
  const sim::HostBuild build = sim::compileForSimulation(folder.path(), kBin + "Sim/", false);
  if (!build.ok) return state.SkipWithError((build.messages + build.error).c_str());

  sim::SimLaunch launch;
  launch.hostProgram = kBin + sim::kSimHostProgram;
  launch.runFolder = folder.path();
  launch.plan.world = world.world;
  launch.plan.robot = sim::robotConfigOf(ctx.io);
  launch.plan.endUs = 60'000'000;
  launch.plan.library = build.library;
  long samples = 0;
  for (auto _ : state) {
    sim::SimClient client;
    client.onSnapshot = [&samples](const sim::SimSnapshot&) { ++samples; };
    if (!client.start(launch, error)) return state.SkipWithError(error.c_str());
    client.setSpeed(0);
    client.run();
    while (!client.finished()) client.pump(std::chrono::milliseconds(100));
    if (client.outcome().end != sim::SimEnd::TimeUp) return state.SkipWithError(client.outcome().message.c_str());
  }
  state.counters["snapshots"] = benchmark::Counter(static_cast<double>(samples), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_LineFollowSixtySeconds)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
