#include "SimBoard.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <optional>
#include <string>

#include "SimBoardProtocol.h"
#include "cli/SimulationBuild.h"

namespace vboard {
namespace {

constexpr const char* kSimUsage =
    "usage: vboard --sim FILE.Kvl [--world WORLD.json] [--ini PATH] [--link PATH] [--rate HZ] [--verbose]\n"
    "Runs the program set whose Main program is FILE.Kvl on the simulated robot, in real time,\n"
    "in the world WORLD.json (default: an empty walled 2000 x 1500 mm field), and opens a\n"
    "pseudo-terminal that answers the monitors like a board with that robot's readings. The\n"
    "terminal's path is the first line of standard output.\n"
    "  --ini PATH   the settings file (microcontroller) as for kavel\n"
    "  --link PATH  also make PATH a link to the terminal (removed on exit)\n"
    "  --rate HZ    reports per second while a stream runs (default 10)\n"
    "  --verbose    report what the board receives on standard error\n";

constexpr const char* kVersion = "Wrenlet CORE Ver.2.10 vboard (simulated robot)";

volatile sig_atomic_t stopRequested = 0;
void onSignal(int) { stopRequested = 1; }

struct SimArguments {
  std::string file, world, ini, link;
  int rate = 10;
  bool verbose = false;
};

bool parse(int argc, char** argv, SimArguments& a) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool value = i + 1 < argc;
    if (arg == "--sim" && value) a.file = argv[++i];
    else if (arg == "--world" && value) a.world = argv[++i];
    else if (arg == "--ini" && value) a.ini = argv[++i];
    else if (arg == "--link" && value) a.link = argv[++i];
    else if (arg == "--verbose") a.verbose = true;
    else if (arg == "--rate" && value) {
      char* end = nullptr;
      const long rate = std::strtol(argv[++i], &end, 10);
      if (*end != '\0' || rate < 1 || rate > 1000) return false;
      a.rate = static_cast<int>(rate);
    } else {
      return false;
    }
  }
  return !a.file.empty();
}

/// The board's side of the line: the monitors' commands in, stream lines out.
class SimBoardLine {
 public:
  SimBoardLine(int master, kavel::sim::SimClient& client, const kavel::sim::RobotConfig& config, int rate, bool verbose)
      : master_(master), client_(client), config_(config), periodMs_(1000 / rate), verbose_(verbose) {}

  void latest(const kavel::sim::SimSnapshot& s) { latest_ = s; }

  void receive(const char* bytes, std::size_t n, long long now) {
    for (std::size_t i = 0; i < n; ++i) {
      const char c = bytes[i];
      if (c == '\r' || c == '\n' || c == '\x03') {
        if (!line_.empty()) command(line_, now);
        line_.clear();
      } else if (c != '\x01' && c != '\x02' && line_.size() < 4096) {
        line_ += c;
      }
    }
  }

  void tick(long long now) {
    if (now < next_ || !latest_) return;
    next_ = now + periodMs_;
    const kavel::sim::SimSnapshot& s = *latest_;
    if (sensor_) {
      if (!configSent_) say(kavel::sim::configLineOf(config_));
      configSent_ = true;
      say(sensorReport(s, config_));
      ++reports_;
    }
    if (compass_) say(compassLine(s, config_));
    if (pad_) say("P:0000,128,128");
    if (uss_) say(ultrasonicLine(s));
    if (pixy_) say(cameraLine(s));
  }

  long long nextTick() const { return next_; }
  long reports() const { return reports_; }

 private:
  void say(const std::string& text) {
    const std::string bytes = text + "\r\n";
    // Nobody reading and the terminal full: the bytes are lost, as on a real line.
    if (::write(master_, bytes.data(), bytes.size()) < 0 && verbose_) std::perror("vboard: write");
  }

  void command(const std::string& line, long long now) {
    if (verbose_) std::fprintf(stderr, "vboard: got \"%s\"\n", line.c_str());
    int a = 0, b = 0, c = 0;
    if (line == "Ver" || line == "Reset") {
      say(kVersion);
    } else if (std::sscanf(line.c_str(), "S%d:%d", &a, &b) == 2 && a >= 0 && a <= 4) {
      bool* streams[] = {&sensor_, &compass_, &pad_, &uss_, &pixy_};
      *streams[a] = b != 0;
      if (a == 0 && b != 0) configSent_ = false;
      next_ = now + 10;
    } else if (std::sscanf(line.c_str(), "O%d:%d", &a, &b) == 2) {
      client_.setOutput(a, b != 0);
    } else if (std::sscanf(line.c_str(), "L%d:%d", &a, &b) == 2) {
      client_.setLed(a, b != 0);
    } else if (std::sscanf(line.c_str(), "s7:%d", &a) == 1) {
      client_.setServo(6, a);
    } else if (std::sscanf(line.c_str(), "s8:%d", &a) == 1) {
      client_.setServo(7, a);
    } else if (std::sscanf(line.c_str(), "ID:%d", &a) == 1) {
      configSent_ = false;
    } else if (line == "B:?") {
      sayBalance();
    } else if (std::sscanf(line.c_str(), "B:%d,%d,%d", &a, &b, &c) == 3) {
      balance_[0] = a;
      balance_[1] = b;
      balance_[2] = c;
      sayBalance();
    }
  }

