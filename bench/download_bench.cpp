// A 2,000-record download over a pseudo-terminal whose far end acknowledges every line at once,
// sent by the DownloadSession the download window and `kavel download` both run, over the
// BoardLink that reads, routes and sends for it. "own_us_per_line" is the link's own time per
// line: the total minus the time spent waiting for the descriptor to become readable (the
// acks' wait). One 45-byte line takes 4.2 ms on the wire at 115200 baud; the link's share
// should stay under 2 % of that (80 us).

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

#include "core/comm/BoardLink.h"
#include "core/comm/DownloadSession.h"
#include "core/comm/HexFile.h"
#include "core/comm/LinkState.h"
#include "core/comm/RS232C.h"
#include "core/settings/AppSettings.h"

using namespace kavel;

namespace {

std::string image(int records) {
  std::string text;
  char line[64];
  for (int i = 0; i < records - 1; ++i) {
    const int addr = (0x0800 + i * 16) & 0xFFFF;
    int sum = 16 + (addr >> 8) + (addr & 0xFF);
    std::string data;
    for (int j = 0; j < 16; ++j) {
      const int b = (i * 7 + j) & 0xFF;
      sum += b;
      std::snprintf(line, sizeof line, "%02X", b);
      data += line;
    }
    std::snprintf(line, sizeof line, ":10%04X00%s%02X\r\n", addr, data.c_str(), (0x100 - (sum & 0xFF)) & 0xFF);
    text += line;
  }
  return text + ":00000001FF\r\n";
}

/// The far end: one "." for every line end it reads, at once.
void ackingBoard(int master, std::atomic<bool>& stop) {
  char buf[4096];
  while (!stop) {
    pollfd p{master, POLLIN, 0};
    if (::poll(&p, 1, 50) <= 0) continue;
    const ssize_t n = ::read(master, buf, sizeof buf);
    if (n <= 0) continue;
    std::string acks;
    for (ssize_t i = 0; i < n; ++i) {
      if (buf[i] == '\n') acks += '.';
    }
    if (!acks.empty() && ::write(master, acks.data(), acks.size()) < 0) return;
  }
}

void BM_Download2000Lines(benchmark::State& st) {
  const std::string text = image(2000);
  const HexReadResult hex = parseHexFile(text);
  if (!hex.ok) {
    st.SkipWithError(hex.error.c_str());
    return;
  }
  char folder[] = "/tmp/kavel_download_bench_XXXXXX";
  if (!::mkdtemp(folder)) {
    st.SkipWithError("cannot make a temporary folder");
    return;
  }
  const std::string path = std::string(folder) + "/bench.Hex";
  std::ofstream(path, std::ios::binary) << text;
  const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
  ::grantpt(master);
  ::unlockpt(master);
  AppSettings settings;
  settings.PortName = ::ptsname(master);
  std::atomic<bool> stop{false};
  std::thread board(ackingBoard, master, std::ref(stop));

  double ownSeconds = 0, totalSeconds = 0;
  int lines = 0;
  for (auto _ : st) {
    LinkState state;
    RS232C port(settings);
    BoardLink link(port, state, settings);
    if (!link.OpenPort(true).ok) {
      st.SkipWithError("cannot open the pseudo-terminal");
      break;
    }
    DownloadSession::Options options;
    options.run = false;
    DownloadSession session(link, path, options);
    // The board already waits in its loader: straight to sending, as after its prompt.
    session.startConnected(kDownloadWaiting);
    state.downloadState = kDownloadSending;
    const auto t0 = std::chrono::steady_clock::now();
    std::chrono::steady_clock::duration waited{};
    session.pressStart();
    for (;;) {
      link.poll();
      while (session.takeEvent()) {
      }
      if (session.ended()) {
        if (session.outcome() != DownloadSession::Outcome::Done) st.SkipWithError(session.message().c_str());
        break;
      }
      const auto w0 = std::chrono::steady_clock::now();
      pollfd p{link.descriptor(), POLLIN, 0};
      const Millis wait = std::min<Millis>(std::max<Millis>(link.nextDeadline() - steadyMillis(), 0), 100);
      ::poll(&p, p.fd >= 0 ? 1 : 0, static_cast<int>(wait));
      waited += std::chrono::steady_clock::now() - w0;
    }
    const auto total = std::chrono::steady_clock::now() - t0;
    totalSeconds += std::chrono::duration<double>(total).count();
    ownSeconds += std::chrono::duration<double>(total - waited).count();
    lines += static_cast<int>(hex.image.records.size());
  }
  stop = true;
  board.join();
  ::close(master);
  std::remove(path.c_str());
  ::rmdir(folder);
  if (lines > 0) {
    st.counters["own_us_per_line"] = ownSeconds / lines * 1e6;
    st.counters["total_us_per_line"] = totalSeconds / lines * 1e6;
  }
}
BENCHMARK(BM_Download2000Lines)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
