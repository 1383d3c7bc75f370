#pragma once

#include <string>
#include <vector>

#include "cli/CliSession.h"

namespace kavel::cli {

/// `simulate FILE [--world WORLD.json] [--seconds N] [--trace OUT.csv]`: builds the program set
/// whose Main program is FILE for the simulated robot and runs it in the world (the default
/// world without --world) for N seconds of simulated time (30), as fast as the machine allows.
/// Exit 0 when the run ended normally (user_main returned or the time ran out), 1 on usage,
/// program file, world file or trace file errors, 2 when the program does not compile (the
/// compiler's "User.c:<line>:" messages on standard output), 3 when the program crashed or
/// stalled or the simulation could not run.
int runSimulate(const GlobalOptions& options, const std::vector<std::string>& args);

}  // namespace kavel::cli
