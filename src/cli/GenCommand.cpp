#include "cli/GenCommand.h"

#include <filesystem>
#include <iostream>

#include "cli/ConsoleGeneration.h"
#include "cli/ConsoleProgram.h"

namespace kavel::cli {
namespace {

constexpr const char* kGenUsage = "usage: kavel [--ini PATH] [--variant N] [--lang N] gen FILE --out DIR [--pwron]\n";

struct GenArguments {
  std::string file;
  std::string out;
  bool pwrOn = false;
};

bool parseGenArguments(const std::vector<std::string>& args, GenArguments& gen, std::string& error) {
  bool optionsEnded = false;  // after "--" every argument is a file name
  for (std::size_t i = 0; i < args.size(); ++i) {
    const Positional p = takePositional(args[i], optionsEnded, gen.file, error);
    if (p == Positional::Error) return false;
    if (p == Positional::Taken) continue;
    if (args[i] == "--out") {
      if (i + 1 >= args.size() || args[i + 1].empty()) {
        error = "--out needs the folder to write M_Type.h and User.c into";
        return false;
      }
      gen.out = args[++i];
    } else if (args[i] == "--pwron") {
      gen.pwrOn = true;
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

  return generateForConsole(*ctx, gen.file, gen.out, gen.pwrOn, "kavel gen") ? 0 : 1;
}

}  // namespace kavel::cli
