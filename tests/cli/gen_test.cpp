#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>

#include "RunProcess.h"
#include "TempFolder.h"

using kavel::testing::runProcess;
using kavel::testing::slurp;
namespace fs = std::filesystem;

namespace {

const std::string kKavel = KAVEL_BIN_DIR "/kavel";
const std::string kData = KAVEL_TEST_DATA;
const std::string kGolden = kData + "/golden/";
const std::string kSep = "//" + std::string(80, '-');

std::string outDir(const std::string& name) {
  static kavel::testing::TempFolder temp("kavel-cli-gen");
  const fs::path dir = temp.path() / name;
  fs::remove_all(dir);
  fs::create_directories(dir);
  return dir.string();
}

}  // namespace

TEST(KavelGen, WritesUserCAndConfigHeaderAsTheBuildDoes) {
  const std::string out = outDir("golden");
  const auto r = runProcess({kKavel, "gen", kGolden + "golden.Kvl", "--out", out, "--pwron"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(slurp(out + "/User.c"), slurp(kGolden + "User.c"));
  EXPECT_EQ(slurp(out + "/M_Type.h"), slurp(kGolden + "M_Type.h"));

  const std::string plain = outDir("plain");
  ASSERT_EQ(runProcess({kKavel, "gen", kGolden + "golden.Kvl", "--out", plain}).exitCode, 0);
  std::string header = slurp(kGolden + "M_Type.h");
  header.erase(header.find("#define PWRON_RUN\r\n"), 19);
  EXPECT_EQ(slurp(plain + "/M_Type.h"), header);
  EXPECT_EQ(slurp(plain + "/User.c"), slurp(kGolden + "User.c"));
}

TEST(KavelGen, UnreadableSubIsAWarning) {
  const std::string out = outDir("sub");
  const auto r = runProcess({kKavel, "gen", kData + "/sample.Kvl", "--out", out});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.err.find("Sub-2"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("Turn.Kvl"), std::string::npos) << r.err;
  const std::string userC = slurp(out + "/User.c");
  EXPECT_NE(userC.find("// Program Name : Turn.C\r\n" + kSep + "\r\nvoid user_sub_2(void)\r\n{\r\n}\r\n"), std::string::npos)
      << userC;
  EXPECT_NE(userC.find("    if (get_ping(CN10) > 250) {\r\n"), std::string::npos);
}

TEST(KavelGen, Failures) {
  const std::string out = outDir("fail");
  const auto missing = runProcess({kKavel, "gen", kData + "/missing.Kvl", "--out", out});
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_NE(missing.err.find("missing.Kvl"), std::string::npos) << missing.err;

  const auto bad = runProcess({kKavel, "gen", kData + "/bad.Kvl", "--out", out});
  EXPECT_EQ(bad.exitCode, 1);
  EXPECT_NE(bad.err.find("\"00005?\""), std::string::npos) << bad.err;
  EXPECT_FALSE(fs::exists(out + "/User.c")) << "a program that did not read whole is not generated";

  const auto created = runProcess({kKavel, "gen", kGolden + "golden.Kvl", "--out", out + "/new/folder"});
  EXPECT_EQ(created.exitCode, 0) << created.err;
  EXPECT_TRUE(fs::exists(out + "/new/folder/User.c")) << "a missing output folder is created";

  std::ofstream(out + "/file") << "x";
  const auto notFolder = runProcess({kKavel, "gen", kGolden + "golden.Kvl", "--out", out + "/file/sub"});
  EXPECT_EQ(notFolder.exitCode, 1);
  EXPECT_NE(notFolder.err.find("cannot create the output folder"), std::string::npos) << notFolder.err;

  const std::string locked = out + "/locked";
  fs::create_directories(locked);
  std::ofstream(locked + "/User.c") << "old";
  fs::permissions(locked + "/User.c", fs::perms::owner_read);
  const auto readOnly = runProcess({kKavel, "gen", kGolden + "golden.Kvl", "--out", locked});
  fs::permissions(locked + "/User.c", fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(readOnly.exitCode, 1);
  EXPECT_NE(readOnly.err.find("File Error: Can't perform one of the following file operations: Open, Write, Close."),
            std::string::npos)
      << readOnly.err;
  EXPECT_NE(readOnly.err.find("read-only"), std::string::npos) << readOnly.err;

  struct Case {
    std::vector<std::string> args;
    const char* expected;
  } usage[] = {
      {{"gen"}, "no program file"},
      {{"gen", "a.Kvl"}, "--out"},
      {{"gen", "a.Kvl", "--out"}, "--out"},
      {{"gen", "a.Kvl", "b.Kvl", "--out", "x"}, "unexpected argument"},
      {{"gen", "a.Kvl", "--out", "x", "--sub", "2"}, "unexpected argument"},
      {{"view"}, "no program file"},
      {{"view", "a.Kvl", "--sub", "0"}, "--sub"},
  };
  for (const auto& c : usage) {
    std::vector<std::string> argv{kKavel};
    argv.insert(argv.end(), c.args.begin(), c.args.end());
    const auto r = runProcess(argv);
    EXPECT_EQ(r.exitCode, 2) << c.expected;
    EXPECT_NE(r.err.find(c.expected), std::string::npos) << r.err;
  }
  const auto help = runProcess({kKavel, "--help"});
  EXPECT_NE(help.out.find("gen FILE --out DIR [--pwron]"), std::string::npos);
  EXPECT_NE(help.out.find("view FILE [--sub N]"), std::string::npos);
}

TEST(KavelView, PrintsTheCodeViewOfOneProgram) {
  const auto main = runProcess({kKavel, "view", kData + "/sample.Kvl"});
  EXPECT_EQ(main.exitCode, 0) << main.err;
  EXPECT_EQ(main.err, "");
  EXPECT_EQ(main.out, "001|" + kSep + "\n" +
                          "002|#include \"M_Main.h\"\n"
                          "003|#include \"M_I2C.h\"\n"
                          "004|#include \"M_SIO.h\"\n"
                          "005|#include \"M_EIO.h\"\n"
                          "006|" + kSep + "\n" +
                          "007|// Program Name : sample.C\n"
                          "008|" + kSep + "\n" +
                          "009|void user_main(void)\n"
                          "010|{\n"
                          "011|  while (TRUE) {\n"
                          "012|    if (get_ping(CN10) > 250) {\n"
                          "013|      motor(50, 50);\n"
                          "014|    } else {\n"
                          "015|      wait_ms(1500);\n"
                          "016|    }\n"
                          "017|    user_sub_2();\n"
                          "018|  }\n"
                          "019|}\n"
                          "020|" + kSep + "\n");

  const auto sub = runProcess({kKavel, "view", kGolden + "Tick.Kvl", "--sub", "30"});
  EXPECT_EQ(sub.exitCode, 0) << sub.err;
  EXPECT_NE(sub.out.find("007|// Program Name : Tick.C\n008|" + kSep + "\n009|void user_sub_30(void)\n010|{\n"
                         "011|stt_snx4410();\n012|  if (gAD[CN10] < 511) {\n"),
            std::string::npos)
      << sub.out;

  const auto missing = runProcess({kKavel, "view", kData + "/missing.Kvl"});
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_EQ(missing.out, "");
  EXPECT_NE(missing.err.find("missing.Kvl"), std::string::npos);
}

TEST(KavelGen, SubNamingAPipeIsRefusedNotWaitedFor) {
  const std::string out = outDir("fifo");
  fs::copy_file(kData + "/sample.Kvl", out + "/sample.Kvl");
  ASSERT_EQ(::mkfifo((out + "/Turn.Kvl").c_str(), 0644), 0);
  const auto r = runProcess({kKavel, "gen", out + "/sample.Kvl", "--out", out});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.err.find("Sub-2"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("pipe"), std::string::npos) << r.err;
}
