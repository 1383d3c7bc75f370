// Every monitor window while it shows live data from the virtual board, in English and in
// Japanese. With KAVEL_MONITOR_SHOTS naming a folder, each is also written there as
// <name>_<en|ja>.png for a look; without it the windows still run and must show data.

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
#include "gui/comm/SerialLink.h"
#include "gui/dialogs/TfrmSNX4410.h"
#include "gui/monitor/TfrmCmps.h"
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
  std::vector<std::unique_ptr<QWidget>> windows;

  explicit Stage(int language) {
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
};

// One line per monitor window.
const std::vector<Shot>& shots() {
  static const std::vector<Shot> table{
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
    Stage stage(language);
    QVERIFY(!stage.board.path().empty());
    QWidget* w = shots()[std::size_t(shot)].show(stage);
    QVERIFY2(w, "the window showed no data from the board");
    QVERIFY(QTest::qWaitForWindowExposed(w));
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
                 qPrintable(child->objectName() + " over " + sibling->objectName()));
      }
      if (auto* b = qobject_cast<QPushButton*>(child); b && !b->text().isEmpty()) {
        QVERIFY2(b->width() >= b->fontMetrics().horizontalAdvance(b->text()) + 8, qPrintable(b->objectName()));
      }
    }

    const QString folder = qEnvironmentVariable("KAVEL_MONITOR_SHOTS");
    if (!folder.isEmpty()) {
      QDir().mkpath(folder);
      QVERIFY(w->grab().save(QDir(folder).filePath(QString("%1.png").arg(QTest::currentDataTag()))));
    }
    for (auto& window : stage.windows) window->close();
  }
};

QTEST_MAIN(MonitorPictures)
#include "monitor_pictures_test.moc"
