#include "cli/ConvertCommand.h"

#include <iostream>

#include "cli/ConsoleProgram.h"
#include "core/model/ProgramFile.h"
#include "core/model/ProgramFileCheck.h"

namespace kavel::cli {
namespace {

constexpr const char* kConvertUsage =
    "usage: kavel [--ini PATH] [--variant N] [--lang N] convert FILE --out OUT [--sub N]\n";

}  // namespace

int runConvert(const GlobalOptions& options, const std::vector<std::string>& args) {
  std::vector<std::string> rest;
  std::string out;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--out") {
      if (i + 1 >= args.size() || args[i + 1].empty()) {
        std::cerr << "kavel convert: --out needs the file to write\n" << kConvertUsage;
        return 1;
      }
      out = args[++i];
    } else {
      rest.push_back(args[i]);
    }
  }
  std::string file;
  int sub = 0;
  std::string error;
  if (!parseProgramArguments(rest, file, sub, error)) {
    std::cerr << "kavel convert: " << error << "\n" << kConvertUsage;
    return 1;
  }
  if (out.empty()) {
    std::cerr << "kavel convert: no output file given (--out OUT)\n" << kConvertUsage;
    return 1;
  }

  auto ctx = makeContext(options);
  ProgramFileContext fc{ctx->settings, ctx->io, ctx->setup, ctx->messages, mainWindowTitle()};
  // As Open does: a file that is not a program file, or is damaged, is refused before reading.
  const ProgramFileCheck check = checkProgramFile(file, fc);
  if (check.verdict == ProgramFileCheck::Verdict::NotProgram || check.verdict == ProgramFileCheck::Verdict::Damaged) {
    std::cerr << "kavel convert: " << check.reason << "\n";
    return 1;
  }
  const ProgramFileResult result = readForConsole(*ctx, sub, file);
  if (!result.ok) {
    std::cerr << "kavel convert: " << readFailure(result, file) << "\n";
    return 1;
  }
  Program& program = ctx->programs[sub];
  if (!writeProgramFile(program, out, fc, &error)) {
    std::cerr << "kavel convert: " << error << "\n";
    return 2;
  }
  return 0;
}

}  // namespace kavel::cli
