#include <gtest/gtest.h>

#include <tuple>

#include <filesystem>
#include <random>
#include <unistd.h>

#include "core/Context.h"
#include "core/model/ProgramFile.h"
#include "core/model/StatementKind.h"
#include "core/text/Encoding.h"
#include "core/text/Format.h"
#include "core/text/TextFile.h"
#include "Statements.h"
#include "TempFolder.h"

using namespace kavel;
namespace fs = std::filesystem;
using kavel::testing::row;

namespace {

class ProgramFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ctx_.messages.setText(1, 44, "Confirm");
    ctx_.messages.setText(1, 139, "This file was made for an older board model.");
  }

  std::string path(const std::string& name) const { return (dir_ / name).string(); }

  std::string put(const std::string& name, const std::string& bytes) const {
    EXPECT_TRUE(text::writeFileAtomic(path(name), bytes));
    return path(name);
  }

  ProgramFileContext fileContext() {
    return ProgramFileContext{ctx_.settings, ctx_.io, ctx_.setup, ctx_.messages, "Kavel  [ Ver.20190706 ]"};
  }

  ProgramFileResult read(Program& p, const std::string& file) {
    auto fc = fileContext();
    return readProgramFile(p, file, fc, hooks_);
  }

  kavel::testing::TempFolder temp_{"kavel-pf"};
  fs::path dir_ = temp_.path();
  Context ctx_;
  ProgramFileHooks hooks_;
};

const char* kHeader =
    "Title:Main - [ t ] Kavel  [ Ver.20190706 ]\r\n"
    "CN01:Ball\r\nCN02:\r\nCN03:\r\nCN04:\r\nCN05:\r\nCN06:\r\nCN07:\r\nCN08:\r\nCN09:RED3\r\nCN10:RED2\r\n"
    "[0000]:sno:08,cno:07,val:111111-110000-000004,cmt:\r\n";

}  // namespace

TEST_F(ProgramFileTest, WritesFixedColumns) {
  Program p;
  p.appendRow(row(kMotorForward, kMotorForward, 50, 50, 0));
  p.appendRow(row(kMotorBackward, kMotorBackward, -50, 7, 0, "back"));
  ctx_.io.cnName[0] = "Ball";
  ctx_.setup.setupValue = {111111, 110000, 4};
  ASSERT_TRUE(writeProgramFile(p, path("Drive.Kvl"), fileContext()));
  std::string bytes;
  ASSERT_TRUE(text::readFileBytes(path("Drive.Kvl"), bytes));
  EXPECT_EQ(bytes,
            "Title:Main - [ Drive ] Kavel  [ Ver.20190706 ]\r\n"
            "CN01:Ball\r\nCN02:\r\nCN03:\r\nCN04:\r\nCN05:\r\nCN06:\r\nCN07:\r\nCN08:\r\nCN09:\r\nCN10:\r\n"
            "[0000]:sno:08,cno:07,val:111111-110000-000004,cmt:\r\n"
            "[0001]:sno:21,cno:21,val:000050-000050-000000,cmt:\r\n"
            "[0002]:sno:22,cno:22,val:-00050-000007-000000,cmt:back\r\n");
  EXPECT_EQ(p.titleName, "Drive");
  EXPECT_EQ(p.statusText, path("Drive.Kvl"));
}

