// kavel monitor against the virtual board: the CSV it prints, how it stops (time, Ctrl+C,
// SIGTERM) leaving the board at rest, and what it says when there is no board.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <sstream>
#include <thread>

#include "RunProcess.h"
#include "TempFolder.h"
#include "VirtualBoardProcess.h"

using kavel::testing::runProcess;
using kavel::testing::slurp;
using kavel::testing::VirtualBoardProcess;
namespace fs = std::filesystem;

namespace {

const std::string kKavel = KAVEL_BIN_DIR "/kavel";
const std::string kHeader = "time_ms,CN1,CN2,CN3,CN4,CN5,CN6,CN7,CN8,CN9,CN10,LED_G,LED_R1,LED_R2";
// CN1 output resting low, CN2 output resting high, CN3 analogue, CN4 servo, CN5 thermistor,
// CN6 2-wire, CN7 PING, CN8 servo, CN9 output resting high, CN10 output resting low.
const std::string kConfig = "CNio:0214653420 USE_USS";

std::string tempFile(const std::string& name) {
  static const kavel::testing::TempFolder temp("kavel-cli-serial");
  return temp / name;
}

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) out.push_back(line);
  return out;
}

std::vector<std::string> fields(const std::string& row) {
  std::vector<std::string> out;
  std::size_t start = 0;
  for (;;) {
    const std::size_t comma = row.find(',', start);
    out.push_back(row.substr(start, comma - start));
    if (comma == std::string::npos) return out;
    start = comma + 1;
  }
}

/// Expects `commands` to appear in this order among what the board received.
void expectReceivedInOrder(const std::string& boardLog, const std::vector<std::string>& commands) {
  std::size_t at = 0;
  for (const auto& c : commands) {
    at = boardLog.find("got \"" + c, at);
    ASSERT_NE(at, std::string::npos) << c << " not received in order:\n" << boardLog;
  }
}

const std::vector<std::string> kClosing{"O0:0", "O1:1", "O8:1", "O9:0", "L1:0", "L0:0", "S0:0"};

