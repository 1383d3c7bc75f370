#pragma once
// The name a build saves a copy under when programs are kept with their history: the path
// without extension, "_#" and a three-digit counter one above the one the name already carries,
// "-" and a time stamp, and the program file extension.

#include <ctime>
#include <string>

namespace kavel {

/// "<base>_#<counter>-<yymmdd-hhnnss><extension>" for `path` at local time `when`. A base that
/// already ends in "_#nnn-" and a 13-character stamp is cut before that marker and its counter
/// is continued (1 when it does not read as a number); any other base starts at 001.
/// `cCodeStyle` chooses ".c", otherwise ".Kvl".
std::string historyName(const std::string& path, bool cCodeStyle, const std::tm& when);

/// historyName at the current local time.
std::string historyName(const std::string& path, bool cCodeStyle);

}  // namespace kavel
