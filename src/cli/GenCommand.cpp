#include "cli/GenCommand.h"

#include <filesystem>
#include <iostream>

#include "cli/ConsoleProgram.h"
#include "core/codegen/CodeGenerator.h"
#include "core/text/TextFile.h"

namespace kavel::cli {
namespace {

constexpr const char* kGenUsage = "usage: kavel [--ini PATH] [--variant N] [--lang N] gen FILE --out DIR [--pwron]\n";

struct GenArguments {
  std::string file;
  std::string out;
  bool pwrOn = false;
};

bool parseGenArguments(const std::vector<std::string>& args, GenArguments& gen, std::string& error) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--out") {
      if (i + 1 >= args.size() || args[i + 1].empty()) {
        error = "--out needs the folder to write M_Type.h and User.c into";
        return false;
      }
      gen.out = args[++i];
    } else if (args[i] == "--pwron") {
      gen.pwrOn = true;
    } else if (gen.file.empty() && !(args[i].size() > 1 && args[i][0] == '-')) {
      gen.file = args[i];
    } else {
      error = "unexpected argument \"" + args[i] + "\"";
      return false;
    }
  }
  if (gen.file.empty()) {
    error = "no program file given";
    return false;
  }
  if (gen.out.empty()) {
    error = "no output folder given (--out DIR)";
    return false;
  }
  return true;
}

}  // namespace

int runGen(const GlobalOptions& options, const std::vector<std::string>& args) {
  GenArguments gen;
  std::string error;
  if (!parseGenArguments(args, gen, error)) {
    std::cerr << "kavel gen: " << error << "\n" << kGenUsage;
    return 2;
  }
  auto ctx = makeContext(options);
  const ProgramFileResult result = readForConsole(*ctx, 0, gen.file);
  if (!result.ok) {
    std::cerr << "kavel gen: " << readFailure(result, gen.file) << "\n";
    return 1;
  }

  std::error_code made;
  std::filesystem::create_directories(gen.out, made);
  if (made) {
    std::cerr << "kavel gen: cannot create the output folder " << gen.out << ": " << made.message() << "\n";
    return 1;
  }

  CodeGenOptions codeOptions;
  codeOptions.outputFolder = gen.out;
  codeOptions.pwrOnRun = gen.pwrOn;
  codeOptions.subFolder = text::folderOf(gen.file);

  // Sub files are named by Main's SubCall rows; their notes name them. Main's own re-read at
  // the end of the build says nothing new.
  const std::vector<CalledSub> subs = calledSubs(ctx->programs.main());
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
      std::cerr << "kavel gen: warning: Sub-" << readingSub << " (" << subFile(readingSub)
                << ") was written by a version before 2014; its variable rows are converted\n";
    }
    return true;
  };
  hooks.readFailed = [](int n, const std::string& path, const std::string& why) {
    if (n == 0) {
      std::cerr << "kavel gen: warning: could not read " << path << " again: " << why << "\n";
    } else {
      std::cerr << "kavel gen: warning: Sub-" << n << ": " << (why.empty() ? "cannot read " + path : why)
                << "; its function is generated with an empty body\n";
    }
  };
  bool fileFailed = false;
  hooks.fileError = [&fileFailed](const std::string& title, const std::string& text, const std::string& detail) {
    fileFailed = true;
    std::cerr << "kavel gen: " << title << ": " << text << " (" << detail << ")\n";
  };

  CodeGenerator generator(*ctx, codeOptions, hooks);
  CodeBuffer buffer(CodeTarget::BuildBuffer);
  const bool written = generator.GenerateCode(buffer);
  return written && !fileFailed ? 0 : 1;
}

}  // namespace kavel::cli
