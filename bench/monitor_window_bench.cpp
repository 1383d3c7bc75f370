// The sensor monitor offscreen against the virtual board streaming 50 reports a second, with
// the chart drawing four connectors: reports shown against reports sent, whether a repaint ever
// came while a received report was not yet shown, the share of one core this process used, and
// its memory at the start and the end.
// Run: build/bench/monitor_window_bench [SECONDS] [--no-chart]   (default 60 s, chart shown)

#include <sys/resource.h>
#include <unistd.h>

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "VirtualBoardProcess.h"
#include "core/Context.h"
#include "gui/app/Prompts.h"
#include "gui/app/Workbench.h"
#include "gui/comm/SerialLink.h"
#include "gui/monitor/MonitorChart.h"
#include "gui/monitor/TfrmMoni.h"
#include "ResidentMemory.h"

using namespace kavel;

namespace {

class QuietPrompts : public gui::Prompts {
 public:
  gui::Answer ask(QWidget*, gui::PromptIcon, const QString& title, const QString& text, gui::PromptButtons) override {
    std::fprintf(stderr, "asked: %s: %s\n", qPrintable(title), qPrintable(text));
    return gui::Answer::Ok;
  }
};

double cpuSeconds() {
  rusage u{};
  ::getrusage(RUSAGE_SELF, &u);
  return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}


// Counts the window's repaints and notes any that came while a report the link had handed on
// was not yet in the panels.
class PaintWatch : public QObject {
 public:
  PaintWatch(const gui::TfrmMoni& win, const long& received) : win_(win), received_(received) {}
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Paint) {
      ++paints;
      if (received_ > win_.reportsShown()) ++behind;
    }
    return false;
  }
  long paints = 0;
  long behind = 0;

 private:
  const gui::TfrmMoni& win_;
  const long& received_;
};

}  // namespace

int main(int argc, char** argv) {
  int seconds = 60;
  bool chart = true;
  for (int i = 1; i < argc; ++i) {
    if (std::string(argv[i]) == "--no-chart") {
      chart = false;
    } else {
      seconds = std::max(1, std::atoi(argv[i]));
    }
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QTemporaryDir dir;
  const QString log = dir.path() + "/vboard.log";
  auto board = std::make_unique<testing::VirtualBoardProcess>(std::vector<std::string>{"--rate", "50"},
                                                              log.toStdString());
  if (board->path().empty()) {
    std::fprintf(stderr, "vboard did not start\n");
    return 1;
  }
  Context ctx;
  ctx.settings.LANG_NO_ = 1;
  ctx.settings.variant = 3;
  ctx.settings.PortName = board->path();
  ctx.messages.load(1, KAVEL_BIN_DIR "/English.Txt");
  ctx.messages.setLanguage(1);
  QuietPrompts prompts;
  gui::Workbench bench(ctx, prompts, KAVEL_BIN_DIR, nullptr);
  gui::TfrmMoni win(ctx, bench, KAVEL_BIN_DIR, nullptr);

  long received = 0;
  QObject::connect(&bench.link(), &SerialLink::connectorReport, [&] { ++received; });
  PaintWatch watch(win, received);
  win.installEventFilter(&watch);
  win.chart()->installEventFilter(&watch);

  win.show();
  if (chart) {
    win.ckChart()->setChecked(true);
    win.ckChartClick();
    for (int n = 2; n <= 4; ++n) win.ckSeries(n)->setChecked(true);
  }
  win.btnStartClick();
  if (!QTest::qWaitFor([&] { return win.reportsShown() > 0; }, 10000)) {
    std::fprintf(stderr, "no reports arrived\n");
    return 1;
  }

  const long rssStart = kavel::testing::residentKiB();
  const double cpuStart = cpuSeconds();
  const long shownStart = win.reportsShown();
  const int chartPaintsStart = win.chart()->paints();
  QElapsedTimer wall;
  wall.start();
  long rssMid = rssStart;
  while (wall.elapsed() < seconds * 1000LL) {
    QTest::qWait(100);
    if (wall.elapsed() >= seconds * 500LL && rssMid == rssStart) rssMid = kavel::testing::residentKiB();
  }
  const double elapsed = wall.elapsed() / 1000.0;
  const double cpu = cpuSeconds() - cpuStart;
  const long rssEnd = kavel::testing::residentKiB();
  const long shownInRun = win.reportsShown() - shownStart;
  const int chartPaints = win.chart()->paints() - chartPaintsStart;

  // Stop the stream, let the last lines arrive, then ask the board how many it sent.
  win.btnStartClick();
  QTest::qWait(500);
  win.btnCloseClick();
  if (!QTest::qWaitFor([&] { return !win.isVisible(); }, 3000)) std::fprintf(stderr, "the window did not close\n");
  board->stop();
  QFile f(log);
  long sent = -1;
  if (f.open(QIODevice::ReadOnly)) {
    const auto match = QRegularExpression("sent (\\d+) sensor reports").match(QString::fromLatin1(f.readAll()));
    if (match.hasMatch()) sent = match.captured(1).toLong();
  }

  std::printf("monitor window against vboard --rate 50, %.1f s measured, chart %s\n", elapsed,
              chart ? "shown (4 connectors)" : "hidden");
  std::printf("reports sent by the board       %ld\n", sent);
  std::printf("reports shown by the window     %ld (%ld during the measured time, %.1f/s)\n", win.reportsShown(),
              shownInRun, shownInRun / elapsed);
  std::printf("reports dropped                 %ld\n", sent >= 0 ? sent - win.reportsShown() : -1);
  std::printf("repaints while a report waited  %ld of %ld window/chart paints\n", watch.behind, watch.paints);
  std::printf("chart repaints                  %d (%.1f/s; frame %d ms)\n", chartPaints, chartPaints / elapsed,
              win.chart()->frameInterval());
  std::printf("CPU                             %.2f %% of one core (%.2f s)\n", 100.0 * cpu / elapsed, cpu);
  std::printf("RSS                             start %ld KiB, half-way %ld KiB, end %ld KiB\n", rssStart, rssMid,
              rssEnd);
  return sent >= 0 && sent == win.reportsShown() && watch.behind == 0 ? 0 : 2;
}
