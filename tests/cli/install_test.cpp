// An installed copy: `cmake --install` into a temporary prefix made read-only, run by a user
// whose HOME and XDG folders are temporary. Nothing may be written into the prefix; settings,
// programs and the build land in the user's folders; the desktop entry and manual pages pass
// their checkers.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <map>
#include <spawn.h>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "RunProcess.h"

using kavel::testing::slurp;
namespace fs = std::filesystem;

namespace {

struct Finished {
  int exitCode = -1;
  std::string out, err;
};

// Starts argv with exactly the environment `env`, output into files under `logs`.
pid_t start(const std::vector<std::string>& argv, const std::vector<std::string>& env, const fs::path& logs) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, (logs / "out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, (logs / "err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  std::vector<char*> args, envp;
  for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  for (const auto& e : env) envp.push_back(const_cast<char*>(e.c_str()));
  envp.push_back(nullptr);
  pid_t pid = -1;
  if (posix_spawn(&pid, args[0], &actions, nullptr, args.data(), envp.data()) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

// Waits up to `limit` for the process; kills it past that.
int finish(pid_t pid, std::chrono::seconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  int status = 0;
  while (::waitpid(pid, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > end) {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, &status, 0);
      return -2;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// The sanitizer settings of the test run reach the programs under test, as every other test's do.
std::vector<std::string> withSanitizerOptions(std::vector<std::string> env) {
  for (const char* name : {"ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS"}) {
    if (const char* v = std::getenv(name)) env.push_back(std::string(name) + "=" + v);
  }
  return env;
}

Finished run(const std::vector<std::string>& argv, const std::vector<std::string>& env, const fs::path& logs) {
  Finished r;
  const pid_t pid = start(argv, withSanitizerOptions(env), logs);
  if (pid < 0) return r;
  r.exitCode = finish(pid, std::chrono::seconds(240));
  r.out = slurp((logs / "out").string());
  r.err = slurp((logs / "err").string());
  return r;
}

Finished shell(const std::string& command, const fs::path& logs) {
  return run({"/bin/sh", "-c", command}, {"PATH=/usr/bin:/bin", "LANG=C.UTF-8"}, logs);
}

// Whether the process has a handler for `sig` (it is ready to be closed the gentle way).
bool catches(pid_t pid, int sig) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("SigCgt:", 0) == 0) return (std::stoull(line.substr(7), nullptr, 16) >> (sig - 1)) & 1;
  }
  return false;
}

// Every path below `root` with its size and modification time, to show nothing changed.
std::map<std::string, std::string> snapshot(const fs::path& root) {
  std::map<std::string, std::string> files;
  for (const auto& e : fs::recursive_directory_iterator(root)) {
    struct stat st {};
    ::lstat(e.path().c_str(), &st);
    files[e.path().string()] = std::to_string(st.st_size) + "@" + std::to_string(st.st_mtim.tv_sec) + "." +
                               std::to_string(st.st_mtim.tv_nsec);
  }
  return files;
}

mode_t modeOf(const fs::path& p) {
  struct stat st {};
  ::stat(p.c_str(), &st);
  return st.st_mode & 07777;
}

class Installed : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    std::string tmpl = (fs::temp_directory_path() / "kavel-install-XXXXXX").string();
    ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
    dir_ = tmpl;
    fs::create_directories(dir_ / "logs");
    const Finished r = run({KAVEL_CMAKE_COMMAND, "--install", KAVEL_BUILD_DIR, "--prefix", (dir_ / "prefix").string()},
                      {"PATH=/usr/bin:/bin"}, dir_ / "logs");
    installed_ = r.exitCode == 0;
    ASSERT_TRUE(installed_) << r.out << r.err;
    // Read-only as a technician's installation is; root could still write, which the
    // snapshot comparisons catch.
    for (const auto& e : fs::recursive_directory_iterator(dir_ / "prefix")) {
      if (!e.is_symlink()) fs::permissions(e.path(), fs::perms::all & ~fs::perms::owner_write & ~fs::perms::group_write & ~fs::perms::others_write & fs::status(e.path()).permissions());
    }
    fs::permissions(dir_ / "prefix", fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
  }
  static void TearDownTestSuite() {
    std::error_code ec;
    for (const auto& e : fs::recursive_directory_iterator(dir_, ec)) {
      if (!e.is_symlink()) fs::permissions(e.path(), fs::perms::owner_all, fs::perm_options::add, ec);
    }
    if (!::testing::Test::HasFailure()) fs::remove_all(dir_, ec);
  }

  void SetUp() override {
    ASSERT_TRUE(installed_);
    user_ = dir_ / ::testing::UnitTest::GetInstance()->current_test_info()->name();
    for (const char* d : {"home", "config", "data", "programs", "logs"}) fs::create_directories(user_ / d);
  }

  fs::path prefix(const std::string& rel) const { return dir_ / "prefix" / rel; }
  std::vector<std::string> userEnv() const {
    return {"HOME=" + (user_ / "home").string(), "XDG_CONFIG_HOME=" + (user_ / "config").string(),
            "XDG_DATA_HOME=" + (user_ / "data").string(), "PATH=/usr/bin:/bin", "LANG=C.UTF-8"};
  }

  static inline fs::path dir_;
  static inline bool installed_ = false;
  fs::path user_;
};

}  // namespace

