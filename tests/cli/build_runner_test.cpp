// The build runner's steps against the sample build folder and its stand-in tool chain: each
// test works on its own copy of the folder, so tests may run side by side.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>
#include <fstream>
#include <optional>
#include <sstream>
#include <algorithm>

#include "Statements.h"
#include "TempFolder.h"
#include "core/Context.h"
#include "core/build/BuildFiles.h"
#include "core/build/BuildOutput.h"
#include "core/build/ErrorPosition.h"
#include "core/build/ToolChainCommand.h"
#include "core/build/ToolChainRun.h"
#include "core/codegen/CodeGenerator.h"
#include "core/model/ProgramFile.h"
#include "core/model/StatementKind.h"
#include "core/text/TextFile.h"

using namespace kavel;
using kavel::testing::row;
namespace fs = std::filesystem;

namespace {

std::string slurp(const std::string& path) {
  std::string bytes;
  text::readFileBytes(path, bytes);
  return bytes;
}

void writeText(const std::string& path, const std::string& content) { std::ofstream(path, std::ios::binary) << content; }

// Every record of an Intel HEX file well-formed with a correct checksum, the last one the
// end-of-file record. Returns the number of data bytes.
int checkIntelHex(const std::string& hex) {
  std::istringstream in(hex);
  std::string line;
  int data = 0;
  bool ended = false;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    EXPECT_FALSE(ended) << "records after the end-of-file record";
    EXPECT_GE(line.size(), 11u) << line;
    EXPECT_EQ(line[0], ':') << line;
    if (line.size() < 11 || line.size() % 2 == 0) return -1;
    unsigned sum = 0;
    for (std::size_t i = 1; i < line.size(); i += 2) sum += std::stoul(line.substr(i, 2), nullptr, 16);
    EXPECT_EQ(sum & 0xFF, 0u) << "checksum of " << line;
    const unsigned count = std::stoul(line.substr(1, 2), nullptr, 16);
    EXPECT_EQ(line.size(), 11 + 2 * count) << line;
    const unsigned type = std::stoul(line.substr(7, 2), nullptr, 16);
    if (type == 0) data += static_cast<int>(count);
    if (type == 1) ended = true;
  }
  EXPECT_TRUE(ended) << "no end-of-file record";
  return data;
}

class BuildRunnerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(dir_ / "Build");
    fs::copy(KAVEL_BIN_DIR "/Build/Build_V190617", dir_ / "Build" / "Build_V190617", fs::copy_options::recursive);
    ctx_.settings.BatFile_ = (dir_ / "Build" / "Build_V190617" / "BuildPath.Bat").string();
    ctx_.settings.MCU2620_ = 1;
    folder_ = buildFolderOf(ctx_.settings.BatFile_);
  }

  // Saves Main with these rows, reads it back as the build does, and generates into the build
  // folder.
  std::string generate(const std::vector<Statement>& rows) {
    Program p(0);
    for (const Statement& s : rows) p.appendRow(s);
    const std::string file = (dir_ / "robot.Kvl").string();
    ProgramFileContext fc{ctx_.settings, ctx_.io, ctx_.setup, ctx_.messages, mainWindowTitle()};
    EXPECT_TRUE(writeProgramFile(p, file, fc));
    EXPECT_TRUE(readProgramFile(ctx_.programs.main(), file, fc).ok);
    ctx_.programs.current = 0;
    CodeGenerator generator(ctx_);
    CodeBuffer buffer(CodeTarget::BuildBuffer);
    EXPECT_TRUE(generator.GenerateCode(buffer));
    return file;
  }

  ToolChainResult run(ToolChainLimits limits = {}) {
    return runToolChain(makeToolChainCommand(ctx_.settings.BatFile_, ctx_.settings.MCU2620_ != 0, currentEnvironment()),
                        limits);
  }

  kavel::testing::TempFolder temp_{"kavel-runner"};
  fs::path dir_ = temp_.path();
  std::string folder_;
  Context ctx_;
};

}  // namespace

TEST_F(BuildRunnerTest, CleanProgramMakesAValidImageCopiedBesideTheProgram) {
  const std::string file = generate({row(kWait, kWait, 500), row(kGreenLedOn, kGreenLedOn, 1, 1)});
  writeText(folder_ + "User.Hex", "stale");
  const ToolChainResult result = run();
  EXPECT_EQ(result.status, ToolChainStatus::Succeeded) << slurp(folder_ + "err.txt");
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_GT(checkIntelHex(slurp(folder_ + "User.Hex")), 0);
  EXPECT_NE(slurp(folder_ + "err.txt").find("Errors    : 0"), std::string::npos) << slurp(folder_ + "err.txt");

  std::string error;
  ASSERT_TRUE(copyBuildResults(folder_, file, true, error)) << error;
  EXPECT_EQ(slurp((dir_ / "robot.Hex").string()), slurp(folder_ + "User.Hex"));
  EXPECT_EQ(slurp((dir_ / "robot.c").string()), slurp(folder_ + "User.c"));

  // The PIC18F2520 runs its own batch file.
  ctx_.settings.MCU2620_ = 0;
  generate({row(kWait, kWait, 100)});
  EXPECT_EQ(run().status, ToolChainStatus::Succeeded) << slurp(folder_ + "err.txt");
  EXPECT_NE(slurp(folder_ + "err.txt").find("PIC18F2520"), std::string::npos);
}

