#include "cli/SimulateCommand.h"

#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <iostream>

#include "cli/SimulationBuild.h"
#include "core/text/TextFile.h"
#include "sim/SimClient.h"
#include "sim/TraceCsv.h"

namespace kavel::cli {
namespace {

constexpr const char* kWho = "kavel simulate";
constexpr const char* kSimulateUsage =
    "usage: kavel [--ini PATH] [--variant N] [--lang N] simulate FILE [--world WORLD.json] [--seconds N] "
    "[--trace OUT.csv]\n";
constexpr double kDefaultSeconds = 30, kMaxSeconds = 3600;

struct SimulateArguments {
  std::string file;
  std::string world;
  std::string trace;
  double seconds = kDefaultSeconds;
};

bool parseSeconds(const std::string& text, double& seconds) {
  if (text.empty()) return false;
  char* end = nullptr;
  errno = 0;
  seconds = std::strtod(text.c_str(), &end);
  return errno == 0 && *end == '\0' && std::isfinite(seconds) && seconds > 0 && seconds <= kMaxSeconds;
}

bool parseArguments(const std::vector<std::string>& args, SimulateArguments& a, std::string& error) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool hasValue = i + 1 < args.size();
    if (arg == "--world" || arg == "--trace") {
      if (!hasValue || args[i + 1].empty()) {
        error = arg + " needs a file name";
        return false;
      }
      (arg == "--world" ? a.world : a.trace) = args[++i];
    } else if (arg == "--seconds") {
      if (!hasValue || !parseSeconds(args[i + 1], a.seconds)) {
        error = "--seconds takes a number of simulated seconds above 0 and at most 3600";
        return false;
      }
      ++i;
    } else if (a.file.empty() && !(arg.size() > 1 && arg[0] == '-')) {
      a.file = arg;
    } else {
      error = "unexpected argument \"" + arg + "\"";
      return false;
    }
  }
  if (a.file.empty()) {
    error = "no program file given";
    return false;
  }
  return true;
}

volatile std::sig_atomic_t interrupted = 0;
void onInterrupt(int) { interrupted = 1; }

/// Whether a trace can be written at `path`: its folder exists and takes files.
bool traceWritable(const std::string& path, std::string& error) {
  const std::string folder = text::folderOf(path).empty() ? "." : text::folderOf(path);
  if (::access(folder.c_str(), W_OK) != 0) {
    error = "cannot write the trace " + path + ": " + std::strerror(errno) + " (" + folder + ")";
    return false;
  }
  return true;
}

}  // namespace

int runSimulate(const GlobalOptions& options, const std::vector<std::string>& args) {
  SimulateArguments a;
  std::string error;
  if (!parseArguments(args, a, error)) {
    std::cerr << kWho << ": " << error << "\n" << kSimulateUsage;
    return kSimInputError;
  }
  if (!a.trace.empty() && !traceWritable(a.trace, error)) {
    std::cerr << kWho << ": " << error << "\n";
    return kSimInputError;
  }

  sim::RunFolder folder;
  sim::SimLaunch launch;
  const int prepared = prepareSimulation(options, {a.file, a.world}, folder, kWho, std::cout, launch);
  if (prepared != kSimOk) return prepared;
  const auto endMs = static_cast<std::int64_t>(std::llround(a.seconds * 1000.0));
  launch.plan.endUs = (endMs + 9) / 10 * 10 * 1000;

  std::string trace = std::string(sim::kTraceHeader) + "\n";
  sim::SimClient client;
  client.onSnapshot = [&trace, &a](const sim::SimSnapshot& s) {
    if (!a.trace.empty()) trace += sim::traceLine(s) + "\n";
  };
  if (!client.start(launch, error)) {
    std::cerr << kWho << ": " << error << "\n";
    return kSimRunError;
  }
  struct sigaction action {};
  action.sa_handler = onInterrupt;
  ::sigaction(SIGINT, &action, nullptr);
  ::sigaction(SIGTERM, &action, nullptr);
  client.setSpeed(0);
  client.run();
  while (!client.finished()) {
    if (interrupted) client.stop();
    client.pump(std::chrono::milliseconds(100));
  }
  const sim::SimOutcome& outcome = client.outcome();

  if (!a.trace.empty() && !text::writeFileAtomic(a.trace, trace, &error)) {
    std::cerr << kWho << ": " << error << "\n";
    return kSimInputError;
  }
  const std::string at = "at " + sim::simTimeText(outcome.timeUs) + " of simulated time";
  switch (outcome.end) {
    case sim::SimEnd::Returned:
      std::cerr << kWho << ": the program ended " << at << "\n";
      return kSimOk;
    case sim::SimEnd::TimeUp:
      std::cerr << kWho << ": the run ended " << at << "; the program was still running\n";
      return kSimOk;
    case sim::SimEnd::LoadFailed:
      std::cout << loadFailureText(launch, outcome.message) << "\n";
      std::cout.flush();
      std::cerr << kWho << ": " << a.file << " does not link for the simulated robot\n";
      return kSimCompileError;
    case sim::SimEnd::Crashed:
      std::cerr << kWho << ": the program crashed " << at << ": " << outcome.message << "\n";
      return kSimRunError;
    case sim::SimEnd::Stalled:
      std::cerr << kWho << ": the program stalled " << at << ": " << outcome.message << "\n";
      return kSimRunError;
    case sim::SimEnd::Stopped:
      std::cerr << kWho << ": interrupted " << at << "\n";
      return 130;
    case sim::SimEnd::Lost:
    case sim::SimEnd::None:
      break;
  }
  std::cerr << kWho << ": the simulation failed " << at << ": " << outcome.message << "\n";
  return kSimRunError;
}

}  // namespace kavel::cli