TEST_F(Installed, FilesLandWhereADesktopLooksForThem) {
  std::vector<std::string> expected = {
      "bin/kavel", "bin/kcc8", "bin/vboard",
      "share/kavel/English.Txt", "share/kavel/Japanese.Txt", "share/kavel/C-CodeLib.Txt", "share/kavel/chimes.wav",
      "share/kavel/8bit_device.info", "share/kavel/WL-Core.jpg", "share/kavel/glyphs/motor_forward.svg",
      "share/kavel/Build/Build_V190617/BuildPath.Bat", "share/kavel/Build/Build_V190617/cl2620.Bat",
      "share/kavel/Build/Build_V190617/M_Main.h", "lib/kavel/Build_V190617/bin/kcc8",
      "lib/kavel/Build_V190617/bin/kcc8-traditional", "lib/kavel/Build_V190617/bin/kcc8-extended",
      "lib/kavel/Build_V190617/bin/8bit_device.info",
      "share/applications/kavelide.desktop", "share/mime/packages/kavel-program.xml",
      "share/metainfo/org.example.kavel.metainfo.xml", "share/doc/kavel/index.html",
      "share/doc/kavel/statements/motor.html", "share/doc/kavel/pictures/speed_en.png",
      "share/doc/kavel/glyphs/motor_forward.svg", "share/doc/kavel/copyright", "share/doc/kavel/changelog.gz", "share/doc-base/kavel-manual",
      "share/kavel/examples/index.ini", "share/kavel/examples/MotorsAndWaits.Kvl",
      "share/icons/hicolor/scalable/apps/kavelide.svg",
      "share/icons/hicolor/scalable/mimetypes/application-x-kavel-program.svg",
      "share/man/man1/kavelide.1.gz", "share/man/man1/kavel.1.gz", "share/man/man1/kcc8.1.gz",
      "share/man/man1/vboard.1.gz",
      "libexec/kavel/kavel-simhost", "share/kavel/Sim/M_Main.h", "share/kavel/Sim/SimFaults.c",
      "share/kavel/worlds/line_track.json", "share/kavel/samples/LineFollow.Kvl"};
  if (KAVEL_HAS_GUI) {
    expected.insert(expected.end(), {"bin/kavelide", "share/icons/hicolor/48x48/apps/kavelide.png",
                                     "share/icons/hicolor/48x48/mimetypes/application-x-kavel-program.png"});
  }
  for (const std::string& rel : expected) EXPECT_TRUE(fs::exists(prefix(rel))) << rel;
  EXPECT_FALSE(fs::exists(prefix("share/kavel/CMakeLists.txt"))) << "build scripts are not data";
  EXPECT_FALSE(fs::exists(prefix("share/doc/kavel/CMakeLists.txt")));

  // Programs belong under bin/, lib/ or libexec/, never under share/ (the distribution's checks
  // refuse a package that puts them there).
  for (const auto& e : fs::recursive_directory_iterator(prefix("share"))) {
    if (!e.is_regular_file()) continue;
    EXPECT_EQ(modeOf(e.path()) & 0111, 0u) << e.path() << " is executable";
    EXPECT_NE(slurp(e.path().string()).rfind("\x7f" "ELF", 0), 0u) << e.path() << " is a program";
  }
  // The sample folder's batch file names the tool chain where the installation keeps it.
  const std::string bat = slurp(prefix("share/kavel/Build/Build_V190617/BuildPath.Bat").string());
  EXPECT_EQ(bat.rfind("PATH=" + fs::absolute(prefix("lib/kavel/Build_V190617/bin")).string() + ":\n", 0), 0u) << bat;
}

