#pragma once

#include <string>
#include <vector>

#include "cli/CliSession.h"

namespace kavel::cli {

/// `build FILE [--pwron] [--timeout SECONDS]`: builds the program set whose Main program is
/// FILE with the build folder of the settings' BatFile_, prints err.txt to standard output and
/// copies User.Hex and User.c beside FILE. Exit 0 when User.Hex was made, 1 when the build
/// failed, 2 when the build folder is missing, the compile batch file cannot be started or the
/// arguments are wrong.
int runBuild(const GlobalOptions& options, const std::vector<std::string>& args);

}  // namespace kavel::cli
