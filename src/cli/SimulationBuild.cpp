#include "cli/SimulationBuild.h"

#include <iostream>

#include "cli/ConsoleGeneration.h"
#include "cli/ConsoleProgram.h"
#include "core/build/ToolChainCommand.h"
#include "core/text/TextFile.h"
#include "sim/HostCompiler.h"
#include "sim/WorldFile.h"

namespace kavel::cli {

int prepareSimulation(const GlobalOptions& options, const SimulationRequest& request, sim::RunFolder& folder,
                      const std::string& who, std::ostream& compilerMessages, sim::SimLaunch& launch) {
  auto ctx = makeContext(options);
  const ProgramFileResult read = readForConsole(*ctx, 0, request.file);
  if (!read.ok) {
    std::cerr << who << ": " << readFailure(read, request.file) << "\n";
    return kSimInputError;
  }
  launch.plan.world = sim::defaultWorld();
  if (!request.world.empty()) {
    const sim::WorldReadResult w = sim::readWorldFile(request.world);
    if (!w.ok) {
      std::cerr << who << ": " << w.error << "\n";
      return kSimInputError;
    }
    launch.plan.world = w.world;
  }

  const sim::SimPaths parts = sim::locateSimParts(programFolder(), userPaths().dataFolder);
  std::string error;
  if (!folder.create(error)) {
    std::cerr << who << ": " << error << "\n";
    return kSimRunError;
  }
  if (!generateForConsole(*ctx, request.file, folder.path(), false, who)) return kSimInputError;
  const sim::HostBuild build = sim::compileForSimulation(folder.path(), parts.headers, ctx->settings.MCU2620_ != 0);
  compilerMessages << build.messages;
  if (!build.ok) {
    if (!build.error.empty()) compilerMessages << build.error << (build.error.back() == '\n' ? "" : "\n");
    compilerMessages.flush();
    std::cerr << who << ": " << request.file << " does not compile for the simulated robot; the messages name the lines "
              << "of its User.c (kavel gen writes it)\n";
    return kSimCompileError;
  }
  compilerMessages.flush();
  if (parts.host.empty()) {
    std::cerr << who << ": the simulation runtime " << sim::kSimHostProgram << " is missing beside " << programFolder()
              << "; reinstall Kavel\n";
    return kSimRunError;
  }
  launch.hostProgram = parts.host;
  launch.runFolder = folder.path();
  launch.plan.robot = sim::robotConfigOf(ctx->io);
  launch.plan.library = build.library;
  return kSimOk;
}

std::string loadFailureText(const sim::SimLaunch& launch, const std::string& reason) {
  std::string userC;
  text::readFileBytes(launch.runFolder + kBuildSourceFile, userC);
  return sim::loadFailureMessage(reason, userC);
}

}  // namespace kavel::cli
