#pragma once

#include <string>
#include <vector>

#include "cli/CliSession.h"

namespace kavel::cli {

/// `monitor --port PORT [--seconds N]`: connects as the sensor monitor does and prints one CSV
/// row per sensor report on standard output until N seconds have passed or SIGINT / SIGTERM
/// arrives, then leaves the board at rest. Exit codes: 0 stopped as asked; 1 usage or standard
/// output could not be written; 2 no board answered, or the board went away.
int runMonitor(const GlobalOptions& options, const std::vector<std::string>& args);

}  // namespace kavel::cli
