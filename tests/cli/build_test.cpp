// kavel build: the whole build at the console, against a copy of the sample build folder.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "RunProcess.h"
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
