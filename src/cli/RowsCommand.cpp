#include "cli/RowsCommand.h"

#include <cstdio>
#include <iostream>

#include "model/ProgramFile.h"
#include "model/RowText.h"

namespace kavel::cli {

/// Parses `FILE [--sub N]`; false with `error` set on a bad argument.
bool parseProgramArguments(const std::vector<std::string>& args, std::string& file, int& sub,
                           std::string& error) {
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

/// Reads FILE as Main or Sub-N as the program window would, answering the old-version
/// question with Yes and sending product warnings to standard error.
ProgramFileResult readForConsole(Context& ctx, int index, const std::string& file) {
  ctx.programs.current = index;
  Program& program = ctx.programs[index];
  ProgramFileContext fc{ctx.settings, ctx.io, ctx.setup, ctx.messages, mainWindowTitle()};
  ProgramFileHooks hooks;
  hooks.productWarning = [](const std::string& text) { std::cerr << "kavel: warning: " << text << "\n"; };
  hooks.askOldVersion = [&file](const std::string&, const std::string&) {
    std::cerr << "kavel: " << file << " was written by a version before 2014; its variable rows are converted\n";
    return true;
  };
  return readProgramFile(program, file, fc, hooks);
}

int runRows(const GlobalOptions& options, const std::vector<std::string>& args) {
  std::string file, error;
  int sub = 0;
  if (!parseProgramArguments(args, file, sub, error)) {
    std::cerr << "kavel rows: " << error << "\nusage: kavel [--ini PATH] [--variant N] [--lang N] rows FILE [--sub N]\n";
    return 2;
  }
  auto ctx = makeContext(options);
  const ProgramFileResult result = readForConsole(*ctx, sub, file);

  RowTextContext rt;
  rt.language = ctx->messages.language();
  rt.currentProgram = sub;
  rt.cnMode = ctx->io.cnMode;
  rt.useHmc = ctx->io.useHmc;
  rt.timeUnit = ctx->messages(126);
  int number = 1;
  for (const Statement& row : ctx->programs[sub].rows()) {
    std::printf("%d\t%d\t%d\t%d\t%d\t%d\t%d\t%s\n", number++, row.level, row.sno, row.cno, row.val0, row.val1,
                row.val2, composeRowText(row, rt).c_str());
  }
  std::fflush(stdout);
  if (!result.ok) {
    std::cerr << "kavel rows: " << (result.error.empty() ? "cannot read " + file : result.error) << "\n";
    return 1;
  }
  return 0;
}

}  // namespace kavel::cli
