#include "core/build/ToolChainRun.h"

#include <thread>

#include "core/build/BuildFiles.h"
#include "core/build/ChildProcess.h"
#include "core/text/TextFile.h"

namespace kavel {

ToolChainResult runToolChain(const ToolChainCommand& command, const ToolChainLimits& limits) {
  ToolChainResult result;
  if (!clearBuildResults(command.workingFolder, &result.error)) return result;
  // The shell would start and only then complain; a missing batch file is a failed start.
  for (const std::string& batch : command.arguments) {
    if (!text::fileExists(command.workingFolder + batch)) {
      result.error = missingBatchFile(command.workingFolder, batch);
      return result;
    }
  }
  ChildProcess child;
  if (!child.start(command, result.error)) return result;

  using Clock = std::chrono::steady_clock;
  const Clock::time_point started = Clock::now();
  while (!child.poll()) {
    if (limits.cancelled && limits.cancelled()) {
      child.kill();
      result.status = ToolChainStatus::Cancelled;
      result.error = "the build was cancelled";
      return result;
    }
    if (limits.timeout.count() > 0 && Clock::now() - started >= limits.timeout) {
      child.kill();
      result.status = ToolChainStatus::TimedOut;
      result.error = "the tool chain did not end within " + std::to_string(limits.timeout.count()) + " ms and was stopped";
      return result;
    }
    if (limits.tick) limits.tick();
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  result.exitCode = child.exitCode();
  result.status = buildSucceeded(command.workingFolder) ? ToolChainStatus::Succeeded : ToolChainStatus::Failed;
  return result;
}

}  // namespace kavel
