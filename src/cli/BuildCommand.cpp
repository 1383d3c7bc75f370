#include "cli/BuildCommand.h"

#include <chrono>
#include <fstream>
#include <iostream>
#include <thread>

#include "cli/ConsoleGeneration.h"
#include "cli/CliSession.h"
#include "cli/ConsoleProgram.h"
#include "core/build/BuildFiles.h"
#include "core/build/BuildFolderLock.h"
#include "core/build/SampleBuildFolder.h"
#include "core/build/ToolChainCommand.h"
#include "core/build/ToolChainRun.h"
#include "core/text/TextFile.h"

namespace kavel::cli {
namespace {

constexpr const char* kBuildUsage =
    "usage: kavel [--ini PATH] [--variant N] [--lang N] build FILE [--pwron] [--timeout SECONDS] [--wait SECONDS]\n";

struct BuildArguments {
  std::string file;
  bool pwrOn = false;
  int timeoutSeconds = 0;
  int waitSeconds = kBuildFolderWaitSeconds;
};

bool parseBuildArguments(const std::vector<std::string>& args, BuildArguments& build, std::string& error) {
  bool optionsEnded = false;  // after "--" every argument is a file name
  for (std::size_t i = 0; i < args.size(); ++i) {
    const Positional p = takePositional(args[i], optionsEnded, build.file, error);
    if (p == Positional::Error) return false;
    if (p == Positional::Taken) continue;
    if (args[i] == "--pwron") {
      build.pwrOn = true;
    } else if (args[i] == "--timeout") {
      if (i + 1 >= args.size() || !parseInt(args[i + 1], build.timeoutSeconds) || build.timeoutSeconds <= 0) {
        error = "--timeout needs a number of seconds above 0";
        return false;
      }
      ++i;
    } else if (args[i] == "--wait") {
      if (i + 1 >= args.size() || !parseInt(args[i + 1], build.waitSeconds) || build.waitSeconds < 0) {
        error = "--wait needs a number of seconds, 0 or more";
        return false;
      }
      ++i;
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

// Holds the build folder for this build, waiting up to `seconds` for a build that holds it.
bool holdBuildFolder(BuildFolderLock& lock, const std::string& folder, int seconds) {
  using Clock = std::chrono::steady_clock;
  const Clock::time_point until = Clock::now() + std::chrono::seconds(seconds);
  bool told = false;
  for (;;) {
    switch (lock.tryAcquire(folder, "kavel build")) {
      case BuildFolderLock::State::Held:
        if (told) std::cerr << "kavel build: the build folder is free now; building\n";
        return true;
      case BuildFolderLock::State::Failed:
        std::cerr << "kavel build: " << lock.error() << "\n";
        return false;
      case BuildFolderLock::State::Busy:
        break;
    }
    if (Clock::now() >= until) {
      std::cerr << "kavel build: the build folder " << folder << " is in use by another build (" << lock.holder()
                << ")" << (seconds > 0 ? " after waiting " + std::to_string(seconds) + " seconds" : std::string())
                << "; nothing was built. Try again when that build has ended, or wait longer with --wait SECONDS.\n";
      return false;
    }
    if (!told) {
      std::cerr << "kavel build: the build folder " << folder << " is in use by another build (" << lock.holder()
                << "); waiting up to " << seconds << " seconds for it to end\n";
      told = true;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
  }
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
  if (const std::string problem = batFileProblem(batFile); !problem.empty()) {
    std::cerr << "kavel build: " << problem << "\n";
    return 2;
  }
  if (!buildFolderExists(folder)) {
    std::cerr << "kavel build: the build folder " << folder << " does not exist; name the build batch file "
              << "(BuildPath.Bat) of a build folder as BatFile_ in the [PRJ] section of the settings file\n";
    return 2;
  }
  const ToolChainCommand command = makeToolChainCommand(batFile, ctx->settings.MCU2620_ != 0, currentEnvironment());
  if (!text::fileExists(command.workingFolder + command.arguments.front())) {
    std::cerr << "kavel build: Prosess Error! " << missingBatchFile(folder, command.arguments.front()) << "\n";
    return 2;
  }

  const ProgramFileResult read = readForConsole(*ctx, 0, build.file);
  if (!read.ok) {
    std::cerr << "kavel build: " << readFailure(read, build.file) << "\n";
    return 1;
  }
  const std::string programPath = ctx->programs.main().path;

  // From writing User.c to copying User.Hex out, the build folder is this build's alone.
  BuildFolderLock lock;
  if (!holdBuildFolder(lock, folder, build.waitSeconds)) return 2;
  if (!generateForConsole(*ctx, build.file, folder, build.pwrOn, "kavel build")) return 1;

  ToolChainLimits limits;
  limits.timeout = std::chrono::seconds(build.timeoutSeconds);
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
  if (!copyBuildResults(folder, programPath, true, error)) {
    std::cerr << "kavel build: the build succeeded but its result could not be copied: " << error << "\n";
    return 1;
  }
  return 0;
}

}  // namespace kavel::cli
