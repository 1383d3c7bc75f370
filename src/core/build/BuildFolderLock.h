#pragma once
// A build holds its build folder from writing User.c to copying User.Hex out: two builds in one
// folder (two consoles, or a console and a window) would write each other's User.c and take
// each other's User.Hex. The hold is a lock on a hidden file of the folder, which the system
// lets go when the process ends, however it ends.

#include <string>

namespace kavel {

/// The hidden file in the build folder that builds lock.
inline constexpr const char* kBuildLockFile = ".kavel-build.lock";

/// How long a build waits, unless told otherwise, for another build to leave its folder.
inline constexpr int kBuildFolderWaitSeconds = 120;

class BuildFolderLock {
 public:
  enum class State {
    Held,    // this build holds the folder
    Busy,    // another build holds it: holder() names it
    Failed,  // the folder cannot be locked: error() says why
  };

  BuildFolderLock() = default;
  ~BuildFolderLock() { release(); }
  BuildFolderLock(const BuildFolderLock&) = delete;
  BuildFolderLock& operator=(const BuildFolderLock&) = delete;

  /// Tries once, without waiting, to hold `folder` (ending with "/") for the build `who`
  /// ("kavel build", "kavelide"). Holding it already answers Held.
  State tryAcquire(const std::string& folder, const std::string& who);
  /// Lets the folder go; nothing when not held.
  void release();
  bool held() const { return fd_ >= 0; }

  /// After Busy: the build that holds the folder, as it named itself ("kavelide, process
  /// 1234"), or "another build" when it left no name.
  const std::string& holder() const { return holder_; }
  /// After Failed: a sentence naming the folder and the reason.
  const std::string& error() const { return error_; }

 private:
  int fd_ = -1;
  std::string holder_;
  std::string error_;
};

}  // namespace kavel
