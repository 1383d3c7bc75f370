#pragma once
// Starts build/bin/vboard for a test and stops it again; the board's terminal path is read
// from the first line it prints.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

extern char** environ;

namespace kavel::testing {

class VirtualBoardProcess {
 public:
  /// Starts vboard with `options`; its standard error goes to `logFile` when one is given.
  explicit VirtualBoardProcess(const std::vector<std::string>& options = {}, const std::string& logFile = {}) {
    int out[2];
    if (::pipe(out) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addopen(&actions, 2, logFile.empty() ? "/dev/null" : logFile.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<std::string> argv{KAVEL_BIN_DIR "/vboard"};
    argv.insert(argv.end(), options.begin(), options.end());
    std::vector<char*> args;
    for (auto& a : argv) args.push_back(a.data());
    args.push_back(nullptr);
    if (posix_spawn(&pid_, args[0], &actions, nullptr, args.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    char c = 0;
    pollfd p{out[0], POLLIN, 0};
    while (pid_ > 0 && ::poll(&p, 1, 5000) > 0 && ::read(out[0], &c, 1) == 1 && c != '\n') path_ += c;
    ::close(out[0]);
  }
  ~VirtualBoardProcess() { stop(); }
  VirtualBoardProcess(const VirtualBoardProcess&) = delete;
  VirtualBoardProcess& operator=(const VirtualBoardProcess&) = delete;

  /// What a board started with --verbose wrote to `logFile` so far.
  static std::string slurpLog(const std::string& logFile) {
    std::string text;
    if (FILE* f = std::fopen(logFile.c_str(), "rb")) {
      char buf[4096];
      for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;) text.append(buf, n);
      std::fclose(f);
    }
    return text;
  }

  /// The board's terminal ("/dev/pts/N"); empty when it did not start.
  const std::string& path() const { return path_; }

  void stop() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
  }

 private:
  pid_t pid_ = -1;
  std::string path_;
};

}  // namespace kavel::testing
