#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/i18n/MessageTable.h"
#include "core/model/ProgramFileCheck.h"
#include "core/settings/AppSettings.h"
#include "core/setup/IoSetup.h"
#include "TempFolder.h"

using namespace kavel;
namespace fs = std::filesystem;

namespace {

class ProgramFileCheckTest : public ::testing::Test {
 protected:
  std::string write(const std::string& name, const std::string& bytes) {
    const fs::path p = dir / name;
    std::ofstream(p, std::ios::binary) << bytes;
    return p.string();
  }

  ProgramFileCheck check(const std::string& path) {
    ProgramFileContext c{settings, io, setup, messages, "MORVANE Kavel for Wrenlet CORE  [ Ver.20190706 ]"};
    return checkProgramFile(path, c);
  }

  kavel::testing::TempFolder temp_{"kavel-check"};
  fs::path dir = temp_.path();
  AppSettings settings;
  IoSetup io;
  SetupRecord setup;
  MessageTable messages;
};

const std::string kGood =
    "Title:Main - [ A ] MORVANE Kavel for Wrenlet CORE  [ Ver.20190706 ]\r\n"
    "CN01:Ball\r\n"
    "[0000]:sno:08,cno:07,val:111111-110000-000000,cmt:\r\n"
    "[0001]:sno:21,cno:21,val:000050-000050-000000,cmt:\r\n";

}  // namespace

TEST_F(ProgramFileCheckTest, RefusesWhatIsNotAProgramFileBeforeAnythingChanges) {
  using V = ProgramFileCheck::Verdict;
  struct Case {
    const char* what;
    std::string name;
    std::string bytes;
    V verdict;
    const char* reasonHas;
  };
  const Case cases[] = {
      {"a program file", "good.Kvl", kGood, V::Ok, ""},
      {"with a byte-order mark", "bom.Kvl", "\xEF\xBB\xBF" + kGood, V::Ok, ""},
      {"empty", "empty.Kvl", "", V::NotProgram, "is empty"},
      {"binary", "pic.Kvl", std::string("\xFF\xD8\xFF\xE0\0\x10JFIF", 10), V::NotProgram, "binary"},
      {"another text file", "notes.Kvl", "shopping list\r\nmilk\r\n", V::NotProgram, "does not begin with \"Title:\""},
      {"a row line cut short", "cut.Kvl", kGood + "[0002]:sno:29,cno:2", V::Damaged, "cut short"},
      {"a value that is not a number", "bad.Kvl", kGood + "[0002]:sno:29,cno:29,val:00x500-000000-000000,cmt:\r\n",
       V::Damaged, "not a number"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const ProgramFileCheck r = check(write(c.name, c.bytes));
    EXPECT_EQ(r.verdict, c.verdict);
    EXPECT_NE(r.reason.find(c.reasonHas), std::string::npos) << r.reason;
  }
  // The trial read changed none of the records.
  EXPECT_EQ(io.cnName[0], "");
  EXPECT_EQ(setup.setupValue[0], 111111);
}

TEST_F(ProgramFileCheckTest, MissingOversizedAndExtensionlessFiles) {
  using V = ProgramFileCheck::Verdict;
  EXPECT_EQ(check((dir / "none.Kvl").string()).verdict, V::CannotOpen);
  EXPECT_EQ(check(dir.string()).verdict, V::CannotOpen);  // a folder

  write("plain.Kvl", kGood);
  EXPECT_EQ(check((dir / "plain").string()).verdict, V::Ok);  // ".Kvl" is added as the reader does

  const std::string big = write("big.Kvl", kGood);
  fs::resize_file(big, kMaxProgramFileBytes + 1);
  EXPECT_EQ(check(big).verdict, V::NotProgram);

  EXPECT_EQ(checkCodeFile(write("ok.c", "void user_main(void)\r\n{\r\n}\r\n")).verdict, V::Ok);
  EXPECT_EQ(checkCodeFile(write("bin.c", std::string("\x7f" "ELF\0\0", 6))).verdict, V::NotProgram);
  EXPECT_EQ(checkCodeFile((dir / "none.c").string()).verdict, V::CannotOpen);
}
