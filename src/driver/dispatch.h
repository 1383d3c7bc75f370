#pragma once
// Finding the compiler beside the driver, starting it with the driver's own arguments and
// waiting for it.

#include <cstddef>
#include <string>

namespace kcc8 {

/// Writes the folder part of `path`, ending in "/", into `dest` (either separator is
/// recognised; the last '/' wins over any backslash). Answers the length written, or, when
/// `size` is too small (0 asks for the size only), the size needed with its terminator and
/// writes nothing. A path without a folder gives the current folder, "./".
size_t pathdir(char* dest, const char* path, size_t size);

/// The folder of the invocation name followed by the executable's name.
std::string get_compiler_command_line(const char* invocationName, const char* executable);

/// The running program's full file name, of any length; "" when the system will not tell.
std::string ownFileName();

/// Outcome of starting a compiler. `error` is the start's errno when it could not be started.
struct CompilerRun {
  bool started = false;
  int error = 0;
  int exitCode = -1;  ///< -1 when the child did not end normally (killed by a signal)
  int signal = 0;     ///< the signal that ended the child, 0 when it exited
};

/// Starts `path` with `argv` (null-terminated, handed over unchanged) and waits for its end.
CompilerRun runCompiler(const std::string& path, char* const argv[]);

/// Why a start failed, in the driver's words, for an errno value.
std::string startFailureReason(int error);

/// "signal 9 (Killed)": a signal that ended the compiler, for the driver's message.
std::string signalText(int signal);

}  // namespace kcc8
