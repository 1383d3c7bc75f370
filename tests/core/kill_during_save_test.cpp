// A save killed at any moment leaves the old or the new complete file, never a mixture.

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <random>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "core/text/TextFile.h"
#include "helpers/SaveLoopProgram.h"
#include "TempFolder.h"

namespace fs = std::filesystem;
using kavel::testing::saveLoopBytes;

TEST(KillDuringSave, FileIsAlwaysTheOldOrTheNewCompleteFile) {
  const kavel::testing::TempFolder temp("kavel-kill");
  const fs::path dir = temp.path();
  const std::string file = (dir / "robot.Kvl").string();
  const std::string a = saveLoopBytes(0, file);
  const std::string b = saveLoopBytes(1, file);
  ASSERT_NE(a, b);
  ASSERT_TRUE(kavel::text::writeFileAtomic(file, a));

  // Kills land anywhere within the first few saves. One save is timed the way the helper saves
  // (the program text built and encoded, then written), since that, not the disk alone, sets
  // how long a save takes, above all in an instrumented build.
  kavel::Context timing;
  kavel::Program timed = kavel::testing::saveLoopProgram(0);
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < 5; ++i) {
    ASSERT_TRUE(kavel::writeProgramFile(timed, file, kavel::testing::saveLoopContext(timing)));
  }
  const auto perSave =
      std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start).count() / 5;
  ASSERT_TRUE(kavel::text::writeFileAtomic(file, a));
  std::mt19937 rng(20260710);
  std::uniform_int_distribution<long> delayUs(0, std::max<long>(4 * perSave, 200));
  int sawA = 0, sawB = 0;
  for (int round = 0; round < 200; ++round) {
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, ready[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, ready[0]);
    const char* argv[] = {SAVE_LOOP_HELPER, file.c_str(), nullptr};
    pid_t pid = 0;
    ASSERT_EQ(::posix_spawn(&pid, SAVE_LOOP_HELPER, &actions, nullptr, const_cast<char**>(argv), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    ::close(ready[1]);
    char line[8] = {};
    ASSERT_GT(::read(ready[0], line, sizeof line), 0) << "the helper did not start";
    ::close(ready[0]);
    std::this_thread::sleep_for(std::chrono::microseconds(delayUs(rng)));
    ::kill(pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the helper stopped by itself in round " << round;

    std::string bytes;
    ASSERT_TRUE(kavel::text::readFileBytes(file, bytes));
    ASSERT_TRUE(bytes == a || bytes == b) << "round " << round << ": a file of " << bytes.size() << " bytes";
    (bytes == a ? sawA : sawB)++;
  }
  EXPECT_GT(sawA, 0);
  EXPECT_GT(sawB, 0);

  // What the killed saves left behind goes with the next save.
  ASSERT_TRUE(kavel::text::writeFileAtomic(file, a));
  std::size_t files = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir)) ++files;
  EXPECT_EQ(files, 1u);
  fs::remove_all(dir);
}