/// Starts kavel monitor on `port` with standard output into `out` (a file or a device).
pid_t startMonitor(const std::string& port, const std::string& out, const std::string& err) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  std::vector<std::string> argv{kKavel, "monitor", "--port", port};
  std::vector<char*> args;
  for (auto& a : argv) args.push_back(a.data());
  args.push_back(nullptr);
  pid_t pid = -1;
  if (posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

/// Waits up to five seconds for `pid` to end; its wait status, or -1 when it did not end.
int waitEnd(pid_t pid) {
  int status = 0;
  const auto start = std::chrono::steady_clock::now();
  while (std::chrono::steady_clock::now() - start < std::chrono::seconds(5)) {
    if (::waitpid(pid, &status, WNOHANG) == pid) return status;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return -1;
}

}  // namespace

TEST(KavelMonitor, PrintsOneRowPerReportThenLeavesTheBoardAtRest) {
  const std::string log = tempFile("vboard_monitor_cli.log");
  VirtualBoardProcess board({"--verbose", "--rate", "50", "--config", kConfig}, log);
  ASSERT_FALSE(board.path().empty());
  const auto r = runProcess({kKavel, "monitor", "--port", board.path(), "--seconds", "2"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  const auto rows = lines(r.out);
  ASSERT_GT(rows.size(), 40u) << r.out << r.err;
  EXPECT_EQ(rows[0], kHeader);
  long previous = -1;
  int thermistorOut = 0, thermistorIn = 0;
  for (std::size_t i = 1; i < rows.size(); ++i) {
    const auto f = fields(rows[i]);
    ASSERT_EQ(f.size(), 14u) << rows[i];
    const long t = std::stol(f[0]);
    if (i == 1) {
      EXPECT_EQ(t, 0) << "time counts from the first report";
    }
    EXPECT_GE(t, previous) << rows[i];
    previous = t;
    EXPECT_EQ(f[1], "0") << rows[i];    // outputs at rest
    EXPECT_EQ(f[2], "1") << rows[i];
    EXPECT_EQ(f[9], "1") << rows[i];
    EXPECT_EQ(f[10], "0") << rows[i];
    EXPECT_EQ(f[4], "50") << rows[i];   // servos in the middle
    EXPECT_EQ(f[8], "50") << rows[i];
    const int cn3 = std::stoi(f[3]), ping = std::stoi(f[7]);
    EXPECT_TRUE(cn3 >= 0 && cn3 <= 100) << rows[i];
    EXPECT_GE(ping, 34) << rows[i];
    (f[5].empty() ? thermistorOut : thermistorIn) += 1;
    EXPECT_TRUE(f[13] == "0" || f[13] == "1") << "this board sends three LED digits: " << rows[i];
  }
  EXPECT_GT(thermistorIn, 0);
  EXPECT_GT(thermistorOut, 0) << "the board's thermistor reads out of range now and then";
  EXPECT_GE(previous, 1800) << "about two seconds of reports";
  // The green LED goes on after the configuration line and off again in the closing sequence.
  EXPECT_EQ(fields(rows[rows.size() / 2])[11], "1") << rows[rows.size() / 2];
  EXPECT_NE(r.err.find("Wrenlet CORE Ver.2.10 vboard"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("left at rest"), std::string::npos) << r.err;
  board.stop();
  expectReceivedInOrder(slurp(log), kClosing);
}

TEST(KavelMonitor, SignalsStopItTheSameWay) {
  for (const int sig : {SIGINT, SIGTERM}) {
    const std::string log = tempFile("vboard_monitor_signal.log");
    VirtualBoardProcess board({"--verbose", "--rate", "50", "--config", kConfig}, log);
    const std::string out = tempFile("monitor_signal.out"), err = tempFile("monitor_signal.err");
    const pid_t pid = startMonitor(board.path(), out, err);
    ASSERT_GT(pid, 0);
    for (int i = 0; i < 500 && lines(slurp(out)).size() < 5; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_GE(lines(slurp(out)).size(), 5u) << slurp(err);
    ::kill(pid, sig);
    const int status = waitEnd(pid);
    ASSERT_TRUE(WIFEXITED(status)) << "signal " << sig << " killed it instead of stopping it";
    EXPECT_EQ(WEXITSTATUS(status), 0) << slurp(err);
    EXPECT_NE(slurp(err).find("left at rest"), std::string::npos) << slurp(err);
    board.stop();
    expectReceivedInOrder(slurp(log), kClosing);
  }
}

TEST(KavelMonitor, OutputThatCannotBeWrittenStillLeavesTheBoardAtRest) {
  const std::string log = tempFile("vboard_monitor_full.log");
  VirtualBoardProcess board({"--verbose", "--config", kConfig}, log);
  const std::string err = tempFile("monitor_full.err");
  const pid_t pid = startMonitor(board.path(), "/dev/full", err);
  ASSERT_GT(pid, 0);
  const int status = waitEnd(pid);
  ASSERT_TRUE(WIFEXITED(status)) << slurp(err);
  EXPECT_EQ(WEXITSTATUS(status), 1);
  EXPECT_NE(slurp(err).find("standard output could not be written (No space left on device)"), std::string::npos)
      << slurp(err);
  board.stop();
  // The header fails before the configuration line came, so the outputs are those of the setup.
  expectReceivedInOrder(slurp(log), {"S0:1", "L1:0", "L0:0", "S0:0"});
}

TEST(KavelMonitor, NoBoardAndUsage) {
  VirtualBoardProcess mute({"--mute"});
  VirtualBoardProcess noisy({"--garbage", "--rate", "50"});
  struct Case {
    std::vector<std::string> args;
    int exitCode;
    const char* says;
  } cases[] = {
      {{"--port", mute.path(), "--seconds", "1"}, 2, "no board answered \"Ver\" on " },
      {{"--port", noisy.path(), "--seconds", "1"}, 2, "lines came from the board on "},
      {{"--port", noisy.path(), "--seconds", "1"}, 2, "and none was a report"},
      {{"--port", "/dev/kavel-no-such-port"}, 2, "/dev/kavel-no-such-port"},
      {{}, 1, "no port given"},
      {{"--port"}, 1, "--port needs"},
      {{"--port", "/dev/null", "--seconds", "soon"}, 1, "--seconds needs"},
      {{"--port", "/dev/null", "--seconds", "-1"}, 1, "--seconds needs"},
      {{"--port", "/dev/null", "--baud", "9600"}, 1, "unexpected argument \"--baud\""},
  };
  for (const auto& c : cases) {
    std::vector<std::string> argv{kKavel, "monitor"};
    argv.insert(argv.end(), c.args.begin(), c.args.end());
    const auto r = runProcess(argv);
    const std::string label = c.args.empty() ? "(no arguments)" : c.args.back();
    EXPECT_EQ(r.exitCode, c.exitCode) << label << ": " << r.err;
    EXPECT_EQ(r.out, "") << label << ": nothing on standard output without a board";
    EXPECT_NE(r.err.find(c.says), std::string::npos) << label << ": " << r.err;
  }
}

TEST(KavelMonitor, BoardThatGoesAwaySaysSo) {
  const std::string log = tempFile("vboard_monitor_away.log");
  auto board = std::make_unique<VirtualBoardProcess>(std::vector<std::string>{"--verbose", "--rate", "50"}, log);
  const std::string path = board->path();
  std::thread pull([&] {
    // Pulled once monitoring runs, however long the probe took on a loaded machine.
    const auto start = std::chrono::steady_clock::now();
    while (slurp(log).find("S0:1") == std::string::npos &&
           std::chrono::steady_clock::now() - start < std::chrono::seconds(8)) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    board.reset();
  });
  const auto r = runProcess({kKavel, "monitor", "--port", path, "--seconds", "10"});
  pull.join();
  EXPECT_EQ(r.exitCode, 2) << r.err;
  ASSERT_FALSE(lines(r.out).empty()) << r.err;
  EXPECT_EQ(lines(r.out).at(0), kHeader);
  EXPECT_NE(r.err.find("Disconnected"), std::string::npos) << r.err;
}
