#pragma once

#include <string>
#include <vector>

#include "cli/CliSession.h"

namespace kavel::cli {

/// `rows FILE [--sub N]`: prints every row of a program file, one tab-separated line each.
int runRows(const GlobalOptions& options, const std::vector<std::string>& args);

}  // namespace kavel::cli
