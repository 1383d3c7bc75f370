#pragma once
// Reading program files at the console the way the program window reads them, for every
// command that starts from a program file.

#include <string>
#include <vector>

#include "core/Context.h"
#include "core/model/ProgramFile.h"

namespace kavel::cli {

/// Parses `FILE [--sub N]` (a "--" ends the options: a file name may then start with "-");
/// false with `error` set on a bad argument.
bool parseProgramArguments(const std::vector<std::string>& args, std::string& file, int& sub, std::string& error);

/// Reader hooks for the console: product warnings go to standard error, the old-version
/// question is answered Yes with a note on standard error that names `file`.
ProgramFileHooks consoleFileHooks(const std::string& file);

/// Reads FILE into program `index` (0 Main, 1..30 Sub-N) and makes it the current program.
ProgramFileResult readForConsole(Context& ctx, int index, const std::string& file);

/// The reason a read failed, for standard error.
std::string readFailure(const ProgramFileResult& result, const std::string& file);

/// True for an argument that looks like an option ("-x", "--out"), not a file name.
bool isOption(const std::string& arg);

/// What an argument loop does with `arg` before it looks for its own options.
enum class Positional {
  Taken,   // it was the file name (stored in `file`) or a "--" ending the options
  Option,  // it looks like an option: the caller's to read
  Error,   // a second file name; `error` says so
};
Positional takePositional(const std::string& arg, bool& optionsEnded, std::string& file, std::string& error);

/// The arguments before a "--"; `after` gets the "--" and everything after it, which are file
/// names whatever they look like.
std::vector<std::string> splitAtOptionEnd(const std::vector<std::string>& args, std::vector<std::string>& after);

}  // namespace kavel::cli
