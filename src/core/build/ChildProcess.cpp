#include "core/build/ChildProcess.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <vector>

namespace kavel {
namespace {

int statusToCode(int status) { return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status); }

}  // namespace

ChildProcess::~ChildProcess() {
  if (running()) kill();
}

bool ChildProcess::start(const ToolChainCommand& command, std::string& error) {
  const int out = ::open(command.outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (out < 0) {
    error = "cannot create " + command.outputFile + ": " + std::strerror(errno);
    return false;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, out, 1);
  posix_spawn_file_actions_adddup2(&actions, out, 2);
  posix_spawn_file_actions_addchdir_np(&actions, command.workingFolder.c_str());

  // Its own process group, so that stopping the build stops the compilers the shell started;
  // default signal handling and an empty mask whatever the caller had.
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t none;
  sigset_t defaults;
  sigemptyset(&none);
  sigemptyset(&defaults);
  sigaddset(&defaults, SIGPIPE);
  sigaddset(&defaults, SIGINT);
  sigaddset(&defaults, SIGTERM);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  posix_spawnattr_setpgroup(&attributes, 0);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

  std::vector<char*> argv{const_cast<char*>(command.program.c_str())};
  for (const std::string& a : command.arguments) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  std::vector<char*> envp;
  for (const std::string& e : command.environment) envp.push_back(const_cast<char*>(e.c_str()));
  envp.push_back(nullptr);

  pid_t pid = -1;
  const int rc = ::posix_spawn(&pid, command.program.c_str(), &actions, &attributes, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  ::close(out);
  if (rc != 0) {
    error = "cannot start " + command.program + " in " + command.workingFolder + ": " + std::strerror(rc);
    return false;
  }
  pid_ = pid;
  exitCode_ = -1;
  return true;
}

bool ChildProcess::poll() {
  if (!running()) return true;
  int status = 0;
  const pid_t done = ::waitpid(pid_, &status, WNOHANG);
  if (done == 0 || (done < 0 && errno == EINTR)) return false;
  exitCode_ = done == pid_ ? statusToCode(status) : -1;
  pid_ = -1;
  return true;
}

void ChildProcess::kill() {
  if (!running()) return;
  ::kill(-pid_, SIGKILL);
  int status = 0;
  pid_t done;
  do {
    done = ::waitpid(pid_, &status, 0);
  } while (done < 0 && errno == EINTR);
  exitCode_ = done == pid_ ? statusToCode(status) : -1;
  pid_ = -1;
}

}  // namespace kavel
