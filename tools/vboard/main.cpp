// vboard: a virtual robot controller board on a pseudo-terminal, for trying download,
// terminal and monitors without hardware, and for the tests.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "SimBoard.h"
#include "VirtualBoard.h"

namespace {

constexpr const char* kUsage =
    "usage: vboard [options]\n"
    "Opens a pseudo-terminal that answers like a robot controller board with its boot loader and\n"
    "prints the terminal's path on the first line of standard output. Use that path as the port.\n"
    "  --link PATH         also make PATH a link to the terminal (removed on exit)\n"
    "  --version TEXT      the answer to \"Ver\" (default \"Wrenlet CORE Ver.2.10 vboard\")\n"
    "  --banner TEXT       the boot loader's banner (default \"WL Loader2520 Ver.1.05\")\n"
    "  --wrong-banner      use a banner of another product (\"QV7B Loader2620 Ver.3.00\")\n"
    "  --no-ack-at N       no \".\" for HEX line N; the loader falls silent\n"
    "  --error-at N        answer HEX line N with \"checksum error\"\n"
    "  --hangup-at N       hang up the line when HEX line N arrives (a pulled cable)\n"
    "  --slow-ack MS       wait MS milliseconds before each \".\"\n"
    "  --garbage           send noise bytes before replies\n"
    "  --mute              never answer anything\n"
    "  --no-prompt         the boot loader never asks for the file\n"
    "  --rate HZ           sensor and module reports per second while a stream runs (default 10)\n"
    "  --config TEXT       the configuration line sent when the sensor stream starts; its ten\n"
    "                      mode digits after \"CNio:\" set what each connector reports\n"
    "                      (default \"CNio:1111113400 USE_USS USE_DIR USE_PIXY USE_SNX4410\")\n"
    "  --verbose           report what the board receives and does on standard error\n"
    "On exit it says on standard error how many sensor reports it sent.\n"
    "vboard --sim FILE.Kvl [--world WORLD.json]: the simulated robot running FILE.Kvl as the board\n"
    "(vboard --sim --help for its options).\n";

volatile sig_atomic_t stopRequested = 0;
void onSignal(int) { stopRequested = 1; }

vboard::Millis nowMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

bool intArg(int argc, char** argv, int& i, int& value) {
  if (i + 1 >= argc) return false;
  char* end = nullptr;
  const long v = std::strtol(argv[++i], &end, 10);
  if (*end != '\0' || v < 0 || v > 1000000) return false;
  value = static_cast<int>(v);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (vboard::wantsSimBoard(argc, argv)) return vboard::runSimBoard(argc, argv);
  std::string version = "Wrenlet CORE Ver.2.10 vboard";
  std::string banner = "WL Loader2520 Ver.1.05";
  std::string link;
  bool verbose = false;
  vboard::Faults faults;
  vboard::StreamSetup streams;
  int rate = 10;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    bool ok = true;
    if (a == "--link" && i + 1 < argc) link = argv[++i];
    else if (a == "--version" && i + 1 < argc) version = argv[++i];
    else if (a == "--banner" && i + 1 < argc) banner = argv[++i];
    else if (a == "--wrong-banner") banner = "QV7B Loader2620 Ver.3.00";
    else if (a == "--no-ack-at") ok = intArg(argc, argv, i, faults.noAckAt);
    else if (a == "--error-at") ok = intArg(argc, argv, i, faults.errorAt);
    else if (a == "--hangup-at") ok = intArg(argc, argv, i, faults.hangupAt);
    else if (a == "--slow-ack") ok = intArg(argc, argv, i, faults.slowAck);
    else if (a == "--garbage") faults.garbage = true;
    else if (a == "--mute") faults.mute = true;
    else if (a == "--no-prompt") faults.noPrompt = true;
    else if (a == "--verbose") verbose = true;
    else if (a == "--rate") ok = intArg(argc, argv, i, rate) && rate >= 1 && rate <= 1000;
    else if (a == "--config" && i + 1 < argc) streams.config = argv[++i];
    else if (a == "--help" || a == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    } else ok = false;
    if (!ok) {
      std::fprintf(stderr, "vboard: bad argument \"%s\"\n%s", a.c_str(), kUsage);
      return 2;
    }
  }

  const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) {
    std::perror("vboard: cannot create a pseudo-terminal");
    return 1;
  }
  const std::string path = ::ptsname(master);
  // Holding the terminal side open keeps the line up between programs that use it, and lets
  // the board start raw (no echo, no line editing) before anyone opens it.
  const int slave = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (slave < 0) {
    std::perror("vboard: cannot open the terminal side");
    return 1;
  }
  termios tio{};
  ::tcgetattr(slave, &tio);
  ::cfmakeraw(&tio);
  ::tcsetattr(slave, TCSANOW, &tio);
  ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);

  if (!link.empty()) {
    ::unlink(link.c_str());
    if (::symlink(path.c_str(), link.c_str()) != 0) {
      std::fprintf(stderr, "vboard: cannot make the link %s: %s\n", link.c_str(), std::strerror(errno));
      return 1;
    }
  }
  std::printf("%s\n", path.c_str());
  std::fflush(stdout);

  struct sigaction sa {};
  sa.sa_handler = onSignal;
  ::sigaction(SIGTERM, &sa, nullptr);
  ::sigaction(SIGINT, &sa, nullptr);
  ::signal(SIGPIPE, SIG_IGN);

  streams.periodUs = 1000000 / rate;
  vboard::VirtualBoard board(version, banner, faults, streams);
  int status = 0;
  char buf[4096];
  while (!stopRequested) {
    const vboard::Millis now = nowMs();
    vboard::Output out;
    bool hungUp = false;
    while (board.takeDue(now, out)) {
      if (out.hangup) {
        hungUp = true;
        break;
      }
      if (verbose) std::fprintf(stderr, "vboard: sends %zu bytes\n", out.bytes.size());
      // Nobody reading and the queue full: the bytes are lost, as on a real line.
      if (::write(master, out.bytes.data(), out.bytes.size()) < 0 && verbose) std::perror("vboard: write");
    }
    if (hungUp) {
      std::fprintf(stderr, "vboard: hanging up at HEX line %d\n", board.hexLines());
      break;
    }
    board.tick(now);
    const vboard::Millis next = std::min(board.nextOutput(), board.nextTick());
    int timeout = next == INT64_MAX ? 1000 : static_cast<int>(std::max<vboard::Millis>(0, std::min<vboard::Millis>(next - now, 1000)));
    pollfd p{master, POLLIN, 0};
    if (::poll(&p, 1, timeout) < 0) continue;
    if (p.revents & POLLIN) {
      const ssize_t n = ::read(master, buf, sizeof buf);
      if (n > 0) {
        if (verbose) std::fprintf(stderr, "vboard: got \"%.*s\"\n", static_cast<int>(n), buf);
        const bool wasInLoader = board.inLoader();
        board.receive(std::string_view(buf, static_cast<std::size_t>(n)), nowMs());
        if (verbose && wasInLoader != board.inLoader()) {
          std::fprintf(stderr, board.inLoader() ? "vboard: boot loader started\n"
                                                : "vboard: the program runs (%d HEX lines received)\n",
                       board.hexLines());
        }
      }
    }
  }
  if (!link.empty()) ::unlink(link.c_str());
  std::fprintf(stderr, "vboard: sent %ld sensor reports\n", board.reportsSent());
  ::close(slave);
  ::close(master);
  return status;
}
