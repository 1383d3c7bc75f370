#pragma once
// The tool chain as a child process for the console: started with posix_spawn in its own
// process group, its output in a file, its environment given explicitly (ours stays as it is),
// polled without blocking so the caller keeps control of time-outs and cancelling.

#include <string>
#include <sys/types.h>

#include "core/build/ToolChainCommand.h"

namespace kavel {

class ChildProcess {
 public:
  ChildProcess() = default;
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  /// A child still running is stopped with its whole process group and reaped.
  ~ChildProcess();

  /// Starts `command`. False with `error` naming what failed when the output file cannot be
  /// created or the program cannot be started.
  bool start(const ToolChainCommand& command, std::string& error);

  /// True once the child has ended (reaps it). Never blocks.
  bool poll();

  /// Stops the child and everything it started (its process group), and reaps it.
  void kill();

  bool running() const { return pid_ > 0; }
  /// The exit code of an ended child; 128 + the signal number when a signal ended it.
  int exitCode() const { return exitCode_; }

 private:
  pid_t pid_ = -1;
  int exitCode_ = -1;
};

}  // namespace kavel
