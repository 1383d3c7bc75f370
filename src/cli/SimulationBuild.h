#pragma once
// Getting a program set ready for the simulated robot at the console (kavel simulate, vboard
// --sim): read the Main program and the world, generate User.c as a build does, compile it
// for the host and find the runtime. Problems are told on standard error, the compiler's
// messages on the stream given.

#include <ostream>
#include <string>

#include "cli/CliSession.h"
#include "sim/SimClient.h"
#include "sim/SimPaths.h"

namespace kavel::cli {

/// Exit codes shared by the commands that simulate.
inline constexpr int kSimOk = 0;
inline constexpr int kSimInputError = 1;    // usage, program file, world file
inline constexpr int kSimCompileError = 2;  // the program does not compile (or link)
inline constexpr int kSimRunError = 3;      // crashed, stalled, or the simulation could not run

struct SimulationRequest {
  std::string file;   // the Main program file
  std::string world;  // "" for the default world
};

/// Fills `launch` (run folder, runtime, world, wiring, library; the end of time is left to the
/// caller) for `request`, building in `folder`. Returns kSimOk or the exit code of what failed,
/// already told (messages starting with `who`).
int prepareSimulation(const GlobalOptions& options, const SimulationRequest& request, sim::RunFolder& folder,
                      const std::string& who, std::ostream& compilerMessages, sim::SimLaunch& launch);

/// For an outcome of LoadFailed: the load failure as the board's linker would say it, naming
/// the line of the run's User.c.
std::string loadFailureText(const sim::SimLaunch& launch, const std::string& reason);

}  // namespace kavel::cli
