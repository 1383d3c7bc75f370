#include "cli/DownloadCommand.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <iostream>

#include "core/comm/BoardLink.h"
#include "core/comm/DownloadSession.h"
#include "core/comm/HexFile.h"
#include "core/comm/LinkState.h"
#include "core/comm/RS232C.h"

namespace kavel::cli {
namespace {

constexpr const char* kDownloadUsage =
    "usage: kavel [--ini PATH] [--variant N] download HEXFILE --port PORT [--no-run] [--any-loader]\n";

enum ExitCode { kSent = 0, kUsageOrFile = 1, kNoBoard = 2, kRefused = 3, kTransferFailed = 4 };

struct DownloadArguments {
  std::string file;
  std::string port;
  bool run = true;
  bool anyLoader = false;
};

bool parseDownloadArguments(const std::vector<std::string>& args, DownloadArguments& d, std::string& error) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--port") {
      if (i + 1 >= args.size() || args[i + 1].empty()) {
        error = "--port needs the serial port the board is on (e.g. /dev/ttyUSB0)";
        return false;
      }
      d.port = args[++i];
    } else if (args[i] == "--no-run") {
      d.run = false;
    } else if (args[i] == "--any-loader") {
      d.anyLoader = true;
    } else if (d.file.empty() && !(args[i].size() > 1 && args[i][0] == '-')) {
      d.file = args[i];
    } else {
      error = "unexpected argument \"" + args[i] + "\"";
      return false;
    }
  }
  if (d.file.empty()) {
    error = "no HEX file given";
    return false;
  }
  if (d.port.empty()) {
    error = "no port given (--port PORT)";
    return false;
  }
  return true;
}

/// Progress on standard error: a bar redrawn in place on a terminal, a line per tenth otherwise.
class Progress {
 public:
  explicit Progress(int total) : total_(std::max(total, 1)), terminal_(::isatty(STDERR_FILENO)) {}

  void update(int done) {
    const int percent = done * 100 / total_;
    if (terminal_) {
      if (percent == shown_) return;
      shown_ = percent;
      const int width = 40, filled = percent * width / 100;
      std::fprintf(stderr, "\r[%s%s] %3d%% %d/%d lines", std::string(static_cast<std::size_t>(filled), '#').c_str(),
                   std::string(static_cast<std::size_t>(width - filled), '.').c_str(), percent, done, total_);
      std::fflush(stderr);
      drawn_ = true;
    } else if (percent / 10 > shown_ / 10 || shown_ < 0) {
      shown_ = percent;
      std::fprintf(stderr, "kavel download: %d%% (%d of %d lines)\n", percent, done, total_);
    }
  }
  void finish() {
    if (terminal_ && drawn_) std::fputc('\n', stderr);
    drawn_ = false;
  }

 private:
  int total_;
  bool terminal_;
  int shown_ = -1;
  bool drawn_ = false;
};

}  // namespace

int runDownload(const GlobalOptions& options, const std::vector<std::string>& args) {
  DownloadArguments d;
  std::string error;
  if (!parseDownloadArguments(args, d, error)) {
    std::cerr << "kavel download: " << error << "\n" << kDownloadUsage;
    return kUsageOrFile;
  }
  const HexReadResult hex = readHexFile(d.file);
  if (!hex.ok) {
    std::cerr << "kavel download: " << hex.error << "\n";
    return kUsageOrFile;
  }

  auto ctx = makeContext(options);
  AppSettings& settings = ctx->settings;
  settings.PortName = d.port;
  LinkState state;
  RS232C port(settings);
  BoardLink link(port, state, settings);
  link.onNotice = [](const std::string& notice) { std::cerr << "kavel download: " << notice << "\n"; };
  DownloadSession::Options sessionOptions;
  sessionOptions.run = d.run;
  sessionOptions.acceptUnknownLoader = d.anyLoader;
  DownloadSession session(link, d.file, sessionOptions);
  Progress progress(static_cast<int>(hex.image.records.size()));

  session.start();
  for (;;) {
    link.poll();
    while (session.takeEvent()) {
    }
    if (const HexSender* sender = session.sender(); sender && session.sending()) progress.update(sender->recordIndex());
    if (session.ended()) break;
    const int timeout = static_cast<int>(std::clamp<Millis>(link.nextDeadline() - steadyMillis(), 0, 1000));
    pollfd p{link.descriptor(), POLLIN, 0};
    ::poll(&p, p.fd >= 0 ? 1 : 0, timeout);
  }
  const DownloadSession::Outcome outcome = session.outcome();
  if (outcome == DownloadSession::Outcome::Done) progress.update(static_cast<int>(hex.image.records.size()));
  progress.finish();

  switch (outcome) {
    case DownloadSession::Outcome::Done:
      if (!settings.LoaderText.empty()) std::cout << "boot loader: " << settings.LoaderText << "\n";
      std::cout << "sent " << hex.image.records.size() << " lines of " << d.file << " to " << d.port
                << (d.run ? "; the program runs\n" : "\n");
      return kSent;
    case DownloadSession::Outcome::NoBoard:
    case DownloadSession::Outcome::NoPrompt:
      std::cerr << "kavel download: " << session.message() << "\n";
      return kNoBoard;
    case DownloadSession::Outcome::Refused:
      std::cerr << "kavel download: " << session.message();
      if (session.unknownLoader()) {
        // Not a banner of the table: the user may know the loader and take it.
        std::cerr << " (--any-loader sends the image all the same)";
      }
      std::cerr << "\n";
      return kRefused;
    default:
      std::cerr << "kavel download: transfer failed: " << session.message() << "\n";
      return kTransferFailed;
  }
}

}  // namespace kavel::cli