TEST_F(BuildRunnerTest, CompileErrorNamesTheUserCLineHoldingIt) {
  generate({row(kWait, kWait, 500), row(kCCode, kCCode, 0, 0, 0, "undeclared_thing = 1;")});
  writeText(folder_ + "User.Hex", "stale");
  const ToolChainResult result = run();
  EXPECT_EQ(result.status, ToolChainStatus::Failed);
  EXPECT_FALSE(fs::exists(folder_ + "User.Hex")) << "a stale image never counts as success";

  // The line of User.c that holds the C-code row, counted from 1.
  const std::string userC = slurp(folder_ + "User.c");
  const int line = 1 + static_cast<int>(std::count(userC.begin(), userC.begin() + static_cast<long>(userC.find("undeclared_thing")), '\n'));
  const BuildOutput output = readBuildOutput(folder_ + "err.txt");
  const std::string expected = "User.c:" + std::to_string(line) + ":Error: ";
  const std::size_t at = output.text.find(expected);
  ASSERT_NE(at, std::string::npos) << output.text;
  const std::string errorLine = output.text.substr(at, output.text.find('\n', at) - at);
  EXPECT_NE(errorLine.find("undeclared_thing"), std::string::npos) << errorLine;
  const ErrorPosition position = errorPosition(errorLine);
  EXPECT_TRUE(position.found);
  EXPECT_EQ(position.rest.substr(0, std::to_string(line).size() + 1), std::to_string(line) + ":");
  EXPECT_EQ(position.line, line - 1);
}

TEST_F(BuildRunnerTest, PathIsGivenToTheToolChainOnly) {
  const char* before = std::getenv("PATH");
  const std::string ours = before ? before : "";
  writeText(folder_ + "cl2620.Bat", "echo \"$PATH\" > path.txt\n");
  EXPECT_EQ(run().status, ToolChainStatus::Failed);
  EXPECT_EQ(slurp(folder_ + "path.txt"), "./bin:" + ours + "\n") << "the first line of BuildPath.Bat in front";
  ASSERT_NE(std::getenv("PATH"), nullptr);
  EXPECT_EQ(std::string(std::getenv("PATH")), ours) << "our own PATH is never changed";

  // Table of first lines: what the child's PATH becomes.
  struct Case {
    std::string firstLine;
    std::optional<std::string> path;
  };
  const std::vector<Case> cases = {
      {"PATH=/opt/pic/bin:", "/opt/pic/bin:/usr/bin"},
      {"PATH=/a:/b:", "/a:/b:/usr/bin"},
      {"no entry here", "/usr/bin"},  // nothing to put in: passed on unchanged
      {"=oops", "/usr/bin"},
      {"TOOLS=/x", "/usr/bin"},  // another variable: PATH stays, TOOLS is set
  };
  for (const Case& c : cases) {
    writeText(ctx_.settings.BatFile_, c.firstLine + "\r\nrest\r\n");
    const ToolChainCommand command = makeToolChainCommand(ctx_.settings.BatFile_, true, {"HOME=/h", "PATH=/usr/bin"});
    EXPECT_EQ(environmentValue(command.environment, "PATH"), c.path) << c.firstLine;
    EXPECT_EQ(environmentValue(command.environment, "HOME"), "/h") << c.firstLine;
    EXPECT_EQ(command.program, "/bin/sh");
    EXPECT_EQ(command.arguments, std::vector<std::string>{"cl2620.Bat"});
    EXPECT_EQ(command.workingFolder, folder_);
    EXPECT_EQ(command.outputFile, folder_ + "err.txt");
  }
  const ToolChainCommand other = makeToolChainCommand(ctx_.settings.BatFile_, true, {"PATH=/usr/bin"});
  EXPECT_EQ(environmentValue(other.environment, "TOOLS"), "/x/usr/bin");
  fs::remove(ctx_.settings.BatFile_);
  EXPECT_EQ(makeToolChainCommand(ctx_.settings.BatFile_, false, {"PATH=/p"}).environment,
            std::vector<std::string>{"PATH=/p"}) << "an unreadable build batch file changes nothing";
}

