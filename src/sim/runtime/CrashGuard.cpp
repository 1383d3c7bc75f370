#include "sim/runtime/CrashGuard.h"

#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "sim/SimWire.h"
#include "sim/Simulation.h"

namespace kavel::sim {
namespace {

int reportFd = -1;
const Simulation* running = nullptr;
// What a crash is reported with: exit status of a process that told the client itself.
constexpr int kCrashExit = 3;

const char* causeOf(int signal) {
  switch (signal) {
    case SIGFPE:
      return "an arithmetic error (a division by zero)";
    case SIGSEGV:
    case SIGBUS:
      return "a memory access outside the program's variables (an index or pointer far out of range, or "
             "functions calling each other without end)";
    case SIGILL:
    case SIGTRAP:
      return "an instruction the processor cannot run";
    case SIGABRT:
      return "an abort";
    default:
      return "a fatal signal";
  }
}

void report(const char* text) {
  char message[1024];
  const std::size_t n = encodeEndedRaw(message, sizeof message, EndKind::Crashed, running ? running->nowUs() : 0, text);
  std::size_t done = 0;
  while (done < n) {
    const ssize_t w = ::write(reportFd, message + done, n - done);
    if (w <= 0) break;
    done += static_cast<std::size_t>(w);
  }
}

void onFatalSignal(int signal) {
  report(causeOf(signal));
  ::_exit(kCrashExit);
}

}  // namespace

void installCrashGuard(int fd, const Simulation& sim) {
  reportFd = fd;
  running = &sim;
  // Its own stack, so that a program that ran out of stack can still be reported.
  static char alternate[64 * 1024];
  stack_t stack{};
  stack.ss_sp = alternate;
  stack.ss_size = sizeof alternate;
  ::sigaltstack(&stack, nullptr);
  struct sigaction action {};
  action.sa_handler = onFatalSignal;
  action.sa_flags = SA_ONSTACK | SA_RESETHAND;
  sigemptyset(&action.sa_mask);
  for (int s : {SIGFPE, SIGSEGV, SIGBUS, SIGILL, SIGTRAP, SIGABRT}) ::sigaction(s, &action, nullptr);
}

}  // namespace kavel::sim

extern "C" void kavel_sim_fault(const char* what, const char* file, unsigned line) {
  char text[512];
  std::snprintf(text, sizeof text, "%s in %s line %u", what ? what : "a fault", file ? file : "User.c", line);
  kavel::sim::report(text);
  ::_exit(kavel::sim::kCrashExit);
}
