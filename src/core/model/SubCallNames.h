#pragma once
// How Main's SubCall rows follow the files of the Sub programs: the comment of a call names
// the file its Sub is read from.

#include <string>
#include <vector>

#include "core/model/Program.h"

namespace kavel {

/// Opening `file` into Sub `sub`: the other Sub numbers that Main calls under that same file
/// (their windows close, so that one file is not open twice), in row order, each once.
std::vector<int> otherSubsCallingFile(const Program& main, int sub, const std::string& file);

/// Every call of Sub `sub` in `main` names `file` from now on. True when a comment changed
/// (Main is then modified).
bool nameSubCalls(Program& main, int sub, const std::string& file);

}  // namespace kavel
