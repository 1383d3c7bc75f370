#include "driver/dispatch.h"

#include <cerrno>
#include <cstring>
#include <string_view>
#include <vector>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace kcc8 {

size_t pathdir(char* dest, const char* path, size_t size) {
  const std::string_view p(path);
  size_t separator = p.rfind('/');
  if (separator == std::string_view::npos) separator = p.rfind('\\');

  if (separator == std::string_view::npos) {
    if (size < 3) return 3;
    std::memcpy(dest, "./", 3);
    return 2;
  }

  const size_t n = separator;
  if (size <= n + 1) return n + 2;
  std::memcpy(dest, p.data(), n);
  size_t length = n;
  if (length == 0 || dest[length - 1] != '/') dest[length++] = '/';
  dest[length] = '\0';
  return length;
}

std::string get_compiler_command_line(const char* invocationName, const char* executable) {
  const size_t needed = pathdir(nullptr, invocationName, 0);
  std::vector<char> folder(needed);
  const size_t length = pathdir(folder.data(), invocationName, folder.size());
  return std::string(folder.data(), length) + executable;
}

std::string ownFileName() {
  std::vector<char> buffer(256);
  for (;;) {
    const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (n < 0) return {};
    // readlink cuts silently; only a result shorter than the buffer is known to be whole.
    if (static_cast<size_t>(n) < buffer.size()) return std::string(buffer.data(), static_cast<size_t>(n));
    buffer.resize(buffer.size() * 2);
  }
}

CompilerRun runCompiler(const std::string& path, char* const argv[]) {
  CompilerRun run;
  pid_t pid = 0;
  const int rc = ::posix_spawnp(&pid, path.c_str(), nullptr, nullptr, argv, environ);
  if (rc != 0) {
    run.error = rc;
    return run;
  }
  run.started = true;
  int status = 0;
  pid_t waited;
  do {
    waited = ::waitpid(pid, &status, 0);
  } while (waited < 0 && errno == EINTR);
  if (waited == pid && WIFEXITED(status)) run.exitCode = WEXITSTATUS(status);
  if (waited == pid && WIFSIGNALED(status)) run.signal = WTERMSIG(status);
  return run;
}

std::string startFailureReason(int error) {
  switch (error) {
    case ENOENT: return "File or path is not found";
    case E2BIG: return "Argument list exceeds 1024 bytes";
    // A file without execute permission is as unusable as one of an unknown format.
    case EACCES:
    case ENOEXEC: return "Specified file is not executable or has invalid executable-file format";
    case ENOMEM: return "Not enough memory is available to execute new process";
    case EINVAL: return "'mode' argument is invalid";
    default: return "Unknown error [errno = " + std::to_string(error) + "]";
  }
}

std::string signalText(int signal) {
  const char* name = ::strsignal(signal);
  return "signal " + std::to_string(signal) + (name ? " (" + std::string(name) + ")" : std::string());
}

}  // namespace kcc8
