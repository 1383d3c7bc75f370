// Every monitor window while it shows live data from the virtual board, in English and in
// Japanese. With KAVEL_MONITOR_SHOTS naming a folder, each is also written there as
// <name>_<en|ja>.png for a look; without it the windows still run and must show data.

#include <QCheckBox>
#include <QDir>
#include <QPushButton>
#include <QLabel>
#include <QtTest>

#include <functional>
#include <memory>
#include <vector>

#include "DialogFixture.h"
#include "ScriptedPrompts.h"
#include "VirtualBoardProcess.h"
#include "core/model/StatementKind.h"
#include "gui/app/Workbench.h"
#include "gui/comm/SerialLink.h"
#include "gui/dialogs/TfrmSNX4410.h"
#include "gui/monitor/TfrmCmps.h"
#include "gui/monitor/TfrmMoni.h"
#include "gui/monitor/TfrmMotBal.h"
#include "gui/monitor/TfrmPixyMoni.h"
#include "gui/monitor/TfrmUssMoni.h"

using namespace kavel;
using namespace kavel::gui;

namespace {

constexpr int kWait = 4000;

// One virtual board, the link to it and the records a window needs, in one language.
struct Stage {
  test::DialogFixture f;
  Context& ctx = f.ctx;
  testing::ScriptedPrompts prompts;
  SerialLink link{ctx};
  testing::VirtualBoardProcess board;
  // The sensor monitor brings its own link with the workbench; it outlives the windows.
  std::unique_ptr<Workbench> bench;
  std::vector<std::unique_ptr<QWidget>> windows;

  Stage(int language, const std::vector<std::string>& boardOptions) : board(boardOptions) {
    ctx.messages.setLanguage(language);
    ctx.settings.LANG_NO_ = language;
    ctx.settings.PortName = board.path();
  }

  /// Opens the port as the sensor monitor has it open while a module window shows.
  bool connectAsSensorMonitor() {
    link.state().sensorMonitorListening = true;
    return !board.path().empty() && link.OpenPort(true).ok;
  }

  template <class W>
  W* keep(std::unique_ptr<W> w) {
    W* raw = w.get();
    windows.push_back(std::move(w));
    return raw;
  }
};

bool waitFor(const std::function<bool()>& shown) { return QTest::qWaitFor(shown, kWait); }

// Each builds its window, shows it, starts the board's stream and returns the window once it
// shows live data (null when no data came).
using ShowLive = std::function<QWidget*(Stage&)>;

QWidget* sensorMonitorLive(Stage& s) {
  const char* names[] = {"Light L", "Light R", "Buzzer", "Sonar", "Arm", "Bumper", "Temp", "Lamp", "Left", "Right"};
  for (int n = 0; n < 10; ++n) s.ctx.io.cnName[std::size_t(n)] = names[n];
  const QString bin = QStringLiteral(KAVEL_BIN_DIR);
  s.bench = std::make_unique<Workbench>(s.ctx, s.prompts, bin, nullptr);
  auto* w = s.keep(std::make_unique<TfrmMoni>(s.ctx, *s.bench, bin, nullptr));
  w->show();
  w->btnStartClick();
  if (!waitFor([w] { return w->reportsShown() >= 2; })) return nullptr;
  w->ckChart()->setChecked(true);
  w->ckChartClick();
  w->ckSeries(5)->setChecked(true);
  w->ckSeries(7)->setChecked(true);
  w->btnOutClick(1);
  // Let the chart draw a stretch of its lines.
  QTest::qWait(2500);
  return w;
}

QWidget* motorBalanceLive(Stage& s) {
  if (s.board.path().empty() || !s.link.OpenPort(true).ok) return nullptr;
  auto* w = s.keep(std::make_unique<TfrmMotBal>(s.ctx, s.link, s.prompts, nullptr));
  w->setMotorIcon(s.f.glyphs.forKind(kMotorForward));
  w->show();
  if (!waitFor([w] { return !w->waiting() && !w->pnlThird()->text().isEmpty(); })) return nullptr;
  w->btnStepClick(-10);
  w->btnStepClick(-10);
  w->btnStepClick(-1);
  return w;
}

QWidget* compassLive(Stage& s) {
  s.ctx.io.useDir = true;
  if (!s.connectAsSensorMonitor()) return nullptr;
  auto* w = s.keep(std::make_unique<TfrmCmps>(s.ctx, s.link, s.prompts, nullptr));
  w->show();
  s.link.SendText("S1:1");
  // Let the needle turn away from north.
  if (!waitFor([w] { return w->statusText(1).startsWith("D:") && !w->statusText(1).startsWith("D:000"); })) {
    return nullptr;
  }
  QTest::qWait(300);
  return w;
}

QWidget* ultrasonicLive(Stage& s) {
  s.ctx.settings.ussName = {"Front", "Left", "Right", "Back"};
  if (!s.connectAsSensorMonitor()) return nullptr;
  auto* w = s.keep(std::make_unique<TfrmUssMoni>(s.ctx, s.link, s.prompts, nullptr));
  w->show();
  s.link.SendText("S3:1");
  if (!waitFor([w] { return !w->pnlMm[0]->text().isEmpty() && !w->pnlMm[1]->text().isEmpty(); })) return nullptr;
  return w;
}

QWidget* cameraLive(Stage& s) {
  s.ctx.settings.clSig[3] = 0x00FF00;
  if (!s.connectAsSensorMonitor()) return nullptr;
  auto* w = s.keep(std::make_unique<TfrmPixyMoni>(s.ctx, s.link, s.prompts, nullptr));
  w->show();
  w->btnStartClick();
  if (!waitFor([w] { return w->boxes().size() == 2; })) return nullptr;
  return w;
}

QWidget* gamePadLive(Stage& s) {
  // Opened from the condition chooser: the dialog opens the port itself.
  auto* d = s.keep(std::make_unique<TfrmSNX4410>(s.ctx, nullptr));
  d->useLink(s.link, s.prompts);
  s.f.edit(1, 43, 0x0200, 0, 0, "circle pressed");
  d->FormShow();
  d->placeAt(QPoint(0, 0));
  d->show();
  d->btnMonitorClick();
  if (!waitFor([d] { return d->btnMonitor->text().startsWith("P:"); })) return nullptr;
  return d;
}

struct Shot {
  const char* name;
  ShowLive show;
  std::vector<std::string> board = {};  // options of the virtual board
};

// One line per monitor window.
const std::vector<Shot>& shots() {
  static const std::vector<Shot> table{
      {"moni", sensorMonitorLive, {"--config", "CNio:0121346021 ID:1 USE_USS USE_DIR USE_PIXY USE_SNX4410"}},
      {"motbal", motorBalanceLive},
      {"cmps", compassLive},
      {"ussmoni", ultrasonicLive},
      {"pixymoni", cameraLive},
      {"snx4410moni", gamePadLive},
  };
  return table;
}

}  // namespace

