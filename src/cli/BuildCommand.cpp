#include "cli/BuildCommand.h"

#include <chrono>
#include <fstream>
#include <iostream>

#include "cli/ConsoleGeneration.h"
#include "cli/CliSession.h"
#include "cli/ConsoleProgram.h"
#include "core/build/BuildFiles.h"
#include "core/build/SampleBuildFolder.h"
#include "core/build/ToolChainCommand.h"
#include "core/build/ToolChainRun.h"

namespace kavel::cli {
namespace {

constexpr const char* kBuildUsage =
    "usage: kavel [--ini PATH] [--variant N] [--lang N] build FILE [--pwron] [--timeout SECONDS]\n";

struct BuildArguments {
  std::string file;
  bool pwrOn = false;
  int timeoutSeconds = 0;
};

bool parseBuildArguments(const std::vector<std::string>& args, BuildArguments& build, std::string& error) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--pwron") {
      build.pwrOn = true;
    } else if (args[i] == "--timeout") {
      if (i + 1 >= args.size() || !parseInt(args[i + 1], build.timeoutSeconds) || build.timeoutSeconds <= 0) {
        error = "--timeout needs a number of seconds above 0";
        return false;
      }
      ++i;
    } else if (build.file.empty() && !(args[i].size() > 1 && args[i][0] == '-')) {
      build.file = args[i];
    } else {
      error = "unexpected argument \"" + args[i] + "\"";
      return false;
    }
  }
  if (build.file.empty()) {
    error = "no program file given";
    return false;
  }
  return true;
}

// err.txt as the tool chain wrote it: scripts read the compiler's own bytes.
void printOutput(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (in) std::cout << in.rdbuf();
  std::cout.flush();
}

}  // namespace

int runBuild(const GlobalOptions& options, const std::vector<std::string>& args) {
  BuildArguments build;
  std::string error;
  if (!parseBuildArguments(args, build, error)) {
    std::cerr << "kavel build: " << error << "\n" << kBuildUsage;
    return 2;
  }
  auto ctx = makeContext(options);
  const std::string batFile = ctx->settings.BatFile_;
  const std::string folder = buildFolderOf(batFile);
  // An installed copy builds in the user's copy of the sample folder, made on the first build.
  if (!prepareBuildFolder(batFile, userPaths(), &error)) {
    std::cerr << "kavel build: " << error << "\n";
    return 2;
  }
  if (!buildFolderExists(folder)) {
    std::cerr << "kavel build: the build folder " << folder << " does not exist; name the build batch file "
              << "(BuildPath.Bat) of a build folder as BatFile_ in the [PRJ] section of the settings file\n";
    return 2;
  }

  const ProgramFileResult read = readForConsole(*ctx, 0, build.file);
  if (!read.ok) {
    std::cerr << "kavel build: " << readFailure(read, build.file) << "\n";
    return 1;
  }
  if (!generateForConsole(*ctx, build.file, folder, build.pwrOn, "kavel build")) return 1;

  ToolChainLimits limits;
  limits.timeout = std::chrono::seconds(build.timeoutSeconds);
  const ToolChainCommand command = makeToolChainCommand(batFile, ctx->settings.MCU2620_ != 0, currentEnvironment());
  const ToolChainResult result = runToolChain(command, limits);
  if (result.status == ToolChainStatus::NotStarted) {
    std::cerr << "kavel build: Prosess Error! " << result.error << "\n";
    return 2;
  }
  printOutput(command.outputFile);
  if (result.status != ToolChainStatus::Succeeded) {
    std::cerr << "kavel build: " << (result.error.empty() ? "the build made no " + std::string(kBuildHexFile) : result.error)
              << "\n";
    return 1;
  }
  if (!copyBuildResults(folder, build.file, true, error)) {
    std::cerr << "kavel build: the build succeeded but its result could not be copied: " << error << "\n";
    return 1;
  }
  return 0;
}

}  // namespace kavel::cli
