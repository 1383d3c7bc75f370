#include "cli/ConsoleProgram.h"

#include <iostream>

#include "cli/CliSession.h"

namespace kavel::cli {

bool parseProgramArguments(const std::vector<std::string>& args, std::string& file, int& sub, std::string& error) {
  sub = 0;
  file.clear();
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--sub") {
      if (i + 1 >= args.size() || !parseInt(args[i + 1], sub) || sub < 1 || sub > 30) {
        error = "--sub takes a Sub program number from 1 to 30";
        return false;
      }
      ++i;
    } else if (file.empty() && !(args[i].size() > 1 && args[i][0] == '-')) {
      file = args[i];
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
  return result.error.empty() ? "cannot read " + file : result.error;
}

}  // namespace kavel::cli