TEST_F(ProgramFileTest, RoundTripKeepsRowsCommentsAndTexts) {
  Program p;
  p.appendRow(row(kWhile, kSensorTest, 25, 10001, 310000, "\xE5\x89\x8D\xE9\x80\xB2"));  // Japanese
  p.appendRow(row(kVariable, kVariableItem, 23300, 27, 10000, "x"));
  p.appendRow(row(kCCode, kCCode, 0, 0, 0, "a = b && c;  \t// sum"));
  p.appendRow(row(kEnd, kClosesWhile, 0, 0, 0));
  p.appendRow(row(kWait, kWait, -99999, 999999, 0, ""));
  p.appendRow(row(17, 42, 1, 2, 3, "unknown kinds stay"));
  ctx_.setup.setupComment = "\xE8\xA8\xAD\xE5\xAE\x9A";
  ASSERT_TRUE(writeProgramFile(p, path("rt.Kvl"), fileContext()));

  std::string bytes;
  ASSERT_TRUE(text::readFileBytes(path("rt.Kvl"), bytes));
  EXPECT_EQ(text::detectEncoding(bytes), text::FileEncoding::Cp932) << "Japanese text is written in CP932";

  Program back;
  const auto r = read(back, path("rt.Kvl"));
  ASSERT_TRUE(r.ok) << r.error;
  ASSERT_EQ(back.size(), p.size());
  for (std::size_t i = 0; i < p.size(); ++i) EXPECT_EQ(back.rows()[i], p.rows()[i]) << "row " << i;
  EXPECT_EQ(ctx_.setup.setupComment, "\xE8\xA8\xAD\xE5\xAE\x9A");
  EXPECT_EQ(back.caption(), "Main - [ rt ]");
}

TEST_F(ProgramFileTest, TextOutsideCp932IsWrittenAsUtf8) {
  Program p;
  p.appendRow(row(kWait, kWait, 100, 0, 0, "smile \xF0\x9F\x98\x80"));
  ASSERT_TRUE(writeProgramFile(p, path("u.Kvl"), fileContext()));
  Program back;
  ASSERT_TRUE(read(back, path("u.Kvl")).ok);
  EXPECT_EQ(back.rows()[0].cmt, "smile \xF0\x9F\x98\x80");
}

TEST_F(ProgramFileTest, LineBreaksInACommentCannotSplitTheRow) {
  Program p;
  p.appendRow(row(kCCode, kCCode, 0, 0, 0, "a();\r\n[0002]:sno:21"));
  ASSERT_TRUE(writeProgramFile(p, path("nl.Kvl"), fileContext()));
  Program back;
  ASSERT_TRUE(read(back, path("nl.Kvl")).ok);
  ASSERT_EQ(back.size(), 1u);
  EXPECT_EQ(back.rows()[0].cmt, "a();  [0002]:sno:21");
}

TEST_F(ProgramFileTest, OverlongOrBinaryTextsCannotMakeTheFileUnreadable) {
  // 600 katakana are 1800 bytes in UTF-8: whole, the row line would overflow the reader's line
  // buffer and the next load would fail on its remainder. A NUL would make the file look binary.
  std::string katakana;
  for (int i = 0; i < 600; ++i) katakana += "\xE3\x82\xA2";
  Program p;
  p.appendRow(row(kCCode, kCCode, 0, 0, 0, katakana));
  p.appendRow(row(kCCode, kCCode, 0, 0, 0, std::string("a\0b", 3)));
  ctx_.io.cnName[0] = std::string(700, 'N');
  ASSERT_TRUE(writeProgramFile(p, path("long.Kvl"), fileContext()));
  Program back;
  ASSERT_TRUE(read(back, path("long.Kvl")).ok);
  ASSERT_EQ(back.size(), 2u);
  const std::string& cut = back.rows()[0].cmt;
  EXPECT_FALSE(cut.empty());
  EXPECT_EQ(cut.size() % 3, 0u) << "cut between characters";
  EXPECT_EQ(katakana.compare(0, cut.size(), cut), 0);
  EXPECT_EQ(back.rows()[1].cmt, "a b");
}

