// A build of a 1000-row Main: our part (generating M_Type.h and User.c into the build folder,
// re-reading Main, copying User.Hex and User.c beside the program) and the whole run from
// generation to the result with the sample build folder's stand-in tool chain.
// Run: build/bench/build_bench --benchmark_repetitions=10 --benchmark_report_aggregates_only=true

#include <benchmark/benchmark.h>

#include <filesystem>
#include <unistd.h>

#include "support/LargeProgram.h"
#include "core/Context.h"
#include "core/build/BuildFiles.h"
#include "core/build/ToolChainCommand.h"
#include "core/build/ToolChainRun.h"
#include "core/codegen/CodeGenerator.h"
#include "core/model/ProgramFile.h"
#include "core/model/StatementKind.h"

using namespace kavel;
namespace fs = std::filesystem;

namespace {

class BuildOnDisk {
 public:
  BuildOnDisk() : dir_(fs::temp_directory_path() / ("kavel_build_bench_" + std::to_string(::getpid()))) {
    fs::remove_all(dir_);
    fs::create_directories(dir_ / "Build");
    fs::copy(KAVEL_BIN_DIR "/Build/Build_V190617", dir_ / "Build" / "Build_V190617", fs::copy_options::recursive);
    ctx.settings.BatFile_ = (dir_ / "Build" / "Build_V190617" / "BuildPath.Bat").string();
    ctx.settings.MCU2620_ = 1;
    folder = buildFolderOf(ctx.settings.BatFile_);
    program = (dir_ / "robot.Kvl").string();
    Program main(0);
    bench::fillLargeProgram(main);
    ProgramFileContext fc{ctx.settings, ctx.io, ctx.setup, ctx.messages, mainWindowTitle()};
    writeProgramFile(main, program, fc);
    readProgramFile(ctx.programs.main(), program, fc);
    ctx.programs.current = 0;
  }
  ~BuildOnDisk() { fs::remove_all(dir_); }

  bool generate() {
    CodeGenerator generator(ctx);
    CodeBuffer buffer(CodeTarget::BuildBuffer);
    return generator.GenerateCode(buffer);
  }

  Context ctx;
  std::string folder;
  std::string program;

 private:
  fs::path dir_;
};

void BM_OurPartOfABuild(benchmark::State& state) {
  BuildOnDisk build;
  // A real image to copy: one run of the tool chain before timing.
  build.generate();
  runToolChain(makeToolChainCommand(build.ctx.settings.BatFile_, true, currentEnvironment()));
  if (!buildSucceeded(build.folder)) {
    state.SkipWithError("the sample build folder did not build the program");
    return;
  }
  std::string error;
  for (auto _ : state) {
    benchmark::DoNotOptimize(build.generate());
    benchmark::DoNotOptimize(copyBuildResults(build.folder, build.program, true, error));
  }
}
BENCHMARK(BM_OurPartOfABuild)->Unit(benchmark::kMillisecond);

void BM_WholeBuildWithTheSampleFolder(benchmark::State& state) {
  BuildOnDisk build;
  const ToolChainCommand command = makeToolChainCommand(build.ctx.settings.BatFile_, true, currentEnvironment());
  std::string error;
  for (auto _ : state) {
    build.generate();
    const ToolChainResult result = runToolChain(command);
    if (result.status != ToolChainStatus::Succeeded) {
      state.SkipWithError("the sample build folder did not build the program");
      return;
    }
    copyBuildResults(build.folder, build.program, true, error);
  }
}
BENCHMARK(BM_WholeBuildWithTheSampleFolder)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
