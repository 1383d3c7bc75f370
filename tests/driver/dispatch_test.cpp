// The pieces the driver builds its compiler start from: the folder of a path, the compiler's
// path, the reason texts of a failed start, trimming, and the option walk's bookkeeping.

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "DriverTestSupport.h"
#include "driver/cmdline.h"
#include "driver/dispatch.h"

using namespace kcc8;

TEST(Pathdir, FolderPartOfAPath) {
  struct Case {
    const char* path;
    const char* folder;
    size_t needed;  // with terminator
  } cases[] = {
      {"/usr/local/bin/kcc8", "/usr/local/bin/", 16},
      {"build/kcc8", "build/", 7},
      {"kcc8", "./", 3},
      {"", "./", 3},
      {"/kcc8", "/", 2},
      {"a//kcc8", "a/", 4},  // room for a '/' that turns out to be there already
      {"tools\\bin\\kcc8", "tools\\bin/", 11},  // a backslash separates when there is no '/'
      {"a/b\\kcc8", "a/", 3},                      // the last '/' wins over a later backslash
      {"dir/", "dir/", 5},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(pathdir(nullptr, c.path, 0), c.needed);
    std::vector<char> dest(c.needed, '#');
    EXPECT_EQ(pathdir(dest.data(), c.path, dest.size()), std::strlen(c.folder));
    EXPECT_STREQ(dest.data(), c.folder);
  }
}

TEST(Pathdir, TooSmallAnswersTheSizeAndWritesNothing) {
  char dest[8] = "keep";
  EXPECT_EQ(pathdir(dest, "abc/kcc8", 4), 5u);
  EXPECT_STREQ(dest, "keep");
  EXPECT_EQ(pathdir(dest, "abc/kcc8", 5), 4u);
  EXPECT_STREQ(dest, "abc/");
  char small[3] = "xy";
  EXPECT_EQ(pathdir(small, "kcc8", 2), 3u);
  EXPECT_STREQ(small, "xy");
}

TEST(CompilerPath, FolderOfTheInvocationNameAndTheExecutable) {
  EXPECT_EQ(get_compiler_command_line("/opt/tc/kcc8", "kcc8-traditional"), "/opt/tc/kcc8-traditional");
  EXPECT_EQ(get_compiler_command_line("kcc8", "kcc8-extended"), "./kcc8-extended");
  const std::string deep = "/" + std::string(300, 'd') + "/" + std::string(300, 'e') + "/kcc8";
  EXPECT_EQ(get_compiler_command_line(deep.c_str(), "kcc8-extended"),
            "/" + std::string(300, 'd') + "/" + std::string(300, 'e') + "/kcc8-extended");
}

TEST(CompilerStart, ReasonTextsByErrno) {
  struct Case {
    int error;
    const char* text;
  } cases[] = {
      {ENOENT, "File or path is not found"},
      {E2BIG, "Argument list exceeds 1024 bytes"},
      {ENOEXEC, "Specified file is not executable or has invalid executable-file format"},
      {EACCES, "Specified file is not executable or has invalid executable-file format"},
      {ENOMEM, "Not enough memory is available to execute new process"},
      {EINVAL, "'mode' argument is invalid"},
      {EPERM, "Unknown error [errno = 1]"},
      {ELOOP, "Unknown error [errno = 40]"},
  };
  for (const auto& c : cases) EXPECT_EQ(startFailureReason(c.error), c.text);
}

TEST(OwnFileName, IsThisTestProgram) {
  const std::string self = ownFileName();
  ASSERT_FALSE(self.empty());
  EXPECT_EQ(self.front(), '/');
  EXPECT_EQ(self.substr(self.rfind('/') + 1), "driver_dispatch_test");
}

TEST(Strstrip, TrimsBothEnds) {
  struct Case {
    const char* in;
    const char* out;
  } cases[] = {
      {"  18f2620 ", "18f2620"}, {"\t\n\v\f\r18F2620\r\n", "18F2620"}, {"18F 2620", "18F 2620"},
      {"", ""},                  {" \t ", ""},                         {"x", "x"},
  };
  for (const auto& c : cases) {
    std::string buffer = c.in;
    EXPECT_STREQ(strstrip(buffer.data()), c.out) << '"' << c.in << '"';
  }
}

namespace {

/// Runs the option walk in this process over `args` (argv[0] first).
bool walk(std::vector<std::string> args) {
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  EXPECT_TRUE(cmd_init(static_cast<int>(args.size()), argv.data()));
  const bool ok = cmd_parse_args();
  cmd_free();
  return ok;
}

}  // namespace

TEST(OptionWalk, ModeAndRepeatCount) {
  struct Case {
    std::vector<std::string> args;
    bool ok;
    int mode;
    int repeatCount;
  } cases[] = {
      {{"kcc8"}, true, -1, 4},
      {{"kcc8", "--extended", "--extended"}, true, 0, 4},
      {{"kcc8", "--no-extended"}, true, 1, 4},
      {{"kcc8", "--no-extended", "--extended"}, false, 1, 4},
      {{"kcc8", "--extended", "--no-extended", "--extended"}, false, 0, 4},
      {{"kcc8", "-pa", "7", "x.c"}, true, -1, 7},
      {{"kcc8", "--pa=9"}, true, -1, 9},
      {{"kcc8", "-pa", "many"}, true, -1, 4},  // popt's complaint is ignored
      {{"kcc8", "--help", "-?", "--usage", "-q", "file.c"}, true, -1, 4},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.args));
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(walk(c.args), c.ok);
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(mode, c.mode);
    EXPECT_EQ(procedural_abstraction_count, c.repeatCount);
    EXPECT_FALSE(processor_specified);
    EXPECT_EQ(err, c.ok ? "" : "Cannot specify both the --extended and --no-extended command-line options\n");
  }
}

TEST(OptionWalk, TrailingProcessorOptionWithoutANameIsAnOptionError) {
  // Before, it was ignored and the compiler ran for no processor at all.
  for (const std::vector<std::string>& args : {std::vector<std::string>{"kcc8", "file.c", "-p"},
                                               std::vector<std::string>{"kcc8", "--extended", "-p"}}) {
    SCOPED_TRACE(::testing::PrintToString(args));
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(walk(args));
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "Option -p needs a processor name (for example -p 18F2620)\n");
    EXPECT_FALSE(processor_specified);
  }
}

TEST(OptionWalk, WithoutContextItFails) {
  cmd_free();
  EXPECT_FALSE(cmd_parse_args());
}