TEST_F(Installed, DesktopEntryAndManualPagesPassTheirCheckers) {
  const fs::path logs = user_ / "logs";
  const Finished desktop = shell("desktop-file-validate '" + prefix("share/applications/kavelide.desktop").string() + "'", logs);
  EXPECT_EQ(desktop.exitCode, 0) << "desktop-file-validate (package desktop-file-utils, scripts/setup installs it): "
                                 << desktop.out << desktop.err;
  EXPECT_EQ(desktop.out + desktop.err, "") << "not even a hint";

  const Finished mime = shell("mkdir -p '" + (user_ / "mime/packages").string() + "' && cp '" +
                             prefix("share/mime/packages/kavel-program.xml").string() + "' '" +
                             (user_ / "mime/packages").string() + "' && update-mime-database '" +
                             (user_ / "mime").string() + "' && grep -h kavel '" + (user_ / "mime/globs2").string() + "'",
                         logs);
  EXPECT_EQ(mime.exitCode, 0) << mime.out << mime.err;
  EXPECT_NE(mime.out.find("application/x-kavel-program:*.kvl"), std::string::npos) << mime.out;

  for (const char* page : {"kavelide", "kavel", "kcc8", "vboard"}) {
    const std::string file = prefix(std::string("share/man/man1/") + page + ".1.gz").string();
    const Finished man = shell("MANWIDTH=80 man --warnings -l '" + file + "' > /dev/null", logs);
    EXPECT_EQ(man.exitCode, 0) << page << ": " << man.err;
    EXPECT_EQ(man.err, "") << page;
    const Finished groff = shell("zcat '" + file + "' | groff -man -ww -z", logs);
    EXPECT_EQ(groff.exitCode, 0) << page << ": " << groff.err;
    EXPECT_EQ(groff.err, "") << page;
    const Finished text = shell("MANWIDTH=80 man -l '" + file + "'", logs);
    EXPECT_NE(text.out.find("EXIT STATUS"), std::string::npos) << page;
  }
}

TEST_F(Installed, ConsoleBuildsInTheUsersCopyOfTheSampleFolder) {
  const auto before = snapshot(dir_ / "prefix");
  for (const char* name : {"every.Kvl", "Tick.Kvl", "Turn.Kvl"}) {
    fs::copy_file(std::string(KAVEL_TEST_DATA) + "/build/" + name, user_ / "programs" / name);
  }
  const Finished r = run({prefix("bin/kavel").string(), "build", (user_ / "programs/every.Kvl").string()}, userEnv(),
                    user_ / "logs");
  EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
  EXPECT_EQ(r.err, "");
  const fs::path copy = user_ / "data/kavel/Build/Build_V190617";
  EXPECT_TRUE(fs::exists(copy / "User.Hex"));
  EXPECT_TRUE(fs::exists(copy / "err.txt"));
  EXPECT_EQ(slurp((user_ / "programs/every.Hex").string()), slurp((copy / "User.Hex").string()));
  EXPECT_EQ(modeOf(user_ / "data/kavel"), 0700u);

  // The installed driver finds its device file in share/kavel: the processor check passes and
  // only the compiler, which an installation does not put beside it, is missing.
  const Finished kcc8 = run({prefix("bin/kcc8").string(), "-p18F2620", "User.c"}, userEnv(), user_ / "logs");
  EXPECT_EQ(kcc8.exitCode, 3) << kcc8.out << kcc8.err;
  EXPECT_NE(kcc8.err.find("kcc8-traditional"), std::string::npos) << kcc8.err;

  EXPECT_EQ(snapshot(dir_ / "prefix"), before) << "nothing is written into the installation";
  EXPECT_FALSE(fs::exists(user_ / "config/kavel")) << "kavel writes no settings";
}

