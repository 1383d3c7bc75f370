#include <gtest/gtest.h>

#include <algorithm>

#include <filesystem>
#include <fstream>

#include "RunProcess.h"
#include "TempFolder.h"

using kavel::testing::runProcess;
namespace fs = std::filesystem;

namespace {

const std::string kKavel = KAVEL_BIN_DIR "/kavel";
const std::string kData = KAVEL_TEST_DATA;

// A settings file whose English messages come from a small file of our own, so the time unit
// of a Wait row is known.
std::string testIni() {
  static kavel::testing::TempFolder temp("kavel-cli-rows");
  const fs::path dir = temp.path();
  std::ofstream(dir / "msg.Txt") << "[126]:sec\r\n";
  std::ofstream(dir / "test.ini") << "[LANGUAGE]\r\nLANG_NO_=1\r\nLANG_1__=" << (dir / "msg.Txt").string() << "\r\n";
  return (dir / "test.ini").string();
}

}  // namespace

TEST(KavelRows, ListsRowsWithLevelsValuesAndTexts) {
  const auto r = runProcess({kKavel, "--ini", testIni(), "rows", kData + "/sample.Kvl"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out,
            "1\t0\t4\t1\t0\t0\t0\tInfinite Loop\n"
            "2\t1\t1\t14\t25\t91\t0\tCN10 > 25cm  //near\n"
            "3\t2\t21\t21\t50\t50\t0\tL:  50%  R:  50%\n"
            "4\t1\t3\t0\t0\t0\t0\t\n"
            "5\t2\t29\t29\t1500\t0\t0\tWait: 1.5 sec\n"
            "6\t1\t0\t2\t0\t0\t0\t\n"
            "7\t1\t9\t9\t2\t0\t0\tSub-2: Turn.Kvl\n"
            "8\t0\t0\t3\t0\t0\t0\t\n");
  EXPECT_EQ(r.err, "");
}

TEST(KavelRows, TextsFollowTheProgramAndLanguage) {
  const auto sub30 = runProcess({kKavel, "--ini", testIni(), "rows", kData + "/sample.Kvl", "--sub", "30"});
  EXPECT_EQ(sub30.exitCode, 0);
  EXPECT_NE(sub30.out.find("\tCN10 > 25%  //near\n"), std::string::npos) << "no ping in the interrupt routine";

  const auto japanese = runProcess({kKavel, "--lang", "0", "rows", kData + "/sample.Kvl"});
  EXPECT_EQ(japanese.exitCode, 0);
  EXPECT_EQ(japanese.out.rfind("1\t0\t4\t1\t0\t0\t0\t\u7121\u6761\u4EF6\u30EB\u30FC\u30D7\n", 0), 0u);
}

TEST(KavelRows, OldFilesAreConvertedAndWarnedAbout) {
  const auto r = runProcess({kKavel, "rows", kData + "/old.Kvl"});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out.substr(0, r.out.find('\t', r.out.find("32\t") + 3)), "1\t0\t31\t32\t12270");
  EXPECT_NE(r.err.find("before 2014"), std::string::npos) << r.err;
}

TEST(KavelRows, Failures) {
  const auto bad = runProcess({kKavel, "rows", kData + "/bad.Kvl"});
  EXPECT_EQ(bad.exitCode, 1);
  EXPECT_EQ(bad.out, "") << "the rows before the bad line would pass for the whole program";
  EXPECT_NE(bad.err.find("\"00005?\""), std::string::npos) << bad.err;

  const auto missing = runProcess({kKavel, "rows", kData + "/missing.Kvl"});
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_EQ(missing.out, "");
  EXPECT_NE(missing.err.find("missing.Kvl"), std::string::npos) << missing.err;

  struct Case {
    std::vector<std::string> args;
    const char* expected;
  } usage[] = {
      {{"rows"}, "no program file"},
      {{"rows", "a.Kvl", "--sub", "31"}, "--sub"},
      {{"--variant", "9", "rows", "a.Kvl"}, "--variant"},
      {{"--lang"}, "--lang"},
      {{"frobnicate"}, "unknown command"},
  };
  for (const auto& c : usage) {
    std::vector<std::string> argv{kKavel};
    argv.insert(argv.end(), c.args.begin(), c.args.end());
    const auto r = runProcess(argv);
    EXPECT_EQ(r.exitCode, 2) << c.expected;
    EXPECT_NE(r.err.find(c.expected), std::string::npos) << r.err;
  }
}
