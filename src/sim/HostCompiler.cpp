#include "sim/HostCompiler.h"

#include <unistd.h>

#include <cstdlib>
#include <regex>
#include <sstream>
#include <thread>

#include "core/build/ChildProcess.h"
#include "core/build/ToolChainCommand.h"
#include "core/text/TextFile.h"

namespace kavel::sim {
namespace {

constexpr const char* kCompilerLog = "cc.txt";

struct Step {
  bool finished = false;
  int exitCode = -1;
  std::string output;
  std::string error;
};

Step runStep(const std::string& cc, const std::vector<std::string>& arguments, const std::string& folder,
             std::chrono::seconds timeout) {
  Step step;
  ToolChainCommand command;
  command.program = cc;
  command.arguments = arguments;
  command.workingFolder = folder;
  command.outputFile = folder + kCompilerLog;
  command.environment = currentEnvironment();
  ChildProcess child;
  if (!child.start(command, step.error)) return step;
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!child.poll()) {
    if (std::chrono::steady_clock::now() > deadline) {
      child.kill();
      step.error = "the C compiler " + cc + " ran longer than " + std::to_string(timeout.count()) + " s and was stopped";
      return step;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  step.finished = true;
  step.exitCode = child.exitCode();
  text::readFileBytes(command.outputFile, step.output);
  return step;
}

}  // namespace

std::string findInPath(const std::string& program) {
  const char* path = std::getenv("PATH");
  std::istringstream folders(path ? path : "/usr/bin:/bin");
  std::string folder;
  while (std::getline(folders, folder, ':')) {
    const std::string candidate = (folder.empty() ? "." : folder) + "/" + program;
    if (::access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  return {};
}

std::string boardStyleMessages(const std::string& compilerOutput, int& errors) {
  static const std::regex diagnostic(R"(^(.*?):(\d+):(?:\d+:)? (fatal error|error|warning): (.*)$)");
  errors = 0;
  std::string out;
  std::istringstream lines(compilerOutput);
  std::string line;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::smatch m;
    if (!std::regex_match(line, m, diagnostic)) continue;
    const bool error = m[3] != "warning";
    errors += error ? 1 : 0;
    out += text::fileNameOf(m[1].str()) + ":" + m[2].str() + ":" + (error ? "Error: " : "Warning: ") + m[4].str() + "\n";
  }
  return out;
}

HostBuild compileForSimulation(const std::string& runFolder, const std::string& headerFolder, bool mcu2620,
                               std::chrono::seconds timeout) {
  HostBuild build;
  const std::string cc = findInPath("cc");
  if (cc.empty()) {
    build.error = "no C compiler \"cc\" was found on the search path; the simulation compiles the program with "
                  "it (install gcc)";
    return build;
  }
  std::string folder = runFolder;
  if (folder.empty() || folder.back() != '/') folder += "/";
  // As the sample folder's compiler checks it (C99, an undeclared function is an error), with
  // array indexes and divisions checked so that a fault names its line instead of corrupting
  // the run.
  const std::vector<std::string> compile = {
      "-c", "-std=gnu99", "-O0", "-fPIC", "-fno-diagnostics-show-caret", "-Werror=implicit-function-declaration",
      "-Wno-main", std::string("-D__") + (mcu2620 ? "18F2620" : "18F2520"), "-I" + headerFolder, "-I.",
      "-fsanitize=bounds,integer-divide-by-zero", "-fno-sanitize-recover=all", kBuildSourceFile,
      headerFolder + kSimFaultsSource};
  const Step compiled = runStep(cc, compile, folder, timeout);
  if (!compiled.finished) {
    build.error = compiled.error;
    return build;
  }
  int errors = 0;
  build.messages = boardStyleMessages(compiled.output, errors);
  if (compiled.exitCode != 0) {
    if (errors == 0) build.error = compiled.output;
    return build;
  }
  // -Bsymbolic: the checks' reports in SimFaults.c are the library's own, whatever else the
  // process that loads it holds.
  const Step linked = runStep(cc, {"-shared", "-Wl,-Bsymbolic", "-o", kSimLibraryFile, "User.o", "SimFaults.o"}, folder,
                              timeout);
  if (!linked.finished || linked.exitCode != 0) {
    build.error = linked.finished ? linked.output : linked.error;
    return build;
  }
  build.ok = true;
  build.library = folder + kSimLibraryFile;
  return build;
}

}  // namespace kavel::sim

namespace kavel::sim {

std::string loadFailureMessage(const std::string& reason, const std::string& userC) {
  static const std::regex undefinedSymbol(R"(undefined symbol: ([A-Za-z_][A-Za-z0-9_]*))");
  std::smatch m;
  if (!std::regex_search(reason, m, undefinedSymbol)) return reason;
  const std::string name = m[1].str();
  const std::regex use("\\b" + name + "\\b");
  int line = 0;
  int n = 0;
  std::istringstream lines(userC);
  std::string text;
  while (std::getline(lines, text)) {
    ++n;
    if (text.rfind("//", 0) != 0 && std::regex_search(text, use)) {
      line = n;
      break;
    }
  }
  return std::string(kBuildSourceFile) + ":" + std::to_string(line) + ":Error: undefined reference to '" + name + "'";
}

}  // namespace kavel::sim
