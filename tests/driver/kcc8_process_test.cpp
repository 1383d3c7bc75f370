// kcc8 run as a real process. Each case gets a folder of its own holding a copy of kcc8, the
// stand-in compilers kcc8-extended and kcc8-traditional (which record what they were started
// with) and a resource file, so the rules "compiler from the folder of argv[0]" and "resource
// file beside the program itself" are exercised as they happen for real.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <functional>
#include <optional>
#include <thread>
#include <vector>

#include "DriverTestSupport.h"

extern char** environ;

using namespace kcc8test;

namespace {

struct Child {
  std::string compiler;           // file name of the stand-in that ran
  std::vector<std::string> args;  // its argv, argv[0] included
};

struct Outcome {
  int exitCode = -1;
  std::string out;
  std::string err;
  std::optional<Child> child;
};

struct RunOptions {
  std::string exe{};    // the program started; default: kcc8 in the program folder
  std::string argv0{};  // default: the same path
  std::string cwd{};    // default: the program folder
  std::string childExit = "0";
};

/// A program folder with kcc8, both stand-in compilers and the fixture resource file.
class ProgramFolder {
 public:
  ProgramFolder() {
    copyExecutable(KCC8_PATH, "kcc8");
    copyExecutable(KCC8_STANDIN_PATH, "kcc8-extended");
    copyExecutable(KCC8_STANDIN_PATH, "kcc8-traditional");
    writeFile(dir.path() / "8bit_device.info", withOffsets(crlf(readFile(KAVEL_TEST_DATA "/driver.info"))));
  }

  std::string operator/(const std::string& name) const { return dir / name; }
  const fs::path& path() const { return dir.path(); }

  void copyExecutable(const fs::path& from, const std::string& name) const {
    fs::create_directories((dir.path() / name).parent_path());
    fs::copy_file(from, dir.path() / name, fs::copy_options::overwrite_existing);
    fs::permissions(dir.path() / name, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
  }

  Outcome run(const std::vector<std::string>& args, RunOptions options = {}) const {
    if (options.exe.empty()) options.exe = dir / "kcc8";
    if (options.argv0.empty()) options.argv0 = options.exe;
    if (options.cwd.empty()) options.cwd = dir.path().string();

    std::vector<std::string> argvStrings{options.argv0};
    argvStrings.insert(argvStrings.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& a : argvStrings) argv.push_back(a.data());
    argv.push_back(nullptr);

    const std::string log = io / "child.log";
    std::vector<std::string> envStrings{"KCC8_STANDIN_LOG=" + log, "KCC8_STANDIN_EXIT=" + options.childExit};
    for (char** e = environ; *e; ++e) {
      if (std::strncmp(*e, "KCC8_STANDIN_", 13) != 0) envStrings.emplace_back(*e);
    }
    std::vector<char*> env;
    for (auto& e : envStrings) env.push_back(e.data());
    env.push_back(nullptr);

    fs::remove(log);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, (io / "out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, (io / "err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addchdir_np(&actions, options.cwd.c_str());
    pid_t pid = 0;
    const int rc = ::posix_spawn(&pid, options.exe.c_str(), &actions, nullptr, argv.data(), env.data());
    posix_spawn_file_actions_destroy(&actions);
    Outcome outcome;
    if (rc != 0) {
      ADD_FAILURE() << "cannot start " << options.exe << ": " << std::strerror(rc);
      return outcome;
    }
    outcome.exitCode = waitBounded(pid);
    outcome.out = readFile(io / "out");
    outcome.err = readFile(io / "err");
    if (fs::exists(log)) outcome.child = parseLog(readFile(log));
    return outcome;
  }

 private:
  static int waitBounded(pid_t pid) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    int status = 0;
    while (::waitpid(pid, &status, WNOHANG) == 0) {
      if (std::chrono::steady_clock::now() > deadline) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, &status, 0);
        ADD_FAILURE() << "kcc8 did not end";
        return -1;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  static Child parseLog(const std::string& log) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t nul = log.find('\0'); nul != std::string::npos; nul = log.find('\0', start)) {
      parts.push_back(log.substr(start, nul - start));
      start = nul + 1;
    }
    Child child;
    if (parts.size() < 2) return child;
    child.compiler = parts[0];
    child.args.assign(parts.begin() + 2, parts.end());
    EXPECT_EQ(std::to_string(child.args.size()), parts[1]);
    return child;
  }