TEST_F(ProgramFileTest, OldVersionConversion) {
  const std::string file = put("old.Kvl",
                               "Title:Main - [ old ]\r\n"
                               "[0001]:sno:31,cno:32,val:012170-000003-000000,cmt:\r\n"
                               "[0002]:sno:31,cno:31,val:012170-000003-000000,cmt:\r\n"
                               "[0003]:sno:01,cno:32,val:000010-000021-000000,cmt:\r\n"
                               "[0004]:sno:01,cno:32,val:000010-000005-000000,cmt:\r\n");
  std::string asked;
  hooks_.askOldVersion = [&](const std::string& title, const std::string& question) {
    asked = title + "|" + question;
    return true;
  };
  Program p;
  ASSERT_TRUE(read(p, file).ok);
  EXPECT_EQ(asked.rfind("Confirm|This program was built using a pre-2014 version of Kavel.\r\n", 0), 0u);
  ASSERT_EQ(p.size(), 4u);
  EXPECT_EQ(p.rows()[0].val0, 12270);
  EXPECT_EQ(p.rows()[0].val1, 29);
  EXPECT_EQ(p.rows()[1].val0, 12270);
  EXPECT_EQ(p.rows()[1].val1, 3) << "a number value is not an operand index";
  EXPECT_EQ(p.rows()[2].val1, 31);
  EXPECT_EQ(p.rows()[3].val1, 1);

  Program declined;
  declined.titleName = "Before";
  hooks_.askOldVersion = [](const std::string&, const std::string&) { return false; };
  EXPECT_FALSE(read(declined, file).ok);
  EXPECT_EQ(declined.size(), 0u);
  EXPECT_EQ(declined.titleName, "Before");
}

TEST_F(ProgramFileTest, SubFilesKeepTheSetRecordsButDecodeTheirSetup) {
  const std::string sub = put("sub.Kvl",
                              "Title:Sub-2 [ sub ] Kavel  [ Ver.20190706 ]\r\n"
                              "CN01:Other\r\n"
                              "[0000]:sno:08,cno:07,val:333111-110000-000000,cmt:sub setup\r\n"
                              "[0001]:sno:29,cno:29,val:001000-000000,cmt:wait\r\n");
  ctx_.io.cnName[0] = "Ball";
  Program p(2);
  ASSERT_TRUE(read(p, sub).ok);
  EXPECT_EQ(ctx_.io.cnName[0], "Ball");
  EXPECT_EQ(ctx_.setup.setupValue[0], 111111);
  EXPECT_EQ(ctx_.setup.setupComment, "");
  EXPECT_EQ(ctx_.io.cnMode[0], 3) << "the setup line still reaches the I/O setup";
  ASSERT_EQ(p.size(), 1u);
  EXPECT_EQ(p.rows()[0], row(kWait, kWait, 1000, 0, 0, "wait")) << "two-value form";
  EXPECT_EQ(p.caption(), "Sub-2 [ sub ]");
}

TEST_F(ProgramFileTest, MainFileTakesNamesAndSetup) {
  const std::string main = put("m.Kvl", std::string(kHeader) + "CN11:ignored\r\nCNxx:ignored\r\n");
  ctx_.io.cnName[1] = "was";
  Program p;
  ASSERT_TRUE(read(p, main).ok);
  EXPECT_EQ(ctx_.io.cnName[0], "Ball");
  EXPECT_EQ(ctx_.io.cnName[1], "");
  EXPECT_EQ(ctx_.io.cnName[8], "RED3");
  EXPECT_EQ(ctx_.setup.setupValue[2], 4);
  EXPECT_FALSE(p.modified);
}

TEST_F(ProgramFileTest, SetupStoredAsFirstRowMarksModified) {
  const std::string file = put("s.Kvl",
                               "Title:Main - [ s ] Kavel  [ Ver.20190706 ]\r\n"
                               "[0001]:sno:08,cno:07,val:111111-110000-000000,cmt:\r\n"
                               "[0002]:sno:20,cno:20,val:000000-000000-000000,cmt:\r\n");
  Program p;
  ASSERT_TRUE(read(p, file).ok);
  EXPECT_EQ(p.size(), 1u);
  EXPECT_TRUE(p.modified);
}

