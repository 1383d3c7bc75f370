#pragma once

#include <string>
#include <vector>

#include "cli/CliSession.h"

namespace kavel::cli {

/// `download HEXFILE --port PORT [--no-run]`: sends a HEX image to the board's boot loader with
/// the serial values of the settings. Exit codes: 0 sent; 1 usage or file error; 2 no board or
/// no boot-loader prompt; 3 the boot loader's banner was refused; 4 the transfer failed.
int runDownload(const GlobalOptions& options, const std::vector<std::string>& args);

}  // namespace kavel::cli
