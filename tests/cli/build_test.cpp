// kavel build: the whole build at the console, against a copy of the sample build folder.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <future>
#include <thread>

#include "RunProcess.h"
#include "core/build/BuildFolderLock.h"
#include "TempFolder.h"

using kavel::testing::runProcess;
using kavel::testing::slurp;
namespace fs = std::filesystem;

namespace {

const std::string kKavel = KAVEL_BIN_DIR "/kavel";
const std::string kData = KAVEL_TEST_DATA;

class KavelBuild : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(dir_ / "Build");
    fs::copy(KAVEL_BIN_DIR "/Build/Build_V190617", dir_ / "Build" / "Build_V190617", fs::copy_options::recursive);
    fs::create_directories(dir_ / "programs");
    for (const char* name : {"every.Kvl", "Tick.Kvl", "Turn.Kvl"}) {
      fs::copy_file(kData + "/build/" + name, dir_ / "programs" / name);
    }
    useBatFile((dir_ / "Build" / "Build_V190617" / "BuildPath.Bat").string());
  }

  void useBatFile(const std::string& batFile) {
    std::ofstream(ini()) << "[PRJ]\r\nBatFile_=" << batFile << "\r\n";
  }
  std::string ini() const { return (dir_ / "kavelide.ini").string(); }
  std::string program(const std::string& name) const { return (dir_ / "programs" / name).string(); }
  std::string buildFile(const std::string& name) const { return (dir_ / "Build" / "Build_V190617" / name).string(); }

  kavel::testing::TempFolder temp_{"kavel-cli-build"};
  fs::path dir_ = temp_.path();
};

}  // namespace

TEST_F(KavelBuild, EveryStatementKindBuildsCleanlyAndTheResultsLieBesideTheProgram) {
  const auto r = runProcess({kKavel, "--ini", ini(), "build", program("every.Kvl"), "--pwron"});
  EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
  EXPECT_EQ(r.out, slurp(buildFile("err.txt"))) << "err.txt goes to standard output";
  EXPECT_NE(r.out.find("Errors    : 0"), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find(":Warning:"), std::string::npos) << "the generated code is clean: " << r.out;
  EXPECT_EQ(slurp(program("every.Hex")), slurp(buildFile("User.Hex")));
  EXPECT_EQ(slurp(program("every.c")), slurp(buildFile("User.c")));
  const std::string userC = slurp(buildFile("User.c"));
  EXPECT_NE(userC.find("void user_sub_30(void)\r\n{"), std::string::npos) << "Subs included";
  EXPECT_NE(userC.find("void user_sub_1(void)\r\n{"), std::string::npos);
  EXPECT_NE(slurp(buildFile("M_Type.h")).find("#define PWRON_RUN"), std::string::npos);
}

TEST_F(KavelBuild, CompileErrorFailsWithTheCompilerOutput) {
  std::string text = slurp(program("every.Kvl"));
  text.replace(text.find("gV[VAR_A]++;"), 12, "nothing_here++;");
  std::ofstream(program("bad.Kvl"), std::ios::binary) << text;
  std::ofstream(program("bad.Hex")) << "old image";
  const auto r = runProcess({kKavel, "--ini", ini(), "build", program("bad.Kvl")});
  EXPECT_EQ(r.exitCode, 1) << r.out << r.err;
  EXPECT_NE(r.out.find(":Error: "), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("nothing_here"), std::string::npos) << r.out;
  EXPECT_NE(r.err.find("User.Hex"), std::string::npos) << r.err;
  EXPECT_EQ(slurp(program("bad.Hex")), "old image") << "a failed build leaves the old image alone";
}

TEST_F(KavelBuild, ExitCodes) {
  struct Case {
    std::string name;
    std::vector<std::string> args;
    std::function<void()> prepare;
    int exitCode;
    std::string err;
  };
  const std::vector<Case> cases = {
      {"no file", {"build"}, [] {}, 2, "no program file given"},
      {"bad timeout", {"build", program("every.Kvl"), "--timeout", "x"}, [] {}, 2, "--timeout"},
      {"unreadable program", {"build", program("missing.Kvl")}, [] {}, 1, "missing.Kvl"},
      {"missing build folder", {"build", program("every.Kvl")},
       [this] { useBatFile((dir_ / "nowhere" / "BuildPath.Bat").string()); }, 2, "does not exist"},
      {"batch file missing", {"build", program("every.Kvl")},
       [this] {
         useBatFile(buildFile("BuildPath.Bat"));
         fs::remove(buildFile("cl2520.Bat"));
       },
       2, "Prosess Error!"},
      {"never ends", {"build", program("every.Kvl"), "--timeout", "1"},
       [this] { std::ofstream(buildFile("cl2520.Bat")) << "sleep 60\n"; }, 1, "did not end within"},
  };
  for (const Case& c : cases) {
    c.prepare();
    std::vector<std::string> argv = {kKavel, "--ini", ini()};
    argv.insert(argv.end(), c.args.begin(), c.args.end());
    const auto r = runProcess(argv);
    EXPECT_EQ(r.exitCode, c.exitCode) << c.name << ": " << r.err;
    EXPECT_NE(r.err.find(c.err), std::string::npos) << c.name << ": " << r.err;
  }
}

