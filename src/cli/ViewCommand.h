#pragma once

#include <string>
#include <vector>

#include "cli/CliSession.h"

namespace kavel::cli {

/// `view FILE [--sub N]`: prints the code view of a program file read as Main or as Sub-N.
int runView(const GlobalOptions& options, const std::vector<std::string>& args);

}  // namespace kavel::cli