TEST_F(ProgramFileTest, FeatureFlagsAndButtons) {
  std::vector<std::string> events;
  hooks_.setSetupButton = [&](bool v) { events.push_back(v ? "setup+" : "setup-"); };
  hooks_.setLcdButton = [&](bool v) { events.push_back(v ? "lcd+" : "lcd-"); };
  hooks_.productWarning = [&](const std::string& w) { events.push_back("warn:" + w); };
  const std::string file = put("f.Kvl",
                               "Title:Main - [ f ] QV7 Kavel  [ Ver.20190706 ]\r\n"
                               "[0000]:sno:08,cno:07,val:111111-110000-000000,cmt:\r\n"
                               "[0001]:sno:09,cno:09,val:000030-000000-000000,cmt:isr.Kvl\r\n"
                               "[0002]:sno:41,cno:41,val:000000-000000-000000,cmt:hi\r\n"
                               "[0003]:sno:01,cno:40,val:000001-000001-000000,cmt:\r\n");
  ctx_.settings.variant = 1;
  Program p;
  ASSERT_TRUE(read(p, file).ok);
  EXPECT_TRUE(ctx_.io.interruptInUse);
  EXPECT_TRUE(ctx_.io.useLcd);
  EXPECT_TRUE(ctx_.io.advancedMode);
  EXPECT_TRUE(ctx_.io.outputInUse) << "an output test counts too";
  EXPECT_EQ(events, (std::vector<std::string>{"setup-", "lcd-", "warn:This file was made for an older board model.",
                                              "setup-", "lcd+", "setup+"}));
}

TEST_F(ProgramFileTest, EveryRowOfALongFileComesBack) {
  // Before, the reader processed only 1000 lines after the title, so a saved program of more
  // than 989 rows lost its last rows.
  for (const std::size_t rows : {995u, 1000u}) {
    Program p;
    for (std::size_t i = 0; i < rows; ++i) p.appendRow(row(kWait, kWait, static_cast<int>(i), 0, 0));
    ASSERT_TRUE(writeProgramFile(p, path("long.Kvl"), fileContext()));
    Program back;
    ASSERT_TRUE(read(back, path("long.Kvl")).ok);
    ASSERT_EQ(back.size(), rows);
    EXPECT_EQ(back.rows().back().val0, static_cast<int>(rows - 1));
  }
  std::string text = kHeader;
  for (int i = 1; i <= 1005; ++i) text += "[0001]:sno:20,cno:20,val:000000-000000-000000,cmt:\r\n";
  Program over;
  const auto r = read(over, put("over.Kvl", text));
  EXPECT_FALSE(r.ok) << "row lines beyond the program limit are not dropped unsaid";
  EXPECT_EQ(r.outcome, ProgramFileOutcome::Damaged);
  EXPECT_EQ(r.stoppedAt, 1013u);
  EXPECT_NE(r.error.find("Line 1013 of " + path("over.Kvl") + ": the program already holds 1000 rows"), std::string::npos)
      << r.error;
  EXPECT_NE(r.error.find("lines 1013 to 1017 were not read"), std::string::npos) << r.error;
  EXPECT_EQ(over.size(), Program::kMaxRows);
  EXPECT_TRUE(over.modified) << "the window holds less than the file";
}

TEST_F(ProgramFileTest, BadNumberStopsTheLoadAndKeepsEarlierRows) {
  const std::string file = put("bad.Kvl", std::string(kHeader) +
                                              "[0001]:sno:20,cno:20,val:000000-000000-000000,cmt:\r\n"
                                              "[0002]:sno:21,cno:21,val:0000x0-000000-000000,cmt:\r\n"
                                              "[0003]:sno:20,cno:20,val:000000-000000-000000,cmt:\r\n");
  Program p;
  const auto r = read(p, file);
  EXPECT_FALSE(r.ok);
  EXPECT_NE(r.error.find("\"0000x0\""), std::string::npos) << r.error;
  EXPECT_EQ(p.size(), 1u);
  EXPECT_EQ(r.stoppedAt, 14u);
  EXPECT_TRUE(p.modified);

  Program t;
  const auto truncated = read(t, put("trunc.Kvl", std::string(kHeader) + "[0001]:sno:2"));
  EXPECT_FALSE(truncated.ok);
  EXPECT_NE(truncated.error.find("cut short (\"[0001]:sno:2\")"), std::string::npos) << truncated.error;
}