TEST_F(KavelBuild, TwoBuildsInOneFolderEachGetTheirOwnResults) {
  // Before, one of two builds at once reported success with the other program's NAME.Hex and
  // NAME.c, or failed with "Cannot save .../M_Type.h".
  std::string other = slurp(program("every.Kvl"));
  other.replace(other.find("[ every ]"), 9, "[ other ]");
  std::ofstream(program("other.Kvl"), std::ios::binary) << other;
  const auto build = [this](const std::string& name) {
    return runProcess({kKavel, "--ini", ini(), "build", program(name + ".Kvl")});
  };
  // Each program alone gives its own image.
  ASSERT_EQ(build("every").exitCode, 0);
  const std::string everyHex = slurp(program("every.Hex"));
  const std::string everyC = slurp(program("every.c"));
  ASSERT_EQ(build("other").exitCode, 0);
  const std::string otherHex = slurp(program("other.Hex"));
  ASSERT_NE(everyHex, otherHex);

  for (int round = 0; round < 4; ++round) {
    SCOPED_TRACE(round);
    fs::remove(program("every.Hex"));
    fs::remove(program("other.Hex"));
    auto first = std::async(std::launch::async, build, std::string("every"));
    auto second = std::async(std::launch::async, build, std::string("other"));
    const auto a = first.get();
    const auto b = second.get();
    EXPECT_EQ(a.exitCode, 0) << a.err;
    EXPECT_EQ(b.exitCode, 0) << b.err;
    EXPECT_EQ(slurp(program("every.Hex")), everyHex);
    EXPECT_EQ(slurp(program("other.Hex")), otherHex);
    EXPECT_EQ(slurp(program("every.c")), everyC);
  }
}

TEST_F(KavelBuild, ABuildWaitsForTheFolderOrSaysWhoHoldsIt) {
  kavel::BuildFolderLock held;
  ASSERT_EQ(held.tryAcquire(buildFile(""), "kavelide"), kavel::BuildFolderLock::State::Held);
  const std::string holder = "kavelide, process " + std::to_string(::getpid());

  const auto refused = runProcess({kKavel, "--ini", ini(), "build", program("every.Kvl"), "--wait", "0"});
  EXPECT_EQ(refused.exitCode, 2);
  EXPECT_NE(refused.err.find("is in use by another build (" + holder + ")"), std::string::npos) << refused.err;
  EXPECT_FALSE(fs::exists(buildFile("User.c"))) << "nothing is written while another build holds the folder";
  EXPECT_FALSE(fs::exists(program("every.Hex")));

  // Let go while the build waits: it goes on.
  std::thread release([&held] {
    std::this_thread::sleep_for(std::chrono::milliseconds(800));
    held.release();
  });
  const auto waited = runProcess({kKavel, "--ini", ini(), "build", program("every.Kvl"), "--wait", "30"});
  release.join();
  EXPECT_EQ(waited.exitCode, 0) << waited.err;
  EXPECT_NE(waited.err.find("waiting up to 30 seconds"), std::string::npos) << waited.err;
  EXPECT_TRUE(fs::exists(program("every.Hex")));

  const auto usage = runProcess({kKavel, "--ini", ini(), "build", program("every.Kvl"), "--wait", "soon"});
  EXPECT_EQ(usage.exitCode, 2);
  EXPECT_NE(usage.err.find("--wait"), std::string::npos);
}

TEST_F(KavelBuild, ResultsBesideTheProgramAreCopiedTogetherOrNotAtAll) {
  // Before, with NAME.c a folder, NAME.Hex was copied alone.
  fs::create_directory(program("every.c"));
  const auto r = runProcess({kKavel, "--ini", ini(), "build", program("every.Kvl")});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find(program("every.c") + ": it is a folder"), std::string::npos) << r.err;
  EXPECT_FALSE(fs::exists(program("every.Hex")));
}

TEST_F(KavelBuild, BuildFoldersThatCannotBuildAreNamed) {
  fs::create_directories(dir_ / "plain");
  struct Case {
    const char* what;
    std::string batFile;
    std::string says;
  } cases[] = {
      {"a plain folder", (dir_ / "plain" / "BuildPath.Bat").string(),
       "The build folder " + (dir_ / "plain").string() + "/ holds no compile batch file cl2520.Bat"},
      {"the batch file is a folder", (dir_ / "plain").string(),
       "The build batch file " + (dir_ / "plain").string() + " is a folder"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    useBatFile(c.batFile);
    const auto r = runProcess({kKavel, "--ini", ini(), "build", program("every.Kvl")});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
    EXPECT_TRUE(fs::is_empty(dir_ / "plain")) << "nothing is written into a folder that is no build folder";
  }

  // An old User.Hex that cannot be removed would pass for this build's image.
  useBatFile(buildFile("BuildPath.Bat"));
  fs::create_directory(buildFile("User.Hex"));
  const auto stale = runProcess({kKavel, "--ini", ini(), "build", program("every.Kvl")});
  EXPECT_EQ(stale.exitCode, 2);
  EXPECT_NE(stale.err.find("The old User.Hex in the build folder"), std::string::npos) << stale.err;
  EXPECT_FALSE(fs::exists(program("every.Hex")));
}
