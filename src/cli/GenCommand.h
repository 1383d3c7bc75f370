#pragma once

#include <string>
#include <vector>

#include "cli/CliSession.h"

namespace kavel::cli {

/// `gen FILE --out DIR [--pwron]`: writes DIR/M_Type.h and DIR/User.c for the program set whose
/// Main program is FILE, as a build writes them.
int runGen(const GlobalOptions& options, const std::vector<std::string>& args);

}  // namespace kavel::cli
