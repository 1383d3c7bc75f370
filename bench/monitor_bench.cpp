// The console sensor monitor against the virtual board at 50 reports a second, for 60 seconds
// by default (`monitor_bench --seconds N` for a shorter run; Google Benchmark's own flags
// work as usual). Counters:
//   reports_sent / reports_received / dropped   the board's count against ours
//   max_gap_ms      longest pause between two reports handled (20 ms is the board's pace)
//   cpu_percent     CPU time of this process over the run, in percent of one core
//   rss_start_kb / rss_end_kb   resident memory after connecting and at the end
//   maxrss_start_kb / maxrss_end_kb   the peak resident memory at those two points

#include <benchmark/benchmark.h>

#include <poll.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "VirtualBoardProcess.h"
#include "core/comm/BoardLink.h"
#include "core/comm/LinkState.h"
#include "core/comm/RS232C.h"
#include "core/monitor/MonitorCsv.h"
#include "core/monitor/MonitorSession.h"
#include "core/settings/AppSettings.h"
#include "ResidentMemory.h"

using namespace kavel;

namespace {

int gSeconds = 60;

double cpuSeconds() {
  rusage u{};
  ::getrusage(RUSAGE_SELF, &u);
  return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
         static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

long maxRssKb() {
  rusage u{};
  ::getrusage(RUSAGE_SELF, &u);
  return u.ru_maxrss;
}


long reportsSentBy(const std::string& log) {
  std::ifstream in(log);
  std::string line;
  long n = -1;
  while (std::getline(in, line)) std::sscanf(line.c_str(), "vboard: sent %ld sensor reports", &n);
  return n;
}

void BM_ConsoleMonitor50Hz(benchmark::State& state) {
  for (auto _ : state) {
    const std::string log = (std::filesystem::temp_directory_path() / "monitor_bench_vboard.log").string();
    kavel::testing::VirtualBoardProcess board({"--rate", "50", "--config", "CNio:0214653420 USE_USS"}, log);
    if (board.path().empty()) {
      state.SkipWithError("vboard did not start");
      return;
    }
    AppSettings settings;
    settings.PortName = board.path();
    LinkState link;
    IoSetup io;
    SetupRecord record;
    RS232C port(settings);
    BoardLink boardLink(port, link, settings);
    MonitorSession session(boardLink, io, record);
    MonitorCsv csv;
    std::size_t csvBytes = 0;
    Millis last = -1, maxGap = 0;

    session.start();
    double cpuStart = -1;
    long rssStart = 0, maxRssStart = 0;
    Millis stopAt = kNoDeadline;
    long wakeups = 0;
    for (;;) {
      const Millis now = steadyMillis();
      ++wakeups;
      if (now >= stopAt) {
        session.stop();
        stopAt = kNoDeadline;
      }
      boardLink.poll();
      while (auto e = session.takeEvent()) {
        if (e->kind != MonitorSession::EventKind::Report) continue;
        csvBytes += csv.row(e->report, e->at).size();  // the console's whole work per report
        if (last >= 0) maxGap = std::max(maxGap, e->at - last);
        last = e->at;
      }
      if (session.ended()) break;
      if (session.monitoring() && cpuStart < 0) {
        cpuStart = cpuSeconds();
        rssStart = kavel::testing::residentKiB();
        maxRssStart = maxRssKb();
        stopAt = now + gSeconds * 1000L;
      }
      const Millis until = std::min(boardLink.nextDeadline(), stopAt);
      pollfd p{boardLink.descriptor(), POLLIN, 0};
      ::poll(&p, p.fd >= 0 ? 1 : 0, static_cast<int>(std::clamp<Millis>(until - steadyMillis(), 0, 1000)));
    }
    const double cpu = cpuSeconds() - cpuStart;
    board.stop();
    const long sent = reportsSentBy(log);
    state.counters["reports_sent"] = static_cast<double>(sent);
    state.counters["reports_received"] = static_cast<double>(session.reportsReceived());
    state.counters["dropped"] = static_cast<double>(sent - session.reportsReceived());
    state.counters["max_gap_ms"] = static_cast<double>(maxGap);
    state.counters["cpu_percent"] = cpuStart < 0 ? -1 : 100.0 * cpu / gSeconds;
    state.counters["rss_start_kb"] = static_cast<double>(rssStart);
    state.counters["rss_end_kb"] = static_cast<double>(kavel::testing::residentKiB());
    state.counters["maxrss_start_kb"] = static_cast<double>(maxRssStart);
    state.counters["maxrss_end_kb"] = static_cast<double>(maxRssKb());
    state.counters["wakeups"] = static_cast<double>(wakeups);
    state.counters["csv_bytes"] = static_cast<double>(csvBytes);
    if (session.message().size()) state.SkipWithError(session.message().c_str());
  }
}
BENCHMARK(BM_ConsoleMonitor50Hz)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  // "--seconds N" is ours; everything else goes to Google Benchmark.
  int kept = 1;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--seconds") == 0 && i + 1 < argc) {
      gSeconds = std::max(1, std::atoi(argv[++i]));
    } else {
      argv[kept++] = argv[i];
    }
  }
  argc = kept;
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