TEST_F(ProgramFileTest, MissingFileLeavesTheProgramAlone) {
  Program p;
  p.appendRow(row(kWait, kWait, 1, 0, 0));
  p.titleName = "Mine";
  const auto r = read(p, path("nothere"));
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(p.statusText, "Can't Open ... " + path("nothere"));
  EXPECT_EQ(p.size(), 1u);
  EXPECT_EQ(p.titleName, "Mine");

  put("plain.Kvl", std::string(kHeader));
  Program q;
  EXPECT_TRUE(read(q, path("plain")).ok) << "the extension is added when missing";
  EXPECT_EQ(q.path, path("plain.Kvl"));

  // A file whose name has no extension opens as named when there is no NAME.Kvl; when neither
  // is there, both names are said.
  put("noext", std::string(kHeader) + "[0001]:sno:20,cno:20,val:000001-000000-000000,cmt:\r\n");
  Program n;
  ASSERT_TRUE(read(n, path("noext")).ok);
  EXPECT_EQ(n.size(), 1u);
  EXPECT_EQ(n.path, path("noext"));
  Program none;
  const auto neither = read(none, path("nothing"));
  EXPECT_EQ(neither.outcome, ProgramFileOutcome::CannotOpen);
  EXPECT_NE(neither.error.find(path("nothing.Kvl")), std::string::npos) << neither.error;
  EXPECT_NE(neither.error.find("there is no file " + path("nothing") + " either"), std::string::npos)
      << neither.error;
}

TEST_F(ProgramFileTest, FailedSaveKeepsTheOldFile) {
  Program p;
  p.appendRow(row(kWait, kWait, 1, 0, 0));
  ASSERT_TRUE(writeProgramFile(p, path("keep.Kvl"), fileContext()));
  std::string before;
  ASSERT_TRUE(text::readFileBytes(path("keep.Kvl"), before));
  const std::string missingDir = path("no/such/dir/x.Kvl");
  EXPECT_FALSE(writeProgramFile(p, missingDir, fileContext()));
  EXPECT_EQ(p.statusText, "Can't Save ... " + missingDir);
  EXPECT_EQ(p.titleName, "keep");

  if (::geteuid() != 0) {  // root ignores folder permissions
    fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec);
    p.appendRow(row(kWait, kWait, 2, 0, 0));
    EXPECT_FALSE(writeProgramFile(p, path("keep.Kvl"), fileContext()));
    fs::permissions(dir_, fs::perms::owner_all);
    std::string after;
    ASSERT_TRUE(text::readFileBytes(path("keep.Kvl"), after));
    EXPECT_EQ(after, before);
  }
}

TEST_F(ProgramFileTest, RobustAgainstDamagedFiles) {
  hooks_.askOldVersion = [](const std::string&, const std::string&) { return true; };
  std::mt19937 rng(7);
  std::string binary(20000, '\0');
  for (auto& c : binary) c = static_cast<char>(rng());
  std::string validFile = kHeader;
  for (int i = 0; i < 20; ++i) validFile += "[0001]:sno:21,cno:21,val:000050-000050-000000,cmt:x\r\n";

  const std::pair<const char*, std::string> files[] = {
      {"empty", ""},
      {"binary", binary},
      {"long line", std::string(kHeader) + "[" + std::string(100000, '9') + "\r\n"},
      {"long comment", std::string(kHeader) + "[0001]:sno:33,cno:33,val:000000-000000-000000,cmt:" +
                           std::string(3000, 'c') + "\r\n"},
      {"cut in the middle", validFile.substr(0, validFile.size() / 2)},
      {"only brackets", std::string(5000, '[')},
      {"many lines", std::string(200000, '\n')},
  };
  for (const auto& [what, bytes] : files) {
    Program p;
    const auto r = read(p, put("damaged.Kvl", bytes));
    EXPECT_LE(p.size(), Program::kMaxRows) << what;
    if (!r.ok) {
      EXPECT_FALSE(r.error.empty()) << what;
    }
  }
}

