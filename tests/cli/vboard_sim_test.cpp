// vboard --sim: the simulated robot is a board too. The monitors' commands reach it over its
// pseudo-terminal, its reports carry the simulated sensors, and kavel monitor reads them.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "ProgramFiles.h"
#include "RunProcess.h"
#include "VirtualBoardProcess.h"

using kavel::testing::kvlRow;
using kavel::testing::runProcess;
using kavel::testing::VirtualBoardProcess;
using kavel::testing::writeKvl;
namespace fs = std::filesystem;

namespace {

/// The line to the board: writes commands, reads lines until one holds what is looked for.
class Line {
 public:
  explicit Line(const std::string& path) : fd_(::open(path.c_str(), O_RDWR | O_NOCTTY)) {}
  ~Line() {
    if (fd_ >= 0) ::close(fd_);
  }
  bool open() const { return fd_ >= 0; }
  void send(const std::string& command) {
    const std::string bytes = command + "\r\n";
    EXPECT_EQ(::write(fd_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  }
  /// The first line within 5 s that contains `text`; "" when none came.
  std::string waitFor(const std::string& text) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (std::chrono::steady_clock::now() < deadline) {
      const std::size_t end = buffer_.find("\r\n");
      if (end != std::string::npos) {
        const std::string line = buffer_.substr(0, end);
        buffer_.erase(0, end + 2);
        if (line.find(text) != std::string::npos) return line;
        continue;
      }
      pollfd p{fd_, POLLIN, 0};
      if (::poll(&p, 1, 100) > 0) {
        char chunk[512];
        const ssize_t n = ::read(fd_, chunk, sizeof chunk);
        if (n > 0) buffer_.append(chunk, static_cast<std::size_t>(n));
      }
    }
    return {};
  }

 private:
  int fd_;
  std::string buffer_;
};

class SimBoard : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/kavel_vboard_sim_XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    dir_ = pattern;
    // Green LED on, then stand still against the top wall for a long time.
    writeKvl(program(), {kvlRow(35, 35, 0, 1), kvlRow(29, 29, 30000), kvlRow(29, 29, 30000)});
    std::ofstream(world()) << R"({"field": {"width_mm": 2000, "height_mm": 1500}, "robot": {"at": [1000, 1410]}})";
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string program() const { return (dir_ / "still.Kvl").string(); }
  std::string world() const { return (dir_ / "wall.json").string(); }

  fs::path dir_;
};

}  // namespace

TEST_F(SimBoard, TheMonitorsCommandsReachTheSimulatedRobot) {
  VirtualBoardProcess board({"--sim", program(), "--world", world(), "--rate", "50"});
  ASSERT_FALSE(board.path().empty()) << "vboard --sim printed no terminal";
  Line line(board.path());
  ASSERT_TRUE(line.open());
  line.send("Ver");
  EXPECT_NE(line.waitFor("Wrenlet"), "");
  line.send("S0:1");
  EXPECT_EQ(line.waitFor("CNio:"), "CNio:1111111100 USE_LCD") << "the program's own setup";
  const std::string report = line.waitFor("CN3=1023");
  EXPECT_NE(report, "") << "L-Touch pressed against the wall";
  EXPECT_NE(report.find(",LED=100"), std::string::npos) << report;
  line.send("O8:1");
  EXPECT_NE(line.waitFor("CN9=1000"), "") << "the output set from the monitor";
  line.send("S0:0");
  line.send("S1:1");
  EXPECT_EQ(line.waitFor("D:"), "D:000,090,090");
}

TEST_F(SimBoard, KavelMonitorShowsTheSimulatedSensors) {
  VirtualBoardProcess board({"--sim", program(), "--world", world(), "--rate", "20"});
  ASSERT_FALSE(board.path().empty());
  const auto r = runProcess({KAVEL_BIN_DIR "/kavel", "monitor", "--port", board.path(), "--seconds", "2"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  ASSERT_NE(r.out.find("time_ms,CN1,"), std::string::npos) << r.out;
  // CN3 and CN4 (the bumper) at 100 percent, the green LED on.
  EXPECT_NE(r.out.find(",0,0,100,100,0,0,0,0,0,0,1,0,0\n"), std::string::npos) << r.out;
}

TEST(SimBoardStart, AProgramThatDoesNotCompileIsToldAndNoTerminalOpens) {
  char pattern[] = "/tmp/kavel_vboard_bad_XXXXXX";
  ASSERT_NE(::mkdtemp(pattern), nullptr);
  const std::string prog = std::string(pattern) + "/bad.Kvl";
  writeKvl(prog, {kvlRow(33, 33, 0, 0, 0, "nothing_here++;")});
  const auto r = runProcess({KAVEL_BIN_DIR "/vboard", "--sim", prog});
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_EQ(r.out, "") << "no terminal path";
  EXPECT_NE(r.err.find("User.c:26:Error:"), std::string::npos) << r.err;
  fs::remove_all(pattern);
}
