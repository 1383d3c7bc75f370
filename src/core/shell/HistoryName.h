#pragma once
// File names that carry a save history: "<base>_#<nnn>-<yymmdd-hhnnss><ext>", the number
// counting up with each save.

#include <ctime>
#include <string>

namespace kavel {

/// The history name for a chosen `path` saved at local time `when`: the extension is dropped;
/// a name ending in "_#nnn-yymmdd-hhnnss" gives up that suffix and its number nnn, otherwise
/// the number is 0; the result is base + "_#" + (number + 1 as three digits) + "-" + the time
/// as "yymmdd-hhnnss" + `extension` (".Kvl" or ".c").
std::string historyFileName(const std::string& path, const std::tm& when, const std::string& extension);

}  // namespace kavel
