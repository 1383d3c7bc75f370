// The guarded reader and the atomic writer: no path may hang or exhaust a reader, and a save
// must reach the file the user means without losing its links, mode or contents.

#include <gtest/gtest.h>

#include <dirent.h>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "core/text/TextFile.h"
#include "TempFolder.h"

namespace fs = std::filesystem;
using namespace kavel::text;

namespace {

class FileSafetyTest : public ::testing::Test {
 protected:
  std::string path(const std::string& name) const { return (dir / name).string(); }
  std::string put(const std::string& name, const std::string& bytes) const {
    std::ofstream(path(name), std::ios::binary) << bytes;
    return path(name);
  }
  static std::string contents(const std::string& p) {
    std::string bytes;
    EXPECT_TRUE(readFileBytes(p, bytes)) << p;
    return bytes;
  }
  std::vector<std::string> entries() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  static bool runningAsRoot() { return ::geteuid() == 0; }

  kavel::testing::TempFolder temp_{"kavel-files"};
  fs::path dir = temp_.path();
};

TEST_F(FileSafetyTest, ReaderRefusesWhatIsNoFileWithoutWaiting) {
  ASSERT_EQ(::mkfifo(path("pipe.Kvl").c_str(), 0644), 0);
  fs::create_directory(path("folder.Kvl"));
  const std::string big = put("big.Kvl", "x");
  fs::resize_file(big, 2048);
  fs::create_symlink("pipe.Kvl", path("link-to-pipe.Kvl"));
  struct Case {
    std::string path;
    std::size_t limit;
    const char* reason;
  } cases[] = {
      {path("pipe.Kvl"), kMaxTextFileBytes, "pipe"},
      {path("link-to-pipe.Kvl"), kMaxTextFileBytes, "pipe"},
      {"/dev/zero", kMaxTextFileBytes, "device"},
      {path("folder.Kvl"), kMaxTextFileBytes, "folder"},
      {big, 1024, "larger than 1 KiB"},
      {path("none.Kvl"), kMaxTextFileBytes, "No such file"},
  };
  for (const Case& c : cases) {
    std::string bytes = "stale", error;
    EXPECT_FALSE(readFileBytes(c.path, bytes, &error, c.limit)) << c.path;
    EXPECT_TRUE(bytes.empty()) << c.path;
    EXPECT_NE(error.find(c.path), std::string::npos) << error;
    EXPECT_NE(error.find(c.reason), std::string::npos) << error;
  }
  EXPECT_EQ(contents(big).size(), 2048u) << "the same file within the limit reads";
}

TEST_F(FileSafetyTest, SavingThroughLinksUpdatesTheirTarget) {
  fs::create_directory(path("real"));
  const std::string target = put("real/prog.Kvl", "old");
  fs::create_symlink("real/prog.Kvl", path("relative.Kvl"));
  fs::create_symlink(path("relative.Kvl"), path("chain.Kvl"));
  fs::create_symlink("real/new.Kvl", path("dangling.Kvl"));

  ASSERT_TRUE(writeFileAtomic(path("chain.Kvl"), "new"));
  EXPECT_TRUE(fs::is_symlink(path("chain.Kvl")));
  EXPECT_TRUE(fs::is_symlink(path("relative.Kvl")));
  EXPECT_EQ(contents(target), "new");

  ASSERT_TRUE(writeFileAtomic(path("dangling.Kvl"), "made"));
  EXPECT_TRUE(fs::is_symlink(path("dangling.Kvl")));
  EXPECT_EQ(contents(path("real/new.Kvl")), "made");
}

TEST_F(FileSafetyTest, SavingKeepsModeHardLinksAndLeavesNoTemporaryFile) {
  const std::string file = put("prog.Kvl", "old");
  ::chmod(file.c_str(), 0640);
  ASSERT_EQ(::link(file.c_str(), path("other-name.Kvl").c_str()), 0);

  const mode_t mask = ::umask(022);
  ASSERT_TRUE(writeFileAtomic(file, "new"));
  EXPECT_EQ(::umask(mask), 022) << "the process umask is never changed";

  struct stat st {};
  ASSERT_EQ(::stat(file.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(st.st_nlink, 2u);
  EXPECT_EQ(contents(path("other-name.Kvl")), "new") << "the hard link sees the new content";

  fs::remove(path("other-name.Kvl"));
  ASSERT_TRUE(writeFileAtomic(file, "newer"));
  ASSERT_EQ(::stat(file.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(entries(), std::vector<std::string>{"prog.Kvl"});

  // A new file gets the usual mode: 0666 without the umask.
  const mode_t old = ::umask(027);
  ASSERT_TRUE(writeFileAtomic(path("fresh.Kvl"), "x"));
  ::umask(old);
  ASSERT_EQ(::stat(path("fresh.Kvl").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST_F(FileSafetyTest, LeftoversOfAKilledSaveAreRemovedByTheNextSave) {
  const std::string file = put("prog.Kvl", "old");
  const std::string prefix = temporaryPrefixFor(file);
  EXPECT_EQ(prefix.front(), '.') << "hidden, and no file filter matches it";
  EXPECT_LE(prefix.size(), 12u);
  put(prefix + "abc123.tmp", "half");
  put(temporaryPrefixFor(path("else.Kvl")) + "abc123.tmp", "someone else's");
  ASSERT_TRUE(writeFileAtomic(file, "new"));
  EXPECT_EQ(entries(), (std::vector<std::string>{temporaryPrefixFor(path("else.Kvl")) + "abc123.tmp", "prog.Kvl"}));
}

TEST_F(FileSafetyTest, AnotherProcessSavingTheSameFileIsNoLeftover) {
  // A temporary file that a running save holds stays; once let go, it is a leftover.
  const std::string file = put("prog.Kvl", "old");
  const std::string running = put(temporaryPrefixFor(file) + "run123.tmp", "half written");
  const int held = ::open(running.c_str(), O_RDONLY);
  ASSERT_GE(held, 0);
  ASSERT_EQ(::flock(held, LOCK_EX), 0);
  ASSERT_TRUE(writeFileAtomic(file, "new"));
  EXPECT_TRUE(fs::exists(running)) << "the other save's file was taken for a leftover";
  ::close(held);
  ASSERT_TRUE(writeFileAtomic(file, "newer"));
  EXPECT_EQ(entries(), std::vector<std::string>{"prog.Kvl"});

  // Two processes saving one file over and over: before, each removed the other's temporary
  // file as a leftover, and its save then failed.
  constexpr int kSaves = 300;
  pid_t children[2];
  for (int c = 0; c < 2; ++c) {
    children[c] = ::fork();
    ASSERT_GE(children[c], 0);
    if (children[c] == 0) {
      int failed = 0;
      for (int i = 0; i < kSaves; ++i) failed += writeFileAtomic(file, std::string(1000 + c, 'a' + c)) ? 0 : 1;
      ::_exit(failed > 0 ? 1 : 0);
    }
  }
  for (pid_t child : children) {
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a save failed while the other one ran";
  }
  const std::string last = contents(file);
  EXPECT_TRUE(last == std::string(1000, 'a') || last == std::string(1001, 'b'));
  EXPECT_EQ(entries(), std::vector<std::string>{"prog.Kvl"});
}

TEST_F(FileSafetyTest, FilesWrittenTogetherAreAllOrNone) {
  const std::string first = put("M_Type.h", "old header");
  const std::string second = path("User.c");
  std::string error;

  // The second cannot be written: a folder stands where it belongs.
  fs::create_directory(second);
  EXPECT_FALSE(writeFilesAtomic({{first, "new header"}, {second, "new source"}}, &error));
  EXPECT_NE(error.find(second), std::string::npos) << error;
  EXPECT_EQ(contents(first), "old header");
  EXPECT_EQ(entries(), (std::vector<std::string>{"M_Type.h", "User.c"})) << "no temporary file stays";
  fs::remove(second);

  // The disk fills up while the second is written (a file size limit stands in for it).
  rlimit old{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
  const auto oldHandler = ::signal(SIGXFSZ, SIG_IGN);
  rlimit small = old;
  small.rlim_cur = 4096;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool full = writeFilesAtomic({{first, "new header"}, {second, std::string(10000, 's')}}, &error);
  ::setrlimit(RLIMIT_FSIZE, &old);
  ::signal(SIGXFSZ, oldHandler);
  EXPECT_FALSE(full);
  EXPECT_EQ(contents(first), "old header");
  EXPECT_FALSE(fs::exists(second));
  EXPECT_EQ(entries(), std::vector<std::string>{"M_Type.h"});

  // Nothing in the way: both are written, each keeping its mode.
  ::chmod(first.c_str(), 0640);
  ASSERT_TRUE(writeFilesAtomic({{first, "new header"}, {second, "new source"}}, &error)) << error;
  EXPECT_EQ(contents(first), "new header");
  EXPECT_EQ(contents(second), "new source");
  struct stat st {};
  ASSERT_EQ(::stat(first.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(entries(), (std::vector<std::string>{"M_Type.h", "User.c"}));
}

TEST_F(FileSafetyTest, NamesNearTheLengthLimitSave) {
  const std::string name = std::string(250, 'n') + ".Kvl";
  ASSERT_TRUE(writeFileAtomic(path(name), "first"));
  ASSERT_TRUE(writeFileAtomic(path(name), "second"));
  EXPECT_EQ(contents(path(name)), "second");
}

TEST_F(FileSafetyTest, WritableFileInAReadOnlyFolderIsSavedInPlace) {
  if (runningAsRoot()) GTEST_SKIP() << "root may create files in any folder";
  const std::string file = put("kavelide.ini", "[PRJ]\r\nold=1\r\n");
  ::chmod(dir.c_str(), 0555);
  std::string error;
  EXPECT_TRUE(writeFileAtomic(file, "[PRJ]\r\nnew=1\r\n", &error)) << error;
  EXPECT_EQ(contents(file), "[PRJ]\r\nnew=1\r\n");
  EXPECT_FALSE(writeFileAtomic(path("new.Kvl"), "x", &error)) << "a new file cannot be made there";
  EXPECT_NE(error.find(path("new.Kvl")), std::string::npos) << error;
  ::chmod(dir.c_str(), 0755);
  EXPECT_EQ(entries(), std::vector<std::string>{"kavelide.ini"});
}

TEST_F(FileSafetyTest, TargetsThatAreNoFileAreRefusedUntouched) {
  ASSERT_EQ(::mkfifo(path("pipe.Kvl").c_str(), 0644), 0);
  fs::create_directory(path("folder.Kvl"));
  for (const char* name : {"pipe.Kvl", "folder.Kvl"}) {
    std::string error;
    EXPECT_FALSE(writeFileAtomic(path(name), "x", &error)) << name;
    EXPECT_NE(error.find(path(name)), std::string::npos) << error;
  }
  EXPECT_TRUE(fs::is_fifo(path("pipe.Kvl")));
  EXPECT_TRUE(fs::is_directory(path("folder.Kvl")));
}

}  // namespace
