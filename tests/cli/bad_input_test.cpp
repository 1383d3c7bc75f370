// What a campaign of bad inputs against the console tool found: damaged program files went
// through some commands and not others, settings named by --ini were silently replaced by the
// defaults, and two conversions to one file failed each other. Every command now answers a bad
// input the same way: exit 1, nothing written, a message naming the file, the line and why.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <thread>

#include "RunProcess.h"
#include "TempFolder.h"

using kavel::testing::runProcess;
using kavel::testing::slurp;
namespace fs = std::filesystem;

namespace {

const std::string kKavel = KAVEL_BIN_DIR "/kavel";
const std::string kData = KAVEL_TEST_DATA;

class BadInput : public ::testing::Test {
 protected:
  std::string path(const std::string& name) const { return temp_ / name; }
  std::string put(const std::string& name, const std::string& bytes) const {
    std::ofstream(path(name), std::ios::binary) << bytes;
    return path(name);
  }
  std::vector<std::string> entries() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(temp_.path())) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  kavel::testing::TempFolder temp_{"kavel-bad-input"};
};

std::string sample() { return slurp(kData + "/sample.Kvl"); }

}  // namespace

TEST_F(BadInput, EveryCommandRefusesADamagedProgramAndWritesNothing) {
  const std::string good = sample();
  std::string over = good;
  for (int i = 0; i < 1200; ++i) over += "[0009]:sno:29,cno:29,val:000010-000000-000000,cmt:\r\n";
  // The file of the campaign: cut inside its last row.
  const std::size_t lastRow = good.rfind("[0008]");
  struct File {
    const char* what;
    std::string bytes;
    std::string says;
  } files[] = {
      {"cut inside its last row", good.substr(0, lastRow + 30), "Line 20 of "},
      {"binary", std::string("Title:Main\r\n\0\0\x01\x02", 16), "binary data"},
      {"empty", "", "is empty"},
      {"UTF-16", std::string("\xFF\xFET\0i\0t\0l\0e\0", 12), "UTF-16"},
      {"5000 rows", over, "already holds 1000 rows"},
  };
  // The build builds in a copy of the sample build folder, whose files say what was written.
  fs::copy(KAVEL_BIN_DIR "/Build/Build_V190617", path("Build"), fs::copy_options::recursive);
  put("build.ini", "[PRJ]\r\nBatFile_=" + path("Build/BuildPath.Bat") + "\r\n");
  const std::vector<std::vector<std::string>> commands = {
      {"rows", "@"},
      {"view", "@"},
      {"gen", "@", "--out", "@out"},
      {"convert", "@", "--out", "@out/new.Kvl"},
      {"picture", "@", "--out", "@out/rows.png"},
      {"--ini", "@build.ini", "build", "@"},
  };
  for (const File& f : files) {
    const std::string file = put("prog.Kvl", f.bytes);
    for (const auto& command : commands) {
      SCOPED_TRACE(std::string(f.what) + ", kavel " + command[command[0] == "--ini" ? 2 : 0]);
      fs::remove_all(path("out"));
      fs::create_directory(path("out"));
      std::vector<std::string> argv{kKavel};
      for (const std::string& a : command) {
        argv.push_back(a == "@" ? file : a.starts_with("@") ? path(a.substr(1)) : a);
      }
      const auto r = runProcess(argv);
      EXPECT_EQ(r.exitCode, 1) << r.err;
      EXPECT_EQ(r.out, "");
      EXPECT_NE(r.err.find(file), std::string::npos) << r.err;
      EXPECT_NE(r.err.find(f.says), std::string::npos) << r.err;
      EXPECT_TRUE(fs::is_empty(path("out"))) << "something was written";
      EXPECT_FALSE(fs::exists(path("prog.Hex")));
      EXPECT_FALSE(fs::exists(path("Build/User.c")));
    }
  }
}

TEST_F(BadInput, ADamagedSubStopsGenerationBeforeAnythingIsWritten) {
  put("sample.Kvl", sample());
  put("Turn.Kvl", "Title:Sub-2 - [ Turn ]  [ Ver.20190706 ]\r\n[0001]:sno:21,cno:21,val:0000");
  fs::create_directory(path("out"));
  const auto r = runProcess({kKavel, "gen", path("sample.Kvl"), "--out", path("out")});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("Sub-2: Line 2 of " + path("Turn.Kvl") + ": the row is cut short"), std::string::npos) << r.err;
  EXPECT_TRUE(fs::is_empty(path("out")));
}

