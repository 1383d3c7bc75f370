#pragma once
// Compiles a program's User.c for the simulated board with the host's C compiler: the same
// source a build sends to the board, against the simulated board's headers, into a shared
// library that the simulation runtime loads. Only User.c is compiled per run; the runtime is
// built once with Kavel.

#include <chrono>
#include <string>

namespace kavel::sim {

struct HostBuild {
  bool ok = false;
  /// The compiler's errors and warnings as the sample build folder's compiler prints them,
  /// "User.c:<line>:Error: <text>", one a line.
  std::string messages;
  /// Why there is no library when it is not the program's fault (no C compiler, a time-out),
  /// or the compiler's own output when it failed without a message of the usual form.
  std::string error;
  std::string library;  // the shared library, in the run folder
};

inline constexpr const char* kSimLibraryFile = "user.so";
inline constexpr const char* kSimFaultsSource = "SimFaults.c";

/// Compiles `runFolder`/User.c (with M_Type.h beside it) against the headers in `headerFolder`
/// (the simulated board's M_Main.h and the others, and SimFaults.c). `mcu2620` names the
/// processor as a build does.
HostBuild compileForSimulation(const std::string& runFolder, const std::string& headerFolder, bool mcu2620,
                               std::chrono::seconds timeout = std::chrono::seconds(60));

/// The host compiler's diagnostics in the form "User.c:<line>:Error: <text>" (warnings with
/// ":Warning: "); notes and context lines are left out. `errors` counts the errors.
std::string boardStyleMessages(const std::string& compilerOutput, int& errors);

/// The full path of `program` found in the folders of $PATH; "" when it is in none.
std::string findInPath(const std::string& program);

}  // namespace kavel::sim

namespace kavel::sim {

/// A program the runtime could not load, said the way the board's linker would: an undefined
/// function becomes "User.c:<line>:Error: undefined reference to 'NAME'" with the first line of
/// `userC` (the source) that uses it; any other reason stays as it is.
std::string loadFailureMessage(const std::string& reason, const std::string& userC);

}  // namespace kavel::sim