  void sayBalance() {
    char text[32];
    std::snprintf(text, sizeof text, "B:%03d,%03d,%03d", balance_[0], balance_[1], balance_[2]);
    say(text);
  }

  int master_;
  kavel::sim::SimClient& client_;
  kavel::sim::RobotConfig config_;
  int periodMs_;
  bool verbose_;
  std::string line_;
  std::optional<kavel::sim::SimSnapshot> latest_;
  bool sensor_ = false, compass_ = false, pad_ = false, uss_ = false, pixy_ = false;
  bool configSent_ = false;
  long long next_ = 0;
  long reports_ = 0;
  int balance_[3] = {0, 0, 10};
};

long long nowMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

/// The terminal, raw, held open on its terminal side; -1 when none could be made.
int openTerminal(std::string& path, int& slave) {
  const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) return -1;
  path = ::ptsname(master);
  slave = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (slave < 0) return -1;
  termios tio{};
  ::tcgetattr(slave, &tio);
  ::cfmakeraw(&tio);
  ::tcsetattr(slave, TCSANOW, &tio);
  ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
  return master;
}

}  // namespace

bool wantsSimBoard(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--sim") == 0) return true;
  }
  return false;
}

int runSimBoard(int argc, char** argv) {
  using namespace kavel;
  SimArguments a;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      std::fputs(kSimUsage, stdout);
      return 0;
    }
  }
  if (!parse(argc, argv, a)) {
    std::fprintf(stderr, "vboard: bad arguments\n%s", kSimUsage);
    return 2;
  }
  cli::GlobalOptions options;
  options.iniPath = a.ini;
  sim::RunFolder folder;
  sim::SimLaunch launch;
  // Standard output carries the terminal's path: the compiler's messages go to standard error.
  const int prepared = cli::prepareSimulation(options, {a.file, a.world}, folder, "vboard", std::cerr, launch);
  if (prepared != cli::kSimOk) return prepared;
  launch.plan.endUs = 0;
  launch.plan.holdAfterMain = true;

  std::string path;
  int slave = -1;
  const int master = openTerminal(path, slave);
  if (master < 0) {
    std::perror("vboard: cannot create a pseudo-terminal");
    return 1;
  }
  if (!a.link.empty()) {
    ::unlink(a.link.c_str());
    if (::symlink(path.c_str(), a.link.c_str()) != 0) {
      std::fprintf(stderr, "vboard: cannot make the link %s: %s\n", a.link.c_str(), std::strerror(errno));
      return 1;
    }
  }

  sim::SimClient client;
  SimBoardLine board(master, client, launch.plan.robot, a.rate, a.verbose);
  client.onSnapshot = [&board](const sim::SimSnapshot& s) { board.latest(s); };
  std::string error;
  if (!client.start(launch, error)) {
    std::fprintf(stderr, "vboard: %s\n", error.c_str());
    return 3;
  }
  client.setSpeed(1.0);
  client.run();
  std::printf("%s\n", path.c_str());
  std::fflush(stdout);

  struct sigaction sa {};
  sa.sa_handler = onSignal;
  ::sigaction(SIGTERM, &sa, nullptr);
  ::sigaction(SIGINT, &sa, nullptr);
  ::signal(SIGPIPE, SIG_IGN);

  int status = 0;
  char buf[4096];
  while (!stopRequested) {
    const long long now = nowMs();
    board.tick(now);
    const int timeout = static_cast<int>(std::clamp(board.nextTick() - now, 0LL, 5LL));
    pollfd p[2] = {{master, POLLIN, 0}, {client.socket(), POLLIN, 0}};
    if (::poll(p, 2, timeout) < 0 && errno != EINTR) break;
    client.pump(std::chrono::milliseconds(0));
    if (client.finished()) {
      const sim::SimOutcome& o = client.outcome();
      if (o.end == sim::SimEnd::LoadFailed) {
        std::fprintf(stderr, "%s\nvboard: %s does not link for the simulated robot\n",
                     cli::loadFailureText(launch, o.message).c_str(), a.file.c_str());
        status = 2;
      } else {
        std::fprintf(stderr, "vboard: the simulated program stopped at %s: %s\n", sim::simTimeText(o.timeUs).c_str(),
                     o.message.c_str());
        status = 3;
      }
      break;
    }
    if (p[0].revents & POLLIN) {
      const ssize_t n = ::read(master, buf, sizeof buf);
      if (n > 0) board.receive(buf, static_cast<std::size_t>(n), nowMs());
    }
  }
  client.stop();
  if (!a.link.empty()) ::unlink(a.link.c_str());
  std::fprintf(stderr, "vboard: sent %ld sensor reports\n", board.reports());
  ::close(slave);
  ::close(master);
  return status;
}

}  // namespace vboard
