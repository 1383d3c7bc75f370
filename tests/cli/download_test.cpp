// kavel download against the virtual board: the whole transfer, every fault, the banner table.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "RunProcess.h"
#include "TempFolder.h"
#include "VirtualBoardProcess.h"

using kavel::testing::runProcess;
using kavel::testing::slurp;
using kavel::testing::VirtualBoardProcess;
namespace fs = std::filesystem;

namespace {

const std::string kKavel = KAVEL_BIN_DIR "/kavel";
const std::string kHex = KAVEL_TEST_DATA "/hex/";

std::string tempFile(const std::string& name) {
  static const kavel::testing::TempFolder temp("kavel-cli-serial");
  return temp / name;
}

std::string iniWith(const std::string& name, const std::string& body) {
  const std::string path = tempFile(name);
  std::ofstream(path, std::ios::binary) << body;
  return path;
}

}  // namespace

TEST(KavelDownload, SendsTheImageAndRunsIt) {
  for (const char* file : {"User.Hex", "UserLF.Hex"}) {
    const std::string log = tempFile("vboard_full.log");
    VirtualBoardProcess board({"--verbose"}, log);
    ASSERT_FALSE(board.path().empty());
    const auto r = runProcess({kKavel, "download", kHex + file, "--port", board.path()});
    EXPECT_EQ(r.exitCode, 0) << file << ": " << r.err;
    EXPECT_EQ(r.out, "boot loader: WL Loader2520 Ver.1.05\nsent 32 lines of " + kHex + file + " to " + board.path() +
                         "; the program runs\n");
    // Not a terminal: plain progress lines, ending at 100 %.
    EXPECT_NE(r.err.find("kavel download: 100% (32 of 32 lines)\n"), std::string::npos) << r.err;
    board.stop();
    EXPECT_NE(slurp(log).find("the program runs (32 HEX lines received)"), std::string::npos) << file << slurp(log);
  }
}