TEST_F(Installed, ConsoleSimulatesASampleOnASampleWorld) {
  const auto before = snapshot(dir_ / "prefix");
  const Finished r = run({prefix("bin/kavel").string(), "simulate", prefix("share/kavel/samples/LineFollow.Kvl").string(),
                          "--world", prefix("share/kavel/worlds/line_track.json").string(), "--seconds", "5", "--trace",
                          (user_ / "programs/trace.csv").string()},
                         userEnv(), user_ / "logs");
  EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
  EXPECT_NE(r.err.find("the run ended at 5.00 s"), std::string::npos) << r.err;
  EXPECT_NE(slurp((user_ / "programs/trace.csv").string()).find("\n5000,"), std::string::npos);
  EXPECT_EQ(snapshot(dir_ / "prefix"), before) << "nothing is written into the installation";
}

TEST_F(Installed, ConsoleWithoutHomeWarnsAndWritesNothing) {
  const auto before = snapshot(dir_ / "prefix");
  fs::copy_file(std::string(KAVEL_TEST_DATA) + "/build/Tick.Kvl", user_ / "programs/Tick.Kvl");
  const Finished rows = run({prefix("bin/kavel").string(), "rows", (user_ / "programs/Tick.Kvl").string(), "--sub", "1"},
                       {"PATH=/usr/bin:/bin"}, user_ / "logs");
  EXPECT_EQ(rows.exitCode, 0) << rows.err;
  EXPECT_NE(rows.err.find("HOME is not set"), std::string::npos) << rows.err;
  EXPECT_FALSE(rows.out.empty());

  const Finished build = run({prefix("bin/kavel").string(), "build", (user_ / "programs/Tick.Kvl").string()},
                        {"PATH=/usr/bin:/bin"}, user_ / "logs");
  EXPECT_EQ(build.exitCode, 2) << build.out << build.err;
  EXPECT_NE(build.err.find("Build Path"), std::string::npos) << build.err;
  EXPECT_EQ(snapshot(dir_ / "prefix"), before) << "not even root writes into the installation";
}

TEST_F(Installed, ProgramStartsOffscreenAndKeepsItsSettingsPerUser) {
  if (!KAVEL_HAS_GUI) GTEST_SKIP() << "built without kavelide";
  const auto before = snapshot(dir_ / "prefix");
  // The language is chosen, so the first-run question does not wait for an answer.
  fs::create_directories(user_ / "config/kavel");
  std::ofstream(user_ / "config/kavel/kavelide.ini") << "[LANGUAGE]\r\nLANG_NO_=1\r\n";
  std::vector<std::string> env = userEnv();
  env.push_back("QT_QPA_PLATFORM=offscreen");
  const pid_t pid = start({prefix("bin/kavelide").string()}, withSanitizerOptions(env), user_ / "logs");
  ASSERT_GT(pid, 0);
  // Ready when it closes the gentle way on SIGTERM (saving its settings).
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(120);
  while (!catches(pid, SIGTERM) && std::chrono::steady_clock::now() < end && ::waitpid(pid, nullptr, WNOHANG) == 0) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  ASSERT_TRUE(catches(pid, SIGTERM)) << slurp((user_ / "logs/err").string());
  ::kill(pid, SIGTERM);
  EXPECT_EQ(finish(pid, std::chrono::seconds(60)), 0) << slurp((user_ / "logs/err").string());

  const std::string ini = slurp((user_ / "config/kavel/kavelide.ini").string());
  EXPECT_NE(ini.find("[COMPORT]"), std::string::npos) << "settings saved on close: " << ini;
  EXPECT_NE(ini.find("BatFile_=" + (user_ / "data/kavel/Build/Build_V190617/BuildPath.Bat").string()),
            std::string::npos)
      << ini;
  EXPECT_NE(ini.find("DatPath_=" + (user_ / "home/Kavel/User_WL/").string()), std::string::npos) << ini;
  EXPECT_NE(ini.find("LANG_1__=" + prefix("share/kavel/English.Txt").string()), std::string::npos) << ini;
  EXPECT_EQ(modeOf(user_ / "home/Kavel"), 0700u);
  EXPECT_TRUE(fs::is_directory(user_ / "home/Kavel/User_WL"));
  EXPECT_EQ(snapshot(dir_ / "prefix"), before) << "nothing is written into the installation";
}