TEST_F(BuildRunnerTest, FailuresToStart) {
  generate({row(kWait, kWait, 500)});
  fs::remove(folder_ + "cl2620.Bat");
  ToolChainResult missing = run();
  EXPECT_EQ(missing.status, ToolChainStatus::NotStarted);
  EXPECT_NE(missing.error.find("cl2620.Bat"), std::string::npos) << missing.error;

  // A build folder where err.txt cannot be created.
  writeText(folder_ + "cl2620.Bat", "exit 0\n");
  fs::create_directory(folder_ + "err.txt");
  ToolChainResult noOutput = run();
  EXPECT_EQ(noOutput.status, ToolChainStatus::NotStarted);
  EXPECT_NE(noOutput.error.find("err.txt"), std::string::npos) << noOutput.error;
  fs::remove(folder_ + "err.txt");

  // A batch file that fails, and one whose shell cannot find kcc8.
  writeText(folder_ + "cl2620.Bat", "echo broken; exit 3\n");
  const ToolChainResult failed = run();
  EXPECT_EQ(failed.status, ToolChainStatus::Failed);
  EXPECT_EQ(failed.exitCode, 3);
  EXPECT_EQ(slurp(folder_ + "err.txt"), "broken\n");
  writeText(ctx_.settings.BatFile_, "PATH=/nowhere:\n");
  fs::copy_file(KAVEL_BIN_DIR "/Build/Build_V190617/cl2620.Bat", folder_ + "cl2620.Bat",
                fs::copy_options::overwrite_existing);
  const ToolChainResult noCompiler = run();
  EXPECT_EQ(noCompiler.status, ToolChainStatus::Failed);
  EXPECT_NE(slurp(folder_ + "err.txt").find("kcc8 not found"), std::string::npos) << slurp(folder_ + "err.txt");

  EXPECT_FALSE(buildFolderExists((dir_ / "nowhere").string()));
  EXPECT_TRUE(buildFolderExists(folder_));
}

TEST_F(BuildRunnerTest, ABatchFileThatNeverEndsIsStoppedByTimeOutOrCancel) {
  // The sleep runs in a child of the shell: stopping must reach the whole process group.
  writeText(folder_ + "cl2620.Bat", "sleep 60 &\nwait\n");
  const auto started = std::chrono::steady_clock::now();
  ToolChainLimits limits;
  limits.timeout = std::chrono::milliseconds(300);
  int ticks = 0;
  limits.tick = [&ticks] { ++ticks; };
  const ToolChainResult timedOut = run(limits);
  EXPECT_EQ(timedOut.status, ToolChainStatus::TimedOut);
  EXPECT_GT(ticks, 5) << "the caller is called back while the tool chain runs";
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10));

  ToolChainLimits cancel;
  int polls = 0;
  cancel.cancelled = [&polls] { return ++polls > 20; };
  EXPECT_EQ(run(cancel).status, ToolChainStatus::Cancelled);
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(20));
}

TEST(BuildOutput, HugeAndBinaryOutputIsCutAndMadeReadable) {
  const kavel::testing::TempFolder temp("kavel-err-huge");
  const std::string path = temp / "err.txt";
  std::string bytes = "User.c:3:Error: one\r\nline two\rline three\n";
  bytes += std::string("nul\0bell\a\x7f end\n", 14);
  bytes += std::string("\x82\xa0 cp932?\n");  // not UTF-8: the whole text is read as CP932
  bytes.append(8 * 1024 * 1024, 'x');
  writeText(path, bytes);
  const auto started = std::chrono::steady_clock::now();
  const BuildOutput out = readBuildOutput(path);
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2));
  EXPECT_FALSE(out.complete);
  EXPECT_LE(out.text.size(), kBuildOutputShown + 200);
  EXPECT_EQ(out.text.substr(0, 52), "User.c:3:Error: one\nline two\nline three\nnul?bell?? e");
  EXPECT_NE(out.text.find("\xe3\x81\x82 cp932?"), std::string::npos) << "CP932 text decoded";
  EXPECT_NE(out.text.find("more bytes of " + path + " not shown"), std::string::npos);

  writeText(path, "caf\xc3\xa9\n");
  const BuildOutput small = readBuildOutput(path);
  EXPECT_TRUE(small.complete);
  EXPECT_EQ(small.text, "caf\xc3\xa9\n");
  EXPECT_FALSE(readBuildOutput(path + ".missing").readable);
}

TEST(BuildFiles, NamesBesideTheProgram) {
  EXPECT_EQ(besideProgram("/p/robot.Kvl", ".Hex"), "/p/robot.Hex");
  EXPECT_EQ(besideProgram("/p/robot_#001-250101-120000.Kvl", ".c"), "/p/robot_#001-250101-120000.c");
  EXPECT_EQ(besideProgram("/p/main.c", ".Hex"), "/p/main.Hex");
  EXPECT_EQ(besideProgram("/p.d/noext", ".Hex"), "/p.d/noext.Hex");
  EXPECT_EQ(compileBatchName(true), "cl2620.Bat");
  EXPECT_EQ(compileBatchName(false), "cl2520.Bat");
}
