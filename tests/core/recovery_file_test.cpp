#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/shell/RecoveryFile.h"
#include "core/shell/RecoveryFolder.h"
#include "core/text/TextFile.h"

using kavel::RecoveryFile;
using kavel::RecoveryFolder;
using kavel::RecoveryRead;
namespace fs = std::filesystem;

namespace {

using Verdict = RecoveryRead::Verdict;
using Content = RecoveryFile::Content;

const std::string kProgramText =
    "Title:Main - [ robot ] MORVANE Kavel for Wrenlet CORE  [ Ver.20190706 ]\r\n"
    "[0001]:sno:21,cno:21,val:000050-000050-000000,cmt:\r\n";

RecoveryFile sample() {
  RecoveryFile f;
  f.window = 0;
  f.originalPath = "/home/user/User_WL/robot.Kvl";
  f.text = kProgramText;
  return f;
}

std::string replaced(std::string bytes, const std::string& from, const std::string& to) {
  const std::size_t at = bytes.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) bytes.replace(at, from.size(), to);
  return bytes;
}

TEST(RecoveryFile, EveryKindOfCopyReadsBackAsWritten) {
  struct Case {
    const char* what;
    RecoveryFile file;
  } cases[] = {
      {"Main with its file", sample()},
      {"Sub-30 never saved", {30, Content::Rows, "", kProgramText}},
      {"C-code text", {0, Content::CCode, "/home/user/robot.c", "void user_main(void)\r\n{\r\n}\r\n"}},
      {"a path with line breaks and escapes", {3, Content::Rows, "/tmp/a%0A\nb\r%25.Kvl", kProgramText}},
      {"an empty program", {2, Content::Rows, "/x/y.Kvl", ""}},
      {"CP932 bytes and a NUL kept byte for byte", {1, Content::Rows, "/x/\xe3\x83\xad.Kvl", std::string("\x83\x8d\x00\xff", 4)}},
  };
  for (const Case& c : cases) {
    const RecoveryRead r = kavel::parseRecoveryFile(kavel::recoveryFileBytes(c.file));
    EXPECT_EQ(r.verdict, Verdict::Ok) << c.what << ": " << r.reason;
    EXPECT_EQ(r.file, c.file) << c.what;
  }
}

TEST(RecoveryFile, ADamagedOrForeignCopyIsRecognisedAndNeverReadInPart) {
  const std::string good = kavel::recoveryFileBytes(sample());
  struct Case {
    const char* what;
    std::string bytes;
    Verdict verdict;
    const char* reasonHas;
  } cases[] = {
      {"empty file", "", Verdict::Damaged, "does not start"},
      {"another file altogether", kProgramText, Verdict::Damaged, "does not start"},
      {"cut inside the text", good.substr(0, good.size() - 10), Verdict::Damaged, "cut short"},
      {"cut inside the header", good.substr(0, 40), Verdict::Damaged, ""},
      {"text added", good + "[0002]", Verdict::Damaged, "added to"},
      {"one text byte changed", replaced(good, "000050-000050", "000050-000051"), Verdict::Damaged, "check sum"},
      {"version not a number", replaced(good, "Version: 1", "Version: one"), Verdict::Damaged, "version"},
      {"a later format", replaced(good, "Version: 1", "Version: 2"), Verdict::OtherVersion, "format version 2"},
      {"an earlier format", replaced(good, "Version: 1", "Version: 0"), Verdict::OtherVersion, "format version 0"},
      {"Sub 31", replaced(good, "Window: Main", "Window: Sub 31"), Verdict::Damaged, "1 to 30"},
      {"window unknown", replaced(good, "Window: Main", "Window: Side"), Verdict::Damaged, "window"},
      {"content unknown", replaced(good, "Content: rows", "Content: pictures"), Verdict::Damaged, "content"},
      {"C code in a Sub", replaced(replaced(good, "Window: Main", "Window: Sub 2"), "Content: rows", "Content: c-code"),
       Verdict::Damaged, "content"},
      {"bad escape in the path", replaced(good, "Path: /home", "Path: %7/home"), Verdict::Damaged, "path"},
      {"check sum not hex", replaced(good, "Check: ", "Check: zz"), Verdict::Damaged, "check sum"},
      {"length missing", replaced(good, "Length: ", "Size: "), Verdict::Damaged, "length"},
      {"no blank line after the header", replaced(good, "\n\nTitle:", "\nTitle:"), Verdict::Damaged, "header"},
  };
  for (const Case& c : cases) {
    const RecoveryRead r = kavel::parseRecoveryFile(c.bytes);
    EXPECT_EQ(r.verdict, c.verdict) << c.what << ": " << r.reason;
    EXPECT_NE(r.reason.find(c.reasonHas), std::string::npos) << c.what << ": " << r.reason;
    EXPECT_TRUE(r.file.text.empty()) << c.what << ": nothing of the text is handed out";
  }
}

class RecoveryFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string tmpl = (fs::temp_directory_path() / "kavel-recovery-XXXXXX").string();
    ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
    dir_ = tmpl + "/";
    folder_ = kavel::recoveryFolderFor(dir_ + "kavelide.ini");
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::vector<std::string> filesIn() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder_)) names.push_back(e.path().filename().string());
    return names;
  }

  std::string dir_;
  std::string folder_;
};

TEST_F(RecoveryFolderTest, LivesBesideTheSettingsFile) { EXPECT_EQ(folder_, dir_ + "recovery/"); }

// Without a home there is no settings file; the working folder must stay untouched.
TEST_F(RecoveryFolderTest, NoSettingsFileKeepsNoCopiesAnywhere) {
  const fs::path before = fs::current_path();
  fs::current_path(dir_);
  {
    RecoveryFolder session(kavel::recoveryFolderFor(""));
    EXPECT_FALSE(session.usable());
    EXPECT_FALSE(session.save(sample()));
  }
  fs::current_path(before);
  EXPECT_FALSE(fs::exists(dir_ + "recovery"));
}

TEST_F(RecoveryFolderTest, OnlyTheCopiesOfSessionsThatEndedAreOffered) {
  auto crashed = std::make_unique<RecoveryFolder>(folder_);
  ASSERT_TRUE(crashed->usable());
  RecoveryFile sub = sample();
  sub.window = 4;
  ASSERT_TRUE(crashed->save(sub));
  ASSERT_TRUE(crashed->save(sample()));

  RecoveryFolder running(folder_);
  ASSERT_NE(running.pathFor(0), crashed->pathFor(0)) << "two sessions opened within one millisecond";
  ASSERT_TRUE(running.save(sample()));
  RecoveryFolder next(folder_);
  EXPECT_TRUE(next.claimOrphans().empty()) << "both sessions still run";

  crashed.reset();  // the process is gone: its lock is released, its copies stay
  const auto orphans = next.claimOrphans();
  ASSERT_EQ(orphans.size(), 2u);
  EXPECT_EQ(orphans[0].window, 0) << "Main first";
  EXPECT_EQ(orphans[1].window, 4);
  EXPECT_EQ(orphans[1].read.verdict, Verdict::Ok);
  EXPECT_EQ(orphans[1].read.file, sub);

  RecoveryFolder third(folder_);
  EXPECT_TRUE(third.claimOrphans().empty()) << "the session that offers them holds them";

  for (const auto& o : orphans) next.discard(o);
  for (const std::string& name : filesIn()) {
    EXPECT_EQ(name.find(orphans[0].session), std::string::npos) << name << " of the ended session is left";
  }
  EXPECT_TRUE(fs::exists(running.pathFor(0)));
}

TEST_F(RecoveryFolderTest, ADamagedCopyIsOfferedWithItsReason) {
  {
    RecoveryFolder crashed(folder_);
    ASSERT_TRUE(crashed.save(sample()));
    std::string bytes;
    ASSERT_TRUE(kavel::text::readFileBytes(crashed.pathFor(0), bytes));
    std::ofstream(crashed.pathFor(0), std::ios::binary | std::ios::trunc) << bytes.substr(0, bytes.size() / 2);
  }
  RecoveryFolder next(folder_);
  const auto orphans = next.claimOrphans();
  ASSERT_EQ(orphans.size(), 1u);
  EXPECT_EQ(orphans[0].read.verdict, Verdict::Damaged);
  EXPECT_NE(orphans[0].read.reason.find("cut short"), std::string::npos) << orphans[0].read.reason;
}

TEST_F(RecoveryFolderTest, ANormalCloseLeavesNothingBehind) {
  {
    RecoveryFolder idle(folder_);  // ended without ever keeping a copy
  }
  RecoveryFolder session(folder_);
  ASSERT_TRUE(session.save(sample()));
  RecoveryFile sub = sample();
  sub.window = 30;
  ASSERT_TRUE(session.save(sub));
  session.remove(30);
  EXPECT_FALSE(fs::exists(session.pathFor(30)));
  EXPECT_TRUE(session.claimOrphans().empty());
  session.removeAll();
  EXPECT_TRUE(filesIn().empty()) << "the idle session's lock file went at the last look";
}

TEST_F(RecoveryFolderTest, AFolderThatCannotBeMadeKeepsNoCopies) {
  std::ofstream(dir_ + "recovery") << "a file where the folder should be";
  RecoveryFolder session(folder_);
  EXPECT_FALSE(session.usable());
  std::string error;
  EXPECT_FALSE(session.save(sample(), &error));
  EXPECT_NE(error.find(folder_), std::string::npos) << error;
  EXPECT_TRUE(session.claimOrphans().empty());
}

}  // namespace