class MonitorPictures : public QObject {
  Q_OBJECT

 private slots:
  void showsLiveData_data() {
    QTest::addColumn<int>("language");
    QTest::addColumn<int>("shot");
    for (int language : {1, 0}) {
      for (int i = 0; i < int(shots().size()); ++i) {
        QTest::newRow(qPrintable(QString("%1_%2").arg(shots()[std::size_t(i)].name, language == 0 ? "ja" : "en")))
            << language << i;
      }
    }
  }
  void showsLiveData() {
    QFETCH(int, language);
    QFETCH(int, shot);
    Stage stage(language, shots()[std::size_t(shot)].board);
    QVERIFY(!stage.board.path().empty());
    QWidget* w = shots()[std::size_t(shot)].show(stage);
    QVERIFY2(w, "the window showed no data from the board");
    QVERIFY(QTest::qWaitForWindowExposed(w));
    // The picture first, so that a window the checks below refuse can be looked at.
    const QString folder = qEnvironmentVariable("KAVEL_MONITOR_SHOTS");
    if (!folder.isEmpty()) {
      QDir().mkpath(folder);
      QVERIFY(w->grab().save(QDir(folder).filePath(QString("%1.png").arg(QTest::currentDataTag()))));
    }
    // Nothing of the window is cut: every visible child lies inside it.
    for (QWidget* child : w->findChildren<QWidget*>()) {
      if (!child->isVisible()) continue;
      const QRect inWindow(child->mapTo(w, QPoint(0, 0)), child->size());
      QVERIFY2(w->rect().contains(inWindow), qPrintable(child->objectName()));
      // Siblings lie side by side, not over each other (status panels, cells, buttons).
      for (QObject* o : child->parent()->children()) {
        auto* sibling = qobject_cast<QWidget*>(o);
        if (!sibling || sibling == child || !sibling->isVisible() || sibling->isWindow()) continue;
        QVERIFY2(!child->geometry().intersects(sibling->geometry()),
                 qPrintable(QString("%1 over %2 in %3 of width %4 (%5,%6 %7x%8 / %9,%10)")
                                .arg(child->objectName(), sibling->objectName(), child->parentWidget()->objectName())
                                .arg(child->parentWidget()->width())
                                .arg(child->x()).arg(child->y()).arg(child->width()).arg(child->height())
                                .arg(sibling->x()).arg(sibling->y())));
      }
      if (auto* b = qobject_cast<QPushButton*>(child); b && !b->text().isEmpty()) {
        QVERIFY2(b->width() >= b->fontMetrics().horizontalAdvance(b->text()) + 8, qPrintable(b->objectName()));
      }
    }

    for (auto& window : stage.windows) window->close();
  }
};

QTEST_MAIN(MonitorPictures)
#include "monitor_pictures_test.moc"
