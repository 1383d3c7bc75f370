#include "cli/RowsCommand.h"

#include <cstdio>
#include <iostream>

#include "cli/ConsoleProgram.h"
#include "core/model/ProgramFile.h"
#include "core/model/RowText.h"

namespace kavel::cli {

int runRows(const GlobalOptions& options, const std::vector<std::string>& args) {
  std::string file, error;
  int sub = 0;
  if (!parseProgramArguments(args, file, sub, error)) {
    std::cerr << "kavel rows: " << error << "\nusage: kavel [--ini PATH] [--variant N] [--lang N] rows FILE [--sub N]\n";
    return 2;
  }
  auto ctx = makeContext(options);
  const ProgramFileResult result = readForConsole(*ctx, sub, file);
  // A file that did not read whole lists nothing: a part of it would pass for the program.
  if (!result.ok) {
    std::cerr << "kavel rows: " << readFailure(result, file) << "\n";
    return 1;
  }

  const RowTextContext rt = rowTextContextOf(*ctx, sub);
  int number = 1;
  for (const Statement& row : ctx->programs[sub].rows()) {
    std::printf("%d\t%d\t%d\t%d\t%d\t%d\t%d\t%s\n", number++, row.level, row.sno, row.cno, row.val0, row.val1,
                row.val2, composeRowText(row, rt).c_str());
  }
  std::fflush(stdout);
  return 0;
}

}  // namespace kavel::cli
