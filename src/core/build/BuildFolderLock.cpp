#include "core/build/BuildFolderLock.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace kavel {
namespace {

// What the holder wrote: "<process> <name>".
std::string holderOf(int fd) {
  char buffer[256];
  const ssize_t n = ::pread(fd, buffer, sizeof buffer - 1, 0);
  if (n <= 0) return "another build";
  std::string text(buffer, static_cast<std::size_t>(n));
  text.erase(text.find_last_not_of("\r\n ") + 1);
  const std::size_t space = text.find(' ');
  if (space == std::string::npos || space == 0 || text.find_first_not_of("0123456789") != space) {
    return "another build";
  }
  return text.substr(space + 1) + ", process " + text.substr(0, space);
}

}  // namespace

BuildFolderLock::State BuildFolderLock::tryAcquire(const std::string& folder, const std::string& who) {
  if (held()) return State::Held;
  holder_.clear();
  error_.clear();
  const std::string path = folder + kBuildLockFile;
  // Not inherited by the tool chain: a compiler left running must not keep the folder held.
  constexpr int kFlags = O_CLOEXEC | O_NOFOLLOW | O_NOCTTY | O_NONBLOCK;
  int fd = ::open(path.c_str(), O_RDWR | O_CREAT | kFlags, 0666);
  // Another user's lock file still locks for reading; this build then leaves no name in it.
  if (fd < 0 && errno == EACCES) fd = ::open(path.c_str(), O_RDONLY | kFlags);
  if (fd < 0) {
    error_ = "The build folder " + folder + " cannot be locked for this build (" + path + ": " +
             std::strerror(errno) + ").";
    return State::Failed;
  }
  while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    if (errno == EINTR) continue;
    if (errno == EWOULDBLOCK) {
      holder_ = holderOf(fd);
      ::close(fd);
      return State::Busy;
    }
    error_ = "The build folder " + folder + " cannot be locked for this build (" + path + ": " +
             std::strerror(errno) + ").";
    ::close(fd);
    return State::Failed;
  }
  fd_ = fd;
  const std::string mark = std::to_string(::getpid()) + " " + who + "\n";
  if (::ftruncate(fd_, 0) == 0) {
    [[maybe_unused]] const ssize_t n = ::pwrite(fd_, mark.data(), mark.size(), 0);
  }
  return State::Held;
}

void BuildFolderLock::release() {
  if (fd_ < 0) return;
  // The name stays for the next build; emptying it keeps a stale name from being shown.
  if (::ftruncate(fd_, 0) != 0) {
    // Only the shown name is at stake.
  }
  ::close(fd_);
  fd_ = -1;
}

}  // namespace kavel
