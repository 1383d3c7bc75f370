#pragma once
// When the program does something that ends its process (divides by zero, reaches outside its
// memory, indexes outside an array that the compiler checks), the client is told what and
// when before the process goes, instead of finding only a dead process.

#include <cstdint>

namespace kavel::sim {

class Simulation;

/// Installs the handlers; reports go to `fd` with the time of `sim`.
void installCrashGuard(int fd, const Simulation& sim);

}  // namespace kavel::sim

extern "C" {
/// Called by the checks compiled into User.c (see SimFaults.c): `what` happened at `file`:`line`.
[[noreturn]] void kavel_sim_fault(const char* what, const char* file, unsigned line);
}
