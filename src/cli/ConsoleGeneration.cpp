#include "cli/ConsoleGeneration.h"

#include <sys/stat.h>

#include <iostream>
#include <vector>

#include "core/codegen/CodeGenerator.h"
#include "core/model/ProgramFileCheck.h"
#include "core/text/TextFile.h"

namespace kavel::cli {

bool generateForConsole(Context& ctx, const std::string& file, const std::string& outFolder, bool pwrOn,
                        const std::string& who) {
  CodeGenOptions codeOptions;
  codeOptions.outputFolder = outFolder;
  codeOptions.pwrOnRun = pwrOn;
  codeOptions.subFolder = text::folderOf(file);

  // Sub files are named by Main's SubCall rows; their notes name them. Main's own re-read at
  // the end of the build says nothing new.
  const std::vector<CalledSub> subs = calledSubs(ctx.programs.main());
  int readingSub = 0;
  const auto subFile = [&subs](int n) {
    for (const CalledSub& s : subs) {
      if (s.number == n) return s.fileName;
    }
    return std::string();
  };
  CodeGenHooks hooks;
  hooks.openSubWindow = [&readingSub](int n) { readingSub = n; };
  hooks.closeSubWindow = [&readingSub](int) { readingSub = 0; };
  hooks.fileHooks.productWarning = [](const std::string& text) { std::cerr << "kavel: warning: " << text << "\n"; };
  hooks.fileHooks.askOldVersion = [&](const std::string&, const std::string&) {
    if (readingSub > 0) {
      std::cerr << who << ": warning: Sub-" << readingSub << " (" << subFile(readingSub)
                << ") was written by a version before 2014; its variable rows are converted\n";
    }
    return true;
  };
  hooks.readFailed = [&who](int n, const std::string& path, const std::string& why) {
    if (n == 0) {
      std::cerr << who << ": warning: could not read " << path << " again: " << why << "\n";
    } else {
      std::cerr << who << ": warning: Sub-" << n << ": " << (why.empty() ? "cannot read " + path : why)
                << "; its function is generated with an empty body\n";
    }
  };
  bool fileFailed = false;
  hooks.fileError = [&fileFailed, &who](const std::string& title, const std::string& text, const std::string& detail) {
    fileFailed = true;
    std::cerr << who << ": " << title << ": " << text << " (" << detail << ")\n";
  };

  CodeGenerator generator(ctx, codeOptions, hooks);
  // A Sub file that is there but does not read whole would build a different program; one
  // that is missing (or no file at all) gets an empty function, as the build window makes it.
  bool subsRead = true;
  const ProgramFileContext fc{ctx.settings, ctx.io, ctx.setup, ctx.messages, mainWindowTitle()};
  for (const CalledSub& sub : subs) {
    const std::string path = generator.subFilePath(sub);
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
    const ProgramFileCheck check = checkProgramFile(path, fc);
    if (check.verdict == ProgramFileCheck::Verdict::NotProgram || check.verdict == ProgramFileCheck::Verdict::Damaged) {
      std::cerr << who << ": Sub-" << sub.number << ": " << check.reason << "\n";
      subsRead = false;
    }
  }
  if (!subsRead) {
    std::cerr << who << ": nothing was written\n";
    return false;
  }
  CodeBuffer buffer(CodeTarget::BuildBuffer);
  const bool written = generator.GenerateCode(buffer);
  return written && !fileFailed;
}

}  // namespace kavel::cli
