#pragma once
// Runs the compile batch file of a build folder to its end for the console and the tests:
// the steps of a build between writing User.c and showing the result.

#include <chrono>
#include <functional>
#include <string>

#include "core/build/ToolChainCommand.h"

namespace kavel {

enum class ToolChainStatus {
  Succeeded,    // User.Hex was made
  Failed,       // the tool chain ran but made no User.Hex
  NotStarted,   // the compile batch file is missing or could not be started ("Prosess Error!")
  TimedOut,     // stopped after the time limit; counts as failed
  Cancelled,    // stopped because the caller asked; counts as failed
};

struct ToolChainLimits {
  /// Zero: wait as long as the tool chain runs.
  std::chrono::milliseconds timeout{0};
  /// Asked every poll (10 ms); true stops the tool chain.
  std::function<bool()> cancelled;
  /// Called every poll while the tool chain runs.
  std::function<void()> tick;
};

struct ToolChainResult {
  ToolChainStatus status = ToolChainStatus::NotStarted;
  int exitCode = -1;    // of the shell, when it ran to its end
  std::string error;    // why it did not start or was stopped
};

/// Deletes User.o and User.Hex, runs `command` and waits for it, then decides by User.Hex.
ToolChainResult runToolChain(const ToolChainCommand& command, const ToolChainLimits& limits = {});

}  // namespace kavel
