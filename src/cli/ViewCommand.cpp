#include "cli/ViewCommand.h"

#include <cstdio>
#include <iostream>

#include "cli/ConsoleProgram.h"
#include "core/codegen/CodeGenerator.h"

namespace kavel::cli {

int runView(const GlobalOptions& options, const std::vector<std::string>& args) {
  std::string file, error;
  int sub = 0;
  if (!parseProgramArguments(args, file, sub, error)) {
    std::cerr << "kavel view: " << error << "\nusage: kavel [--ini PATH] [--variant N] [--lang N] view FILE [--sub N]\n";
    return 2;
  }
  auto ctx = makeContext(options);
  const ProgramFileResult result = readForConsole(*ctx, sub, file);
  if (!result.ok) {
    std::cerr << "kavel view: " << readFailure(result, file) << "\n";
    return 1;
  }
  CodeGenerator generator(*ctx);
  CodeBuffer view(CodeTarget::CodeView);
  generator.GenerateCode(view);
  const std::string text = view.joined();
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fflush(stdout);
  return 0;
}

}  // namespace kavel::cli
