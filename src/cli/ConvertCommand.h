#pragma once

#include <string>
#include <vector>

#include "cli/CliSession.h"

namespace kavel::cli {

/// `convert FILE --out OUT [--sub N]`: reads FILE as Open reads it (files of old versions are
/// converted, product warnings go to standard error) and writes OUT as Save writes it (current
/// format, CP932 or marked UTF-8, replaced atomically). Exit 0 done; 1 bad usage or FILE not
/// read; 2 OUT not written. Every failure message names the file and the reason.
int runConvert(const GlobalOptions& options, const std::vector<std::string>& args);

}  // namespace kavel::cli