TEST_F(ProgramFileTest, FileNamesCannotBreakTheTitleLineOrPassForMain) {
  // A line break in the name would put the version marker on a line of its own, and every
  // load would convert the variable rows again.
  int questions = 0;
  hooks_.askOldVersion = [&questions](const std::string&, const std::string&) { return ++questions, true; };
  Program p;
  p.appendRow(row(kVariable, kVariableItem, 12170, 3, 0));
  const std::string file = path("two\nlines.Kvl");
  ASSERT_TRUE(writeProgramFile(p, file, fileContext()));
  Program back;
  ASSERT_TRUE(read(back, file).ok);
  ASSERT_TRUE(read(back, file).ok);
  EXPECT_EQ(questions, 0);
  EXPECT_EQ(back.rows()[0].val0, 12170);

  // Only a title that starts "Title:Main" is a Main file; a Sub named so is still a Sub.
  ctx_.io.cnName[0] = "kept";
  const std::string sub = put("Title:Main.Kvl",
                              "Title:Sub-3 - [ Title:Main ] Kavel  [ Ver.20190706 ]\r\nCN01:taken\r\n");
  Program s(3);
  ASSERT_TRUE(read(s, sub).ok);
  EXPECT_EQ(ctx_.io.cnName[0], "kept");
}

TEST_F(ProgramFileTest, HalfWidthKatakanaSavedInCp932ComeBackAsWritten) {
  const std::string minus = "\xEF\xBE\x8F\xEF\xBD\xB2\xEF\xBE\x85\xEF\xBD\xBD";  // ﾏｲﾅｽ
  const std::string file = put("kana.Kvl", std::string(kHeader) +
                                                "[0001]:sno:20,cno:20,val:000100-000000-000000,cmt:\xCF\xB2\xC5\xBD\r\n");
  Program p;
  ASSERT_TRUE(read(p, file).ok);
  ASSERT_EQ(p.size(), 1u);
  EXPECT_EQ(p.rows()[0].cmt, minus);
  ASSERT_TRUE(writeProgramFile(p, file, fileContext()));
  std::string bytes;
  ASSERT_TRUE(text::readFileBytes(file, bytes));
  EXPECT_NE(bytes.find("cmt:\xCF\xB2\xC5\xBD\r\n"), std::string::npos) << "written back in CP932";
  Program back;
  ASSERT_TRUE(read(back, file).ok);
  EXPECT_EQ(back.rows()[0].cmt, minus);

  // A marked UTF-8 file: the mark is no part of the title.
  const std::string marked = put("marked.Kvl", "\xEF\xBB\xBF" + std::string(kHeader) +
                                                   "[0001]:sno:20,cno:20,val:000100-000000-000000,cmt:" + minus + "\r\n");
  Program m;
  ASSERT_TRUE(read(m, marked).ok);
  EXPECT_EQ(ctx_.io.cnName[0], "Ball") << "the title line was seen as Main's";
  EXPECT_EQ(m.rows()[0].cmt, minus);
}

TEST_F(ProgramFileTest, LinesPastTheRowLimitAreNotRead) {
  std::string text = kHeader;
  for (std::size_t i = 0; i < Program::kMaxRows; ++i) text += "[0001]:sno:20,cno:20,val:000000-000000-000000,cmt:\r\n";
  text += "[1001]:sno:2x,cno:20,val:000000-000000-000000,cmt:\r\n";
  Program p;
  const auto r = read(p, put("limit.Kvl", text));
  EXPECT_FALSE(r.ok) << "a line past the limit is still a line the program does not hold";
  EXPECT_EQ(r.stoppedAt, 1013u);
  EXPECT_EQ(p.size(), Program::kMaxRows);
}

