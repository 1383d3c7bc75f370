#pragma once
// Reading program files at the console the way the program window reads them, for every
// command that starts from a program file.

#include <string>
#include <vector>

#include "core/Context.h"
#include "core/model/ProgramFile.h"

namespace kavel::cli {

/// Parses `FILE [--sub N]`; false with `error` set on a bad argument.
bool parseProgramArguments(const std::vector<std::string>& args, std::string& file, int& sub, std::string& error);

/// Reader hooks for the console: product warnings go to standard error, the old-version
/// question is answered Yes with a note on standard error that names `file`.
ProgramFileHooks consoleFileHooks(const std::string& file);

/// Reads FILE into program `index` (0 Main, 1..30 Sub-N) and makes it the current program.
ProgramFileResult readForConsole(Context& ctx, int index, const std::string& file);

/// The reason a read failed, for standard error.
std::string readFailure(const ProgramFileResult& result, const std::string& file);

}  // namespace kavel::cli
