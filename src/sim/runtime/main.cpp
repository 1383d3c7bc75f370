// kavel-simhost: runs one compiled program (User.c as a shared library) on the simulated board
// in its world, for one run. Started by the simulation client with the control channel on
// file descriptor 3 and the run's folder as its argument; never by hand.

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <string>

#include "core/text/TextFile.h"
#include "sim/RobotModel.h"
#include "sim/RunPlan.h"
#include "sim/Simulation.h"
#include "sim/runtime/CrashGuard.h"
#include "sim/runtime/FirmwareApi.h"
#include "sim/runtime/HostChannel.h"

// The crash guard reports the program's faults itself; under the address sanitizer these
// signals must reach it instead of ending the process with a report of the sanitizer's own.
extern "C" const char* __asan_default_options() {
  return "handle_segv=0:handle_sigbus=0:handle_sigfpe=0:handle_sigill=0:handle_abort=0:allow_user_segv_handler=1";
}

namespace {

constexpr int kChannel = 3;

}  // namespace

int main(int argc, char** argv) {
  using namespace kavel::sim;
  // The run belongs to its client: when the client dies, so does the run.
  ::prctl(PR_SET_PDEATHSIG, SIGKILL);
  if (argc != 2 || ::fcntl(kChannel, F_GETFD) < 0) {
    std::fprintf(stderr, "kavel-simhost: started by the simulation of kavel and kavelide, not by hand\n");
    return 2;
  }
  const std::string folder = std::string(argv[1]) + "/";
  std::string text;
  std::string error;
  RunPlan plan;
  if (!kavel::text::readFileBytes(folder + kRunPlanFile, text, &error) || !parseRunPlan(text, plan, error)) {
    HostChannel(kChannel, 0).sendLoadFailed(error);
    return 2;
  }
  // Whatever the program prints stays off the client's standard output.
  ::dup2(2, 1);

  Simulation sim(plan.world, plan.robot);
  HostChannel channel(kChannel, plan.endUs);
  sim.setObserver(&channel);
  useSimulation(&sim);

  void* program = ::dlopen(plan.library.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!program) {
    channel.sendLoadFailed(::dlerror());
    return 0;
  }
  using Function = void (*)(void);
  const auto userMain = reinterpret_cast<Function>(::dlsym(program, "user_main"));
  if (!userMain) {
    channel.sendLoadFailed("User.c has no function user_main");
    return 0;
  }
  if (const auto interrupt = reinterpret_cast<Function>(::dlsym(program, "user_sub_30"))) sim.setInterrupt(interrupt);
  installCrashGuard(kChannel, sim);
  channel.sendReady();

  sim.begin();
  userMain();
  const std::int64_t returnedAt = sim.nowUs();
  if (plan.holdAfterMain) {
    for (;;) sim.idle(kSampleStepUs);
  }
  channel.end(EndKind::Returned, returnedAt);
}