namespace {

// A program file of rows with every kind of field, as the program writes it.
std::string goodFile() {
  return std::string(kHeader) +
         "[0001]:sno:04,cno:01,val:000000-000000-000000,cmt:\r\n"
         "[0002]:sno:01,cno:14,val:000025-000091-000000,cmt:near\r\n"
         "[0003]:sno:21,cno:21,val:433310-000050--00050,cmt:\r\n"
         "[0004]:sno:29,cno:29,val:001500-000000-000000,cmt:wait a while\r\n"
         "[0005]:sno:00,cno:01,val:000000-000000-000000,cmt:\r\n";
}

std::string withLineEnds(const std::string& crlf, const std::vector<std::string>& ends) {
  std::string out;
  std::size_t start = 0, n = 0;
  for (std::size_t at = crlf.find("\r\n"); at != std::string::npos; at = crlf.find("\r\n", start)) {
    out += crlf.substr(start, at - start) + ends[n++ % ends.size()];
    start = at + 2;
  }
  return out + crlf.substr(start);
}

}  // namespace

TEST_F(ProgramFileTest, EveryLineEndReads) {
  Program crlf;
  ASSERT_TRUE(read(crlf, put("crlf.Kvl", goodFile())).ok);
  ASSERT_EQ(crlf.size(), 5u);
  const std::pair<const char*, std::vector<std::string>> cases[] = {
      {"LF", {"\n"}}, {"CR", {"\r"}}, {"CR, LF and CR LF mixed", {"\r", "\n", "\r\n"}}};
  for (const auto& [what, ends] : cases) {
    SCOPED_TRACE(what);
    Program p;
    const auto r = read(p, put("ends.Kvl", withLineEnds(goodFile(), ends)));
    EXPECT_TRUE(r.ok) << r.error;
    ASSERT_EQ(p.size(), crlf.size());
    for (std::size_t i = 0; i < p.size(); ++i) {
      EXPECT_EQ(p.rows()[i].val0, crlf.rows()[i].val0);
      EXPECT_EQ(p.rows()[i].cmt, crlf.rows()[i].cmt) << "no row folded into a comment";
    }
    EXPECT_EQ(ctx_.io.cnName[8], "RED3");
  }
}

TEST_F(ProgramFileTest, DamagedFilesAreNamedWithTheLineAndTheReason) {
  using O = ProgramFileOutcome;
  std::string over = kHeader;
  for (int i = 0; i < 5000; ++i) over += "[0001]:sno:29,cno:29,val:000010-000000-000000,cmt:\r\n";
  const std::string row = "[0001]:sno:29,cno:29,val:000010-000000-000000,cmt:";
  struct Case {
    const char* what;
    std::string bytes;
    O outcome;
    std::size_t stoppedAt;
    std::size_t rowsKept;
    const char* reasonHas;
  } cases[] = {
      {"empty", "", O::NotProgram, 0, 0, "is empty"},
      {"UTF-16 with a mark", std::string("\xFF\xFET\0i\0t\0l\0e\0:\0", 14), O::NotProgram, 0, 0, "UTF-16"},
      {"UTF-16 without a mark", std::string("T\0i\0t\0l\0e\0:\0M\0", 14), O::NotProgram, 0, 0, "UTF-16"},
      {"binary", std::string(kHeader) + row + std::string("\0\x01\x02", 3) + "\r\n", O::NotProgram, 0, 0,
       "binary data (a NUL byte in line 13)"},
      {"another text", "Dear teacher,\r\n" + row + "\r\n", O::NotProgram, 0, 0, "does not begin with \"Title:\""},
      {"row cut in its values", goodFile().substr(0, goodFile().size() - 30), O::Damaged, 17, 4, "cut short"},
      {"row cut after its values", goodFile().substr(0, goodFile().size() - 5), O::Damaged, 17, 4, "cut short"},
      {"value not a number", std::string(kHeader) + "[0001]:sno:29,cno:29,val:00001x-000000-000000,cmt:\r\n",
       O::Damaged, 13, 0, "\"00001x\" is not a number (columns 26 to 31)"},
      {"separator out of place", std::string(kHeader) + "[0001]:sno:29;cno:29,val:000010-000000-000000,cmt:\r\n",
       O::Damaged, 13, 0, "does not have the columns of a program row"},
      {"5000 rows", over, O::Damaged, 1013, 1000, "already holds 1000 rows"},
      {"a line that is no line of a program file", std::string(kHeader) + row + "\r\nhello\r\n" + row + "\r\n",
       O::Damaged, 14, 1, "not a line of a Kavel program file (\"hello\")"},
      {"line longer than the line buffer", std::string(kHeader) + row + std::string(600, 'c') + "\r\n", O::Damaged,
       13, 0, "longer than 511 bytes"},
      {"bytes that are no text", std::string(kHeader) + row + "\x80\xFF\r\n", O::Damaged, 13, 0,
       "neither Shift-JIS nor UTF-8"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Program p;
    p.appendRow(::kavel::testing::row(kWait, kWait, 7, 0, 0));
    const auto r = read(p, put("damaged.Kvl", c.bytes));
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.outcome, c.outcome);
    EXPECT_EQ(r.stoppedAt, c.stoppedAt);
    EXPECT_NE(r.error.find(path("damaged.Kvl")), std::string::npos) << r.error;
    EXPECT_NE(r.error.find(c.reasonHas), std::string::npos) << r.error;
    if (c.outcome == O::NotProgram) {
      ASSERT_EQ(p.size(), 1u) << "a file that is no program file changes nothing";
      EXPECT_EQ(p.rows()[0].val0, 7);
    } else {
      EXPECT_EQ(p.size(), c.rowsKept);
      EXPECT_TRUE(p.modified);
      EXPECT_NE(r.error.find(text::format("Line %zu of ", c.stoppedAt)), std::string::npos) << r.error;
    }
  }
}

