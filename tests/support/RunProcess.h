#pragma once
// Runs a program as a real process for the console-tool tests and collects what it printed.

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "TempFolder.h"

extern char** environ;

namespace kavel::testing {

struct ProcessResult {
  int exitCode = -1;
  std::string out;
  std::string err;
};

inline std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

/// Runs argv[0] with the arguments, stdin from /dev/null, stdout and stderr into files.
inline ProcessResult runProcess(const std::vector<std::string>& argv, const std::string& workDir = {}) {
  static TempFolder outputs("kavel-proc");
  static int counter = 0;
  const std::string base = outputs / std::to_string(counter++);
  const std::string outPath = base + ".out", errPath = base + ".err";
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (!workDir.empty()) posix_spawn_file_actions_addchdir_np(&actions, workDir.c_str());
  std::vector<char*> args;
  for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  ProcessResult result;
  pid_t pid = 0;
  if (posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ) == 0) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }
  posix_spawn_file_actions_destroy(&actions);
  result.out = slurp(outPath);
  result.err = slurp(errPath);
  ::unlink(outPath.c_str());
  ::unlink(errPath.c_str());
  return result;
}

}  // namespace kavel::testing