TEST(KavelDownload, NoRunLeavesTheBoardInItsLoader) {
  const std::string log = tempFile("vboard_norun.log");
  VirtualBoardProcess board({"--verbose"}, log);
  const auto r = runProcess({kKavel, "download", kHex + "User.Hex", "--port", board.path(), "--no-run"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out.find("the program runs"), std::string::npos);
  board.stop();
  EXPECT_EQ(slurp(log).find("the program runs"), std::string::npos);
}

TEST(KavelDownload, BoardFaults) {
  const std::string ini = iniWith("download_fast.ini", "[COMPORT]\r\nAck_Tout=200\r\n");
  struct Case {
    std::vector<std::string> fault;
    int exitCode;
    std::string message;
  } cases[] = {
      {{"--no-ack-at", "5"}, 4, "transfer failed: Ack Tout! no \".\" for line 5 within 200 ms"},
      {{"--error-at", "7"}, 4, "transfer failed: the boot loader answered line 7 with \"checksum error at line 7\""},
      {{"--hangup-at", "9"}, 4, "transfer failed: the link broke off at line 9"},
      {{"--wrong-banner"}, 3, "Can't Download: the boot loader \"QV7B Loader2620 Ver.3.00\" does not fit"},
      {{"--mute"}, 2, "no board answered \"Ver\" on "},
      {{"--no-prompt"}, 2, "no boot-loader prompt (\"Please send [.hex] file.\") within 1000 ms of \"Reset\""},
      {{"--slow-ack", "30"}, 0, ""},
      {{"--garbage"}, 0, ""},
  };
  for (const Case& c : cases) {
    VirtualBoardProcess board(c.fault);
    ASSERT_FALSE(board.path().empty());
    const auto r = runProcess({kKavel, "--ini", ini, "download", kHex + "User.Hex", "--port", board.path()});
    EXPECT_EQ(r.exitCode, c.exitCode) << c.fault[0] << ": " << r.err;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << c.fault[0] << ": " << r.err;
  }
}

TEST(KavelDownload, BannerMustFitVariantAndMicrocontroller) {
  const std::string mcu2620 = iniWith("download_2620.ini", "[PRJ]\r\nMCU2620_=1\r\n");
  const std::string mcu2520 = iniWith("download_2520.ini", "[PRJ]\r\nMCU2620_=0\r\n");
  struct Case {
    std::string banner;
    std::string ini;
    std::string variant;
    int exitCode;
  } cases[] = {
      {"WL Loader2520 Ver.1.05", mcu2520, "3", 0},
      {"WL Loader2620 Ver.1.05", mcu2520, "3", 3},
      {"WL Loader2620 Ver.1.05", mcu2620, "3", 0},
      {"WL Loader2520 Ver.1.05", mcu2620, "4", 3},
      {"WL-101 Loader2520", mcu2520, "4", 0},
      {"Glent Loader2620", mcu2620, "0", 0},
      {"QV7B Loader2620", mcu2620, "2", 0},
      {"Loader2620", mcu2620, "0", 3},
  };
  for (const Case& c : cases) {
    VirtualBoardProcess board({"--banner", c.banner, "--version", "Glent QV7B Wrenlet board"});
    const auto r = runProcess(
        {kKavel, "--ini", c.ini, "--variant", c.variant, "download", kHex + "User.Hex", "--port", board.path()});
    EXPECT_EQ(r.exitCode, c.exitCode) << c.banner << " variant " << c.variant << ": " << r.err;
  }
}

TEST(KavelDownload, AnUnknownLoaderIsNamedAndOnlySentToWhenAccepted) {
  struct Case {
    std::vector<std::string> extra;
    int exitCode;
    std::string says;
  } cases[] = {
      {{}, 3, "the boot loader \"Acme Boot 1.0\" is not one of a known product; nothing was sent "
              "(--any-loader sends the image all the same)"},
      {{"--any-loader"}, 0, ""},
  };
  for (const Case& c : cases) {
    const std::string log = tempFile("vboard_unknown.log");
    VirtualBoardProcess board({"--banner", "Acme Boot 1.0", "--verbose"}, log);
    std::vector<std::string> argv{kKavel, "download", kHex + "User.Hex", "--port", board.path()};
    argv.insert(argv.end(), c.extra.begin(), c.extra.end());
    const auto r = runProcess(argv);
    EXPECT_EQ(r.exitCode, c.exitCode) << r.err;
    EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
    board.stop();
    if (c.exitCode != 0) {
      EXPECT_EQ(slurp(log).find("got \":10"), std::string::npos) << "nothing of the image reaches a refused loader";
    }
  }
  // Something else on the port: what answered is named.
  VirtualBoardProcess other({"--version", "Acme Robot v1"});
  const auto r = runProcess({kKavel, "download", kHex + "User.Hex", "--port", other.path()});
  EXPECT_EQ(r.exitCode, 2) << r.err;
  EXPECT_NE(r.err.find("another board answered: \"Acme Robot v1\""), std::string::npos) << r.err;
}

TEST(KavelDownload, FileAndPortErrors) {
  VirtualBoardProcess board;
  struct Case {
    std::vector<std::string> args;
    int exitCode;
    std::string message;
  } cases[] = {
      {{"download"}, 1, "no HEX file given"},
      {{"download", kHex + "User.Hex"}, 1, "no port given (--port PORT)"},
      {{"download", kHex + "User.Hex", "--port"}, 1, "--port needs the serial port"},
      {{"download", kHex + "User.Hex", "--port", board.path(), "--bogus"}, 1, "unexpected argument \"--bogus\""},
      {{"download", kHex + "missing.Hex", "--port", board.path()}, 1, "cannot open " + kHex + "missing.Hex"},
      {{"download", kHex + "BadChecksum.Hex", "--port", board.path()}, 1, "BadChecksum.Hex: line 6: checksum is"},
      {{"download", kHex, "--port", board.path()}, 1, "is not a regular file"},
      {{"download", kHex + "User.Hex", "--port", "/dev/kavel-no-such-port"}, 2, "/dev/kavel-no-such-port does not exist"},
      {{"download", kHex + "User.Hex", "--port", "/dev/null"}, 2, "/dev/null is not a serial port"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> argv{kKavel};
    argv.insert(argv.end(), c.args.begin(), c.args.end());
    const auto r = runProcess(argv);
    EXPECT_EQ(r.exitCode, c.exitCode) << c.message << ": " << r.err;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
  }
}