  TempDir dir;
  TempDir io;  // output captures, kept out of the program folder
};

const std::string kConflict = "Cannot specify both the --extended and --no-extended command-line options\n";
const std::string kOnce = "The -p option may only be specified once\n";
const std::string kNotSupported = "Part not supported or error in resource file\n";

}  // namespace

TEST(Kcc8, OptionWalkAndDispatch) {
  struct Case {
    std::vector<std::string> args;
    int exitCode;
    const char* compiler;  // nullptr: no compiler may be started
    std::string err;
  } cases[] = {
      {{}, 0, "kcc8-traditional", ""},
      {{"--no-extended"}, 0, "kcc8-traditional", ""},
      {{"--extended", "--extended"}, 0, "kcc8-extended", ""},
      {{"--no-extended", "--extended"}, 1, nullptr, kConflict},
      {{"--extended", "--no-extended"}, 1, nullptr, kConflict},
      {{"--extended", "--no-extended", "--extended", "--no-extended"}, 1, nullptr, kConflict + kConflict},
      {{"-p", " 18f2620 ", "--extended", "main.c"}, 0, "kcc8-extended", ""},
      {{"-p18F2620", "main.c"}, 0, "kcc8-traditional", ""},
      {{"-p", "18F452"}, 0, "kcc8-traditional", ""},  // family "18XXXX": compared without case
      {{"--extended", "-p", "18f452"}, 2, nullptr, "Device '18F452' does not support extended mode\n"},
      {{"-p", "18F2620", "-p", "18F2620"}, 1, nullptr, kOnce},
      {{"-p", "18F2620", "-p", "18F452", "-p", "18F2620"}, 1, nullptr, kOnce},
      {{"--extended", "-p", "16F877A"}, 1, nullptr, "Processor family '16xxxx' is not supported by the Compiler\n"},
      // The family ends the run at once, the conflict after the walk: whichever comes first.
      {{"-p", "16F877A", "--no-extended", "--extended"}, 1, nullptr,
       "Processor family '16xxxx' is not supported by the Compiler\n"},
      {{"--no-extended", "--extended", "-p", "16F877A"}, 1, nullptr,
       kConflict + "Processor family '16xxxx' is not supported by the Compiler\n"},
      {{"-p", "PIC99"}, 1, nullptr, kNotSupported},
      {{"-p", "  "}, 1, nullptr, kNotSupported},
      {{"--help", "--usage", "-?", "-x", "--unknown=3", "file.c"}, 0, "kcc8-traditional", ""},
      // A trailing -p without a processor would build for none at all.
      {{"file.c", "-p"}, 1, nullptr, "Option -p needs a processor name (for example -p 18F2620)\n"},
      {{"--extended", "-p"}, 1, nullptr, "Option -p needs a processor name (for example -p 18F2620)\n"},
      {{"-pa", "7", "-pa=3", "--pa", "x", "main.c"}, 0, "kcc8-traditional", ""},
      {{"--", "-p", "NOPE", "--extended"}, 0, "kcc8-traditional", ""},  // no options after "--"
      {{"with space", "quote\"inside", "ends in \\", "", "\"already quoted\""}, 0, "kcc8-traditional", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.args));
    ProgramFolder folder;
    const Outcome outcome = folder.run(c.args);
    EXPECT_EQ(outcome.exitCode, c.exitCode);
    EXPECT_EQ(outcome.err, c.err);
    EXPECT_EQ(outcome.out, "");
    if (c.compiler == nullptr) {
      EXPECT_FALSE(outcome.child) << "started " << outcome.child->compiler;
      continue;
    }
    ASSERT_TRUE(outcome.child);
    EXPECT_EQ(outcome.child->compiler, c.compiler);
    std::vector<std::string> forwarded{folder / "kcc8"};
    forwarded.insert(forwarded.end(), c.args.begin(), c.args.end());
    EXPECT_EQ(outcome.child->args, forwarded) << "every argument reaches the compiler as it came";
  }
}

TEST(Kcc8, ExitCodeFollowsTheCompiler) {
  const std::pair<const char*, int> cases[] = {{"0", 0}, {"1", 3}, {"3", 3}, {"255", 3}, {"signal", 3}};
  for (auto [childExit, expected] : cases) {
    ProgramFolder folder;
    const Outcome outcome = folder.run({"main.c"}, {.childExit = childExit});
    EXPECT_EQ(outcome.exitCode, expected) << "compiler ended with " << childExit;
    EXPECT_TRUE(outcome.child);
    // A compiler that crashed writes nothing itself: before, the build output then said nothing.
    EXPECT_EQ(outcome.err, std::string(childExit) == "signal"
                               ? "Error: " + (folder / "kcc8-traditional") + " was ended by signal 9 (Killed) before it finished.\n"
                               : std::string());
  }
}

