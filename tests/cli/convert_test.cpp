#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

#include "TempFolder.h"
#include "RunProcess.h"

using kavel::testing::runProcess;
namespace fs = std::filesystem;

namespace {

const std::string kKavel = KAVEL_BIN_DIR "/kavel";
const std::string kData = KAVEL_TEST_DATA;

class KavelConvert : public ::testing::Test {
 protected:
  std::string path(const std::string& name) const { return (dir / name).string(); }
  static std::string contents(const std::string& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  }
  kavel::testing::TempFolder temp_{"kavel-cli-convert"};
  fs::path dir = temp_.path();
};

TEST_F(KavelConvert, BringsAnOldFileToTheCurrentFormat) {
  const auto r = runProcess({kKavel, "convert", kData + "/old.Kvl", "--out", path("new.Kvl")});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.err.find("before 2014"), std::string::npos) << "the conversion is reported: " << r.err;
  const std::string out = contents(path("new.Kvl"));
  EXPECT_TRUE(out.starts_with("Title:Main - [ new ] ")) << out;
  EXPECT_NE(out.find("Ver.20190706"), std::string::npos);
  EXPECT_NE(out.find("[0001]:sno:31,cno:32,val:012270-000029-000000,cmt:\r\n"), std::string::npos) << out;

  // The converted file is current: converting it again changes nothing but the name.
  const auto again = runProcess({kKavel, "convert", path("new.Kvl"), "--out", path("new.Kvl")});
  ASSERT_EQ(again.exitCode, 0) << again.err;
  EXPECT_EQ(again.err, "");
  EXPECT_EQ(contents(path("new.Kvl")), out);
}

TEST_F(KavelConvert, FailuresNameTheFileAndTheReason) {
  ASSERT_EQ(::mkfifo(path("pipe.Kvl").c_str(), 0644), 0);
  std::ofstream(path("text.Kvl")) << "hello\n";
  struct Case {
    std::vector<std::string> args;
    int exitCode;
    std::string says;
  } cases[] = {
      {{"convert"}, 1, "no program file given"},
      {{"convert", kData + "/old.Kvl"}, 1, "--out"},
      {{"convert", kData + "/old.Kvl", "--out", path("x.Kvl"), "--sub", "31"}, 1, "1 to 30"},
      {{"convert", path("none.Kvl"), "--out", path("x.Kvl")}, 1, path("none.Kvl")},
      {{"convert", path("pipe.Kvl"), "--out", path("x.Kvl")}, 1, "pipe"},
      {{"convert", path("text.Kvl"), "--out", path("x.Kvl")}, 1, "not a Kavel program file"},
      {{"convert", kData + "/sample.Kvl", "--out", path("no/such/folder/x.Kvl")}, 2, path("no/such/folder/x.Kvl")},
      {{"convert", kData + "/sample.Kvl", "--out", path("pipe.Kvl")}, 2, "not a regular file"},
  };
  for (Case& c : cases) {
    c.args.insert(c.args.begin(), kKavel);
    const auto r = runProcess(c.args);
    EXPECT_EQ(r.exitCode, c.exitCode) << c.says << "\n" << r.err;
    EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
  }
  EXPECT_FALSE(fs::exists(path("x.Kvl")));
}

}  // namespace
