#include "cli/ConvertCommand.h"

#include <iostream>

#include "cli/ConsoleProgram.h"
#include "core/model/ProgramFile.h"

namespace kavel::cli {
namespace {

constexpr const char* kConvertUsage =
    "usage: kavel [--ini PATH] [--variant N] [--lang N] convert FILE --out OUT [--sub N]\n";

}  // namespace

int runConvert(const GlobalOptions& options, const std::vector<std::string>& args) {
  std::vector<std::string> fileNames;
  const std::vector<std::string> optionArgs = splitAtOptionEnd(args, fileNames);
  std::vector<std::string> rest;
  std::string out;
  for (std::size_t i = 0; i < optionArgs.size(); ++i) {
    if (optionArgs[i] == "--out") {
      if (i + 1 >= optionArgs.size() || optionArgs[i + 1].empty()) {
        std::cerr << "kavel convert: --out needs the file to write\n" << kConvertUsage;
        return 1;
      }
      out = optionArgs[++i];
    } else {
      rest.push_back(optionArgs[i]);
    }
  }
  rest.insert(rest.end(), fileNames.begin(), fileNames.end());
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
  // A file that is not a program file, or did not read whole, is not written anywhere.
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