TEST_F(ProgramFileTest, AFileCutAnywhereNeverGivesARowOtherValues) {
  // Before, about half of the cut points were read without a word, the last row with other
  // values (433310 became 000433). Now a cut either fails the read, or leaves rows that are
  // the file's own first rows, the last one at most with a shorter comment.
  const std::string whole = goodFile();
  Program full;
  ASSERT_TRUE(read(full, put("whole.Kvl", whole)).ok);
  for (std::size_t cut = 0; cut < whole.size(); ++cut) {
    SCOPED_TRACE(cut);
    Program p;
    const auto r = read(p, put("cut.Kvl", whole.substr(0, cut)));
    if (!r.ok) {
      EXPECT_FALSE(r.error.empty());
    }
    ASSERT_LE(p.size(), full.size());
    for (std::size_t i = 0; i < p.size(); ++i) {
      const Statement& got = p.rows()[i];
      const Statement& want = full.rows()[i];
      EXPECT_EQ(std::tie(got.sno, got.cno, got.val0, got.val1, got.val2),
                std::tie(want.sno, want.cno, want.val0, want.val1, want.val2));
      EXPECT_EQ(want.cmt.compare(0, got.cmt.size(), got.cmt), 0);
    }
  }
}

TEST_F(ProgramFileTest, FileNamesThatAreNoUtf8KeepTheirBytes) {
  // A Sub's file name from another system goes into the SubCall row's comment; before, it came
  // back with U+FFFD in place of its bytes and no longer named its file.
  const std::string name = "\xFF\xFEsub";
  Program p;
  p.appendRow(row(kSubCall, kSubCall, 2, 0, 0, name));
  ASSERT_TRUE(writeProgramFile(p, path("main.Kvl"), fileContext()));
  Program back;
  ASSERT_TRUE(read(back, path("main.Kvl")).ok);
  ASSERT_EQ(back.size(), 1u);
  EXPECT_EQ(back.rows()[0].cmt, name);

  // A file whose own name is no UTF-8 is written and read under that very name.
  const std::string odd = path("\xE9t\xE9.Kvl");
  ASSERT_TRUE(writeProgramFile(p, odd, fileContext()));
  EXPECT_TRUE(fs::exists(odd));
  Program again;
  ASSERT_TRUE(read(again, odd).ok);
  EXPECT_EQ(again.path, odd);
}
