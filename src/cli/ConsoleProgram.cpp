#include "cli/ConsoleProgram.h"

#include <algorithm>
#include <iostream>

#include "cli/CliSession.h"

namespace kavel::cli {

bool parseProgramArguments(const std::vector<std::string>& args, std::string& file, int& sub, std::string& error) {
  sub = 0;
  file.clear();
  bool optionsEnded = false;  // after "--" every argument is a file name
  for (std::size_t i = 0; i < args.size(); ++i) {
    const Positional p = takePositional(args[i], optionsEnded, file, error);
    if (p == Positional::Error) return false;
    if (p == Positional::Taken) continue;
    if (args[i] == "--sub") {
      if (i + 1 >= args.size() || !parseInt(args[i + 1], sub) || sub < 1 || sub > 30) {
        error = "--sub takes a Sub program number from 1 to 30";
        return false;
      }
      ++i;
    } else {
      error = "unexpected argument \"" + args[i] + "\"";
      return false;
    }
  }
  if (file.empty()) {
    error = "no program file given";
    return false;
  }
  return true;
}

ProgramFileHooks consoleFileHooks(const std::string& file) {
  ProgramFileHooks hooks;
  hooks.productWarning = [](const std::string& text) { std::cerr << "kavel: warning: " << text << "\n"; };
  hooks.askOldVersion = [file](const std::string&, const std::string&) {
    std::cerr << "kavel: " << file << " was written by a version before 2014; its variable rows are converted\n";
    return true;
  };
  return hooks;
}

ProgramFileResult readForConsole(Context& ctx, int index, const std::string& file) {
  ctx.programs.current = index;
  Program& program = ctx.programs[index];
  ProgramFileContext fc{ctx.settings, ctx.io, ctx.setup, ctx.messages, mainWindowTitle()};
  return readProgramFile(program, file, fc, consoleFileHooks(file));
}

std::string readFailure(const ProgramFileResult& result, const std::string& file) {
  if (!result.error.empty()) return result.error;
  return result.outcome == ProgramFileOutcome::Declined ? file + " was not converted" : "cannot read " + file;
}

bool isOption(const std::string& arg) { return arg.size() > 1 && arg[0] == '-'; }

Positional takePositional(const std::string& arg, bool& optionsEnded, std::string& file, std::string& error) {
  if (!optionsEnded && arg == "--") {
    optionsEnded = true;
    return Positional::Taken;
  }
  if (!optionsEnded && isOption(arg)) return Positional::Option;
  if (!file.empty()) {
    error = "unexpected argument \"" + arg + "\"";
    return Positional::Error;
  }
  file = arg;
  return Positional::Taken;
}

std::vector<std::string> splitAtOptionEnd(const std::vector<std::string>& args, std::vector<std::string>& after) {
  const auto end = std::find(args.begin(), args.end(), "--");
  after.assign(end, args.end());
  return std::vector<std::string>(args.begin(), end);
}

}  // namespace kavel::cli
