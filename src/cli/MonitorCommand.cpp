#include "cli/MonitorCommand.h"

#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>

#include "core/comm/BoardLink.h"
#include "core/comm/LinkState.h"
#include "core/comm/RS232C.h"
#include "core/monitor/MonitorCsv.h"
#include "core/monitor/MonitorSession.h"

namespace kavel::cli {
namespace {

constexpr const char* kMonitorUsage = "usage: kavel [--ini PATH] [--variant N] monitor --port PORT [--seconds N]\n";

enum ExitCode { kStopped = 0, kUsageOrOutput = 1, kNoBoard = 2 };

struct MonitorArguments {
  std::string port;
  int seconds = -1;  // -1: until interrupted
};

bool parseMonitorArguments(const std::vector<std::string>& args, MonitorArguments& m, std::string& error) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--port") {
      if (i + 1 >= args.size() || args[i + 1].empty()) {
        error = "--port needs the serial port the board is on (e.g. /dev/ttyUSB0)";
        return false;
      }
      m.port = args[++i];
    } else if (args[i] == "--seconds") {
      if (i + 1 >= args.size() || !parseInt(args[i + 1], m.seconds) || m.seconds < 0) {
        error = "--seconds needs a whole number of seconds (0 or more)";
        return false;
      }
      ++i;
    } else {
      error = "unexpected argument \"" + args[i] + "\"";
      return false;
    }
  }
  if (m.port.empty()) {
    error = "no port given (--port PORT)";
    return false;
  }
  return true;
}

volatile sig_atomic_t stopSignal = 0;
void onStopSignal(int signal) { stopSignal = signal; }

/// SIGINT and SIGTERM only set a mark. They stay blocked except inside the wait, so a signal
/// can never slip in between the check of the mark and the wait.
class StopSignals {
 public:
  StopSignals() {
    struct sigaction sa {};
    sa.sa_handler = onStopSignal;
    sigemptyset(&sa.sa_mask);
    ::sigaction(SIGINT, &sa, &oldInt_);
    ::sigaction(SIGTERM, &sa, &oldTerm_);
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    ::sigaction(SIGPIPE, &ignore, &oldPipe_);
    sigset_t block;
    sigemptyset(&block);
    sigaddset(&block, SIGINT);
    sigaddset(&block, SIGTERM);
    ::sigprocmask(SIG_BLOCK, &block, &oldMask_);
    waitMask_ = oldMask_;
    sigdelset(&waitMask_, SIGINT);
    sigdelset(&waitMask_, SIGTERM);
  }
  ~StopSignals() {
    ::sigprocmask(SIG_SETMASK, &oldMask_, nullptr);
    ::sigaction(SIGINT, &oldInt_, nullptr);
    ::sigaction(SIGTERM, &oldTerm_, nullptr);
    ::sigaction(SIGPIPE, &oldPipe_, nullptr);
  }
  StopSignals(const StopSignals&) = delete;
  StopSignals& operator=(const StopSignals&) = delete;

  /// Waits until `fd` is readable (when >= 0), `timeoutMs` passed, or a stop signal came.
  void wait(int fd, Millis timeoutMs) const {
    pollfd p{fd, POLLIN, 0};
    const timespec t{static_cast<time_t>(timeoutMs / 1000), static_cast<long>(timeoutMs % 1000) * 1000000L};
    ::ppoll(&p, fd >= 0 ? 1 : 0, &t, &waitMask_);
  }

 private:
  struct sigaction oldInt_ {}, oldTerm_ {}, oldPipe_ {};
  sigset_t oldMask_{};
  sigset_t waitMask_{};
};

/// Writes `text` to standard output at once (a reader sees each row as it comes); on failure
/// `error` holds the reason.
bool writeOut(const std::string& text, int& error) {
  errno = 0;
  if (std::fwrite(text.data(), 1, text.size(), stdout) == text.size() && std::fflush(stdout) == 0) return true;
  error = errno != 0 ? errno : EIO;
  return false;
}

}  // namespace

int runMonitor(const GlobalOptions& options, const std::vector<std::string>& args) {
  MonitorArguments m;
  std::string error;
  if (!parseMonitorArguments(args, m, error)) {
    std::cerr << "kavel monitor: " << error << "\n" << kMonitorUsage;
    return kUsageOrOutput;
  }

  auto ctx = makeContext(options);
  AppSettings& settings = ctx->settings;
  settings.PortName = m.port;
  LinkState state;
  RS232C port(settings);
  BoardLink link(port, state, settings);
  link.onNotice = [](const std::string& notice) { std::cerr << "kavel monitor: " << notice << "\n"; };
  MonitorSession session(link, ctx->io, ctx->setup);
  MonitorCsv csv;
  bool outputFailed = false;
  bool headerWritten = false;
  int outputError = 0;
  // Rows, and the header before the first of them: without a report nothing is printed.
  const auto write = [&](const std::string& text) {
    if (!outputFailed && !writeOut(text, outputError)) {
      outputFailed = true;
      session.stop();
    }
  };

  stopSignal = 0;
  const StopSignals signals;
  session.start();
  Millis stopAt = kNoDeadline;
  Millis monitoringSince = -1;
  for (;;) {
    const Millis now = steadyMillis();
    if (stopSignal != 0 || now >= stopAt) {
      session.stop();
      stopAt = kNoDeadline;  // the closing sequence has its own pauses
    }
    link.poll();
    while (auto e = session.takeEvent()) {
      switch (e->kind) {
        case MonitorSession::EventKind::Monitoring:
          std::cerr << "kavel monitor: " << settings.PortName << ": " << settings.BoardVersionText << "\n";
          monitoringSince = steadyMillis();
          if (m.seconds >= 0) stopAt = steadyMillis() + static_cast<Millis>(m.seconds) * 1000;
          break;
        case MonitorSession::EventKind::Report:
          if (!headerWritten) {
            headerWritten = true;
            write(MonitorCsv::header());
          }
          write(csv.row(e->report, e->at));
          break;
        default:
          break;
      }
    }
    if (session.ended()) break;
    const Millis until = std::min(link.nextDeadline(), stopAt);
    signals.wait(link.descriptor(), std::clamp<Millis>(until - steadyMillis(), 0, 1000));
  }

  if (outputFailed) {
    std::cerr << "kavel monitor: standard output could not be written (" << std::strerror(outputError)
              << "); the board was left at rest\n";
    return kUsageOrOutput;
  }
  switch (session.outcome()) {
    case MonitorSession::Outcome::Done:
      if (session.reportsReceived() > 0) {
        std::cerr << "kavel monitor: " << session.reportsReceived() << " reports; the board was left at rest\n";
        return kStopped;
      }
      if (monitoringSince < 0) {
        std::cerr << "kavel monitor: stopped before the board answered; no report was read\n";
      } else {
        const double seconds = static_cast<double>(steadyMillis() - monitoringSince) / 1000.0;
        std::cerr << "kavel monitor: no sensor report could be read in " << static_cast<long>(seconds + 0.5)
                  << " s: " << session.linesReceived() << " lines came from the board on " << settings.PortName
                  << " and none was a report (\"CN1=...\"); the board was left at rest\n";
      }
      return kNoBoard;
    case MonitorSession::Outcome::Disconnected:
      std::cerr << "kavel monitor: " << session.message() << " (" << session.reportsReceived()
                << " reports received before)\n";
      return kNoBoard;
    default:
      std::cerr << "kavel monitor: " << session.message() << "\n";
      return kNoBoard;
  }
}

}  // namespace kavel::cli