TEST(Kcc8, ExtendedWithoutProcessorNeverOpensTheResourceFile) {
  ProgramFolder folder;
  fs::remove(folder.path() / "8bit_device.info");
  const Outcome outcome = folder.run({"--extended"});
  EXPECT_EQ(outcome.exitCode, 0);
  ASSERT_TRUE(outcome.child);
  EXPECT_EQ(outcome.child->compiler, "kcc8-extended");
}

TEST(Kcc8, MissingOrBrokenResourceFile) {
  ProgramFolder folder;
  fs::remove(folder.path() / "8bit_device.info");
  Outcome outcome = folder.run({"-p", "18F2620"});
  EXPECT_EQ(outcome.exitCode, 1);
  EXPECT_EQ(outcome.out, "\nError: File not found - " + (folder / "8bit_device.info") + "\n");
  EXPECT_EQ(outcome.err, "");
  EXPECT_FALSE(outcome.child);

  writeFile(folder.path() / "8bit_device.info", "<RES_FILE_VERSION_INFO_TYPE>\r\n<PART_INFO_TYPE><1>\r\n");
  outcome = folder.run({"-p", "18F2620"});
  EXPECT_EQ(outcome.exitCode, 1);
  EXPECT_EQ(outcome.err, kNotSupported);
  EXPECT_FALSE(outcome.child);
}

TEST(Kcc8, ResourceFileThatDoesNotOpenSaysWhy) {
  // Before, every failure to open read "File not found", also for a file that is there.
  ProgramFolder folder;
  const std::string file = folder / "8bit_device.info";
  fs::remove(file);
  fs::create_symlink("8bit_device.info", file);  // a link to itself: it never opens
  const Outcome outcome = folder.run({"-p", "18F2620"});
  EXPECT_EQ(outcome.exitCode, 1);
  EXPECT_EQ(outcome.out, "\nError: Cannot open the resource file - " + file + ": Too many levels of symbolic links\n");
  EXPECT_FALSE(outcome.child);
}

TEST(Kcc8, ResourceFileThatIsAPipeIsRefusedWithoutWaiting) {
  ProgramFolder folder;
  fs::remove(folder.path() / "8bit_device.info");
  ASSERT_EQ(::mkfifo((folder / "8bit_device.info").c_str(), 0644), 0);
  const Outcome outcome = folder.run({"-p", "18F2620"});
  EXPECT_EQ(outcome.exitCode, 1);
  EXPECT_EQ(outcome.out, "\nError: Not a regular file - " + (folder / "8bit_device.info") + "\n");
  EXPECT_FALSE(outcome.child);
}

TEST(Kcc8, CompilerComesFromTheFolderOfTheInvocationName) {
  ProgramFolder folder;
  // A bare name: the compiler is looked for in the current folder.
  Outcome outcome = folder.run({"-p", "18F2620"}, {.argv0 = "kcc8"});
  ASSERT_TRUE(outcome.child);
  EXPECT_EQ(outcome.child->args, (std::vector<std::string>{"kcc8", "-p", "18F2620"}));
  EXPECT_EQ(outcome.exitCode, 0);

  // The same bare name from a folder without compilers: the path tried is shown.
  TempDir elsewhere;
  outcome = folder.run({}, {.argv0 = "kcc8", .cwd = elsewhere.path().string()});
  EXPECT_EQ(outcome.exitCode, 3);
  EXPECT_EQ(outcome.err, "Error executing ./kcc8-traditional.  File or path is not found\n");

  // A relative name, and one that separates its folder with a backslash.
  folder.copyExecutable(KCC8_STANDIN_PATH, "sub/kcc8-extended");
  outcome = folder.run({"--extended"}, {.argv0 = "sub/kcc8"});
  ASSERT_TRUE(outcome.child);
  EXPECT_EQ(outcome.exitCode, 0);
  fs::remove(folder.path() / "sub/kcc8-extended");
  outcome = folder.run({"--extended"}, {.argv0 = "sub/kcc8"});
  EXPECT_EQ(outcome.err, "Error executing sub/kcc8-extended.  File or path is not found\n");

  folder.copyExecutable(KCC8_STANDIN_PATH, "win\\dir/kcc8-traditional");
  outcome = folder.run({}, {.argv0 = "win\\dir\\kcc8"});
  ASSERT_TRUE(outcome.child) << outcome.err;
  EXPECT_EQ(outcome.exitCode, 0);
}