TEST_F(BadInput, FileNamesMayFollowADoubleDashAndNeedNoExtension) {
  const std::string dashed = put("-prog.Kvl", sample());
  const auto rows = runProcess({kKavel, "rows", "--", "-prog.Kvl"}, temp_.str());
  EXPECT_EQ(rows.exitCode, 0) << rows.err;
  EXPECT_EQ(rows.out, runProcess({kKavel, "rows", dashed}).out);
  EXPECT_EQ(runProcess({kKavel, "view", "--", "-prog.Kvl"}, temp_.str()).exitCode, 0);
  const auto gen = runProcess({kKavel, "gen", "--out", path("out"), "--", "-prog.Kvl"}, temp_.str());
  EXPECT_EQ(gen.exitCode, 0) << gen.err;
  EXPECT_TRUE(fs::exists(path("out/User.c")));
  const auto convert = runProcess({kKavel, "convert", "--out", path("copy.Kvl"), "--", "-prog.Kvl"}, temp_.str());
  EXPECT_EQ(convert.exitCode, 0) << convert.err;
  // Without "--" such a name is still an option nobody knows.
  EXPECT_EQ(runProcess({kKavel, "rows", "-prog.Kvl"}, temp_.str()).exitCode, 2);

  // A name without extension opens as given when there is no NAME.Kvl, and both names are
  // said when neither is there.
  put("noext", sample());
  const auto plain = runProcess({kKavel, "rows", path("noext")});
  EXPECT_EQ(plain.exitCode, 0) << plain.err;
  EXPECT_EQ(plain.out, rows.out);
  const auto none = runProcess({kKavel, "rows", path("none")});
  EXPECT_EQ(none.exitCode, 1);
  EXPECT_NE(none.err.find(path("none.Kvl")), std::string::npos) << none.err;
  EXPECT_NE(none.err.find("no file " + path("none") + " either"), std::string::npos) << none.err;
}

TEST_F(BadInput, ASettingsFileNamedByIniMustBeThere) {
  fs::create_symlink("loop-b.ini", path("loop-a.ini"));
  fs::create_symlink("loop-a.ini", path("loop-b.ini"));
  fs::create_directory(path("folder.ini"));
  put("utf16.ini", std::string("\xFF\xFE[\0P\0R\0J\0]\0", 12));
  struct Case {
    std::string ini;
    const char* says;
  } cases[] = {
      {path("missing.ini"), "does not exist"},
      {"", "the path is empty"},
      {path("loop-a.ini"), "loop of links"},
      {path("folder.ini"), "is a folder"},
      {path("utf16.ini"), "UTF-16"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ini);
    const auto r = runProcess({kKavel, "--ini", c.ini, "rows", kData + "/sample.Kvl"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
  }
  EXPECT_EQ(slurp(path("utf16.ini")), std::string("\xFF\xFE[\0P\0R\0J\0]\0", 12));

  // Values that cannot be used are named, and the command goes on with the defaults.
  put("odd.ini", "[COMPORT]\r\nAck_Tout=-5\r\nBaudRate=abc\r\n[LANGUAGE]\r\nLANG_NO_=-1\r\n");
  const auto r = runProcess({kKavel, "--ini", path("odd.ini"), "rows", kData + "/sample.Kvl"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.err.find("[COMPORT] Ack_Tout=-5 is not 0 or more; 500 is used instead."), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("[COMPORT] BaudRate=abc is not a number; 115200 is used instead."), std::string::npos);
  EXPECT_NE(r.err.find("[LANGUAGE] LANG_NO_=-1 is not from 0 to 2; 2 is used instead."), std::string::npos);
}

TEST_F(BadInput, ConversionsToOneFileAtOnceDoNotFailEachOther) {
  // Before, each removed the other's temporary file as a stale leftover, and then failed.
  const std::string source = put("prog.Kvl", sample());
  constexpr int kRounds = 15;
  constexpr int kAtOnce = 4;
  for (int round = 0; round < kRounds; ++round) {
    std::vector<pid_t> running;
    for (int i = 0; i < kAtOnce; ++i) {
      const std::string out = path("same.Kvl");
      char* argv[] = {const_cast<char*>(kKavel.c_str()), const_cast<char*>("convert"),
                      const_cast<char*>(source.c_str()), const_cast<char*>("--out"), const_cast<char*>(out.c_str()),
                      nullptr};
      pid_t pid = 0;
      ASSERT_EQ(::posix_spawn(&pid, argv[0], nullptr, nullptr, argv, environ), 0);
      running.push_back(pid);
    }
    for (pid_t pid : running) {
      int status = 0;
      ASSERT_EQ(::waitpid(pid, &status, 0), pid);
      ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "round " << round;
    }
  }
  EXPECT_EQ(entries(), (std::vector<std::string>{"prog.Kvl", "same.Kvl"})) << "no temporary file stays";
  EXPECT_EQ(runProcess({kKavel, "rows", path("same.Kvl")}).out, runProcess({kKavel, "rows", source}).out);
}
