// kcc8: the compiler step of the build's tool chain. It compiles nothing itself: it checks the
// processor named by -p against the device resource file beside it, picks the extended or the
// traditional compiler from the folder it was invoked from, runs it with the very arguments it
// was given and reports the outcome through its exit code.
//
// Exit codes: 0 compiler ran and succeeded; 1 option error (-p without a processor name
// included), unreadable resource file or unsupported processor; 2 --extended for a device
// without extended mode; 3 the compiler could not be started, failed or was ended by a signal.

#include <cstdio>
#include <cstdlib>
#include <string>

#include "driver/cmdline.h"
#include "driver/dispatch.h"
#include "driver/mgproc_res.h"
#include "driver/reader.h"

using namespace kcc8;

int main(int argc, char** argv) {
  // A program started with an empty argument vector still gets a name to work from.
  static char emptyName[] = "";
  static char* noArguments[] = {emptyName, nullptr};
  if (argc < 1) {
    argc = 1;
    argv = noArguments;
  }

  toolpath = ownFileName();
  cmd_init(argc, argv);
  std::atexit(cmd_free);
  if (!cmd_parse_args()) return 1;

  const char* executable = "kcc8-traditional";
  if (mode == 0) {
    if (processor_specified && !r_supports_extended_mode()) {
      std::fprintf(stderr, "Device '%s' does not support extended mode\n", GetProcessorName().c_str());
      return 2;
    }
    executable = "kcc8-extended";
  }
  const std::string compiler = get_compiler_command_line(argv[0], executable);

  // Our own output must land before the compiler's when both go to the same file.
  std::fflush(nullptr);
  const CompilerRun run = runCompiler(compiler, argv);
  if (!run.started) {
    std::fprintf(stderr, "Error executing %s.  %s\n", compiler.c_str(), startFailureReason(run.error).c_str());
    return 3;
  }
  // A compiler that crashed or was stopped says nothing itself; the build output must.
  if (run.signal != 0) {
    std::fprintf(stderr, "Error: %s was ended by %s before it finished.\n", compiler.c_str(),
                 signalText(run.signal).c_str());
    return 3;
  }
  return run.exitCode == 0 ? 0 : 3;
}