TEST(Kcc8, ResourceBesideTheProgramCompilerBesideTheLink) {
  // Started through a link in another folder: /proc/self/exe names the real program, whose
  // folder holds the resource file; argv[0] names the link, whose folder holds the compilers.
  ProgramFolder real;
  fs::remove(real.path() / "kcc8-extended");
  fs::remove(real.path() / "kcc8-traditional");
  ProgramFolder linked;
  fs::remove(linked.path() / "kcc8");
  fs::remove(linked.path() / "8bit_device.info");
  fs::create_symlink(real / "kcc8", linked.path() / "kcc8");

  const Outcome outcome = linked.run({"-p", "18f2620", "--extended"});
  EXPECT_EQ(outcome.exitCode, 0) << outcome.out << outcome.err;
  ASSERT_TRUE(outcome.child);
  EXPECT_EQ(outcome.child->compiler, "kcc8-extended");
}

TEST(Kcc8, LongFolderNamesWork) {
  ProgramFolder outer;
  std::string deep;
  for (int i = 0; i < 5; ++i) deep += std::string(90, static_cast<char>('a' + i)) + "/";
  for (const char* name : {"kcc8", "kcc8-extended", "kcc8-traditional", "8bit_device.info"}) {
    fs::create_directories(outer.path() / deep);
    fs::copy_file(outer.path() / name, outer.path() / deep / name);
  }
  const std::string exe = (outer.path() / deep / "kcc8").string();
  ASSERT_GT(exe.size(), 450u);
  const Outcome outcome = outer.run({"-p", "18F2620", "--extended"}, {.exe = exe});
  EXPECT_EQ(outcome.exitCode, 0) << outcome.out << outcome.err;
  ASSERT_TRUE(outcome.child);
  EXPECT_EQ(outcome.child->args.front(), exe);
}

TEST(Kcc8, CompilerThatCannotBeStarted) {
  struct Case {
    const char* what;
    std::function<void(const ProgramFolder&)> spoil;
    const char* reason;
  } cases[] = {
      {"missing", [](const ProgramFolder& f) { fs::remove(f.path() / "kcc8-traditional"); },
       "File or path is not found"},
      {"not marked executable",
       [](const ProgramFolder& f) { fs::permissions(f.path() / "kcc8-traditional", fs::perms::owner_read | fs::perms::owner_write); },
       "Specified file is not executable or has invalid executable-file format"},
      {"not a program", [](const ProgramFolder& f) {
         writeFile(f.path() / "kcc8-traditional", std::string("\x7f\x01garbage", 9));
         fs::permissions(f.path() / "kcc8-traditional", fs::perms::owner_all);
       },
       "Specified file is not executable or has invalid executable-file format"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ProgramFolder folder;
    c.spoil(folder);
    const Outcome outcome = folder.run({"main.c"});
    EXPECT_EQ(outcome.exitCode, 3);
    EXPECT_EQ(outcome.err, "Error executing " + (folder / "kcc8-traditional") + ".  " + c.reason + "\n");
    EXPECT_FALSE(outcome.child);
  }
}

TEST(Kcc8, ShippedResourceFileBesideTheBuiltProgram) {
  // The built program in its own folder reads the shipped file; the compilers come from the
  // folder named by argv[0].
  ProgramFolder compilers;
  const RunOptions options{.exe = KAVEL_BIN_DIR "/kcc8", .argv0 = compilers / "kcc8"};
  struct Case {
    std::vector<std::string> args;
    int exitCode;
    const char* compiler;
    std::string err;
  } cases[] = {
      {{"-p", "18f2620", "--extended"}, 0, "kcc8-extended", ""},
      {{"-p", "18F2520", "--extended"}, 0, "kcc8-extended", ""},
      {{"-p", "18F452", "--extended"}, 2, nullptr, "Device '18F452' does not support extended mode\n"},
      {{"-p", "16F877A"}, 1, nullptr, "Processor family '16xxxx' is not supported by the Compiler\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.args));
    const Outcome outcome = compilers.run(c.args, options);
    EXPECT_EQ(outcome.exitCode, c.exitCode);
    EXPECT_EQ(outcome.err, c.err);
    EXPECT_EQ(outcome.child.has_value(), c.compiler != nullptr);
    if (outcome.child && c.compiler) {
      EXPECT_EQ(outcome.child->compiler, c.compiler);
    }
  }
}
