// The module monitors (ultrasonic, compass, camera) and the game-pad dialog's live monitor,
// offscreen: lines fed to their handlers, and the streams of the virtual board.

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include <functional>
#include <memory>

#include "DialogFixture.h"
#include "ScriptedPrompts.h"
#include "VirtualBoardProcess.h"
#include "core/monitor/SignatureColours.h"
#include "gui/app/ClickLabel.h"
#include "gui/comm/SerialLink.h"
#include "gui/dialogs/TfrmSNX4410.h"
#include "gui/monitor/PictureView.h"
#include "gui/monitor/TfrmCmps.h"
#include "gui/monitor/TfrmPixyMoni.h"
#include "gui/monitor/TfrmUssMoni.h"

using namespace kavel;
using namespace kavel::gui;
using kavel::testing::ScriptedPrompts;
using kavel::testing::VirtualBoardProcess;

namespace {

constexpr int kWait = 3000;

// A context with both message files, the link, and the prompts the windows answer through.
struct Bench {
  test::DialogFixture f;
  Context& ctx = f.ctx;
  ScriptedPrompts prompts;
  SerialLink link{ctx};
  std::unique_ptr<VirtualBoardProcess> board;

  // The virtual board on the link's port, with the sensor monitor listening as it does while
  // a module window is open.
  bool connect() {
    board = std::make_unique<VirtualBoardProcess>();
    if (board->path().empty()) return false;
    ctx.settings.PortName = board->path();
    link.state().sensorMonitorListening = true;
    return link.OpenPort(true).ok;
  }
};

// Lines already on their way when the stop went out may still arrive, later on a loaded
// machine; once a quiet spell has passed, the board must stay silent.
bool fallsSilent(const std::function<int()>& count) {
  int before = count();
  for (int i = 0; i < 20; ++i) {
    QTest::qWait(300);
    const int now = count();
    if (now == before) break;
    before = now;
  }
  QTest::qWait(400);
  return count() == before;
}

bool anyDark(const QImage& img, const QRect& area) {
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      if (img.pixelColor(x, y).lightness() < 100) return true;
    }
  }
  return false;
}

QColor cellColour(QWidget* w) { return w->grab().toImage().pixelColor(w->width() / 2, w->height() / 2); }

const QColor kFace(0xA6, 0xCA, 0xF0);  // 0xF0CAA6 as 0x00BBGGRR

}  // namespace

class ModuleMonitorsTest : public QObject {
  Q_OBJECT

 private slots:
  // ---- ultrasonic ------------------------------------------------------------------------

  void ussShowsEachSensorAndKeepsEditedNames() {
    Bench b;
    b.ctx.settings.ussName = {"Front", "Left", "Right", "Back"};
    TfrmUssMoni w(b.ctx, b.link, b.prompts, nullptr);
    w.FormShow();
    QVERIFY(b.link.state().ussListening);
    QCOMPARE(w.edtName[1]->text(), QString("Left"));
    QCOMPARE(w.btnClose->text(), QString("Close"));
    QCOMPARE(w.windowTitle(), QString("4ch USS Monitor"));
    QCOMPARE(w.grpUss[3]->title(), QString("USS 4"));

    w.ussLine("U:1234,0000,0005,9999");
    QCOMPARE(w.pnlCm[0]->text(), QString("123cm"));
    QCOMPARE(w.pnlMm[0]->text(), QString("1234"));
    QCOMPARE(w.pbDist[0]->value(), 41);
    QVERIFY(w.pnlMm[1]->text().isEmpty());
    QVERIFY(w.pnlCm[1]->text().isEmpty());
    QCOMPARE(w.pbDist[1]->value(), 0);
    QCOMPARE(w.pnlCm[2]->text(), QString("  0cm"));
    QCOMPARE(w.pbDist[3]->value(), 100);  // beyond 3000 mm the bar stays full
    QCOMPARE(w.statusText(1), QString("U:1234,0000,0005,9999"));
    // A reading that drops to nothing empties the panels again.
    w.ussLine("U:0000,0000,0000,0000");
    QVERIFY(w.pnlMm[0]->text().isEmpty());
    QCOMPARE(w.pbDist[0]->value(), 0);

    w.edtName[2]->setText("Right arm");
    w.btnCloseClick();
    QCOMPARE(QString::fromStdString(b.ctx.settings.ussName[2]), QString("Right arm"));
    QVERIFY(!b.link.state().ussListening);
  }

  void ussFollowsTheBoardAndStopsItsStream() {
    Bench b;
    QVERIFY(b.connect());
    TfrmUssMoni w(b.ctx, b.link, b.prompts, nullptr);
    w.show();
    QVERIFY(b.link.state().ussListening);
    b.link.SendText("S3:1");
    QTRY_COMPARE_WITH_TIMEOUT(w.pnlMm[0]->text(), QString("1234"), kWait);
    QCOMPARE(w.pnlCm[3]->text(), QString("299cm"));
    QVERIFY(w.pnlMm[2]->text().isEmpty());
    QVERIFY(w.statusText(1).startsWith("U:1234,"));

    QSignalSpy lines(&b.link, &SerialLink::ultrasonicLine);
    w.close();
    QVERIFY(!w.isVisible());
    QVERIFY(!b.link.state().ussListening);
    // "S3:0" went out: the board falls silent.
    QVERIFY(fallsSilent([&] { return static_cast<int>(b.link.state().monitorLogLines); }));
    QCOMPARE(lines.count(), 0);
  }

  // ---- compass -----------------------------------------------------------------------------

  void compassTitleAndRowsFollowTheModel_data() {
    QTest::addColumn<bool>("hmc");
    QTest::addColumn<bool>("dir");
    QTest::addColumn<bool>("bno");
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("rows");
    QTest::newRow("HMC6352") << true << true << false << "Compass Monitor : SNX4402(HMC6352)" << false;
    QTest::newRow("6D") << false << true << false << "Compass Monitor : SNX5501(6D-Compass)" << true;
    QTest::newRow("9D") << false << false << true << "Compass Monitor : SNX6603(9D-Compass)" << true;
    QTest::newRow("none") << false << false << false << "Compass Monitor : " << false;
  }
  void compassTitleAndRowsFollowTheModel() {
    QFETCH(bool, hmc);
    QFETCH(bool, dir);
    QFETCH(bool, bno);
    QFETCH(QString, title);
    QFETCH(bool, rows);
    Bench b;
    b.ctx.io.useHmc = hmc;
    b.ctx.io.useDir = dir;
    b.ctx.io.useBno = bno;
    TfrmCmps w(b.ctx, b.link, b.prompts, nullptr);
    w.show();
    QCOMPARE(w.windowTitle(), title);
    QCOMPARE(w.pnlPitchRoll->isVisible(), rows);
    QCOMPARE(w.btnClose->text(), QString("Close"));
    QCOMPARE(w.imgDial->size(), QSize(360, 360));
  }

  void compassNeedleMovesAndIsErased() {
    Bench b;
    b.ctx.io.useDir = true;
    TfrmCmps w(b.ctx, b.link, b.prompts, nullptr);
    w.FormShow();
    const QImage fresh = w.dial();
    // The face, the scale outside it, and the labels above the ticks.
    QCOMPARE(fresh.pixelColor(180, 100), kFace);
    QCOMPARE(fresh.pixelColor(180, 180), kFace);
    QVERIFY(fresh.pixelColor(180, 26).lightness() < 100);  // the 0-degree tick outside the face
    QVERIFY(anyDark(fresh, QRect(340, 170, 20, 12)));   // "90" beside the east tick
    QVERIFY(anyDark(fresh, QRect(172, 0, 16, 12)));     // "0" above north
    QVERIFY(!anyDark(fresh, QRect(0, 0, 20, 20)));      // nothing in the corners

    w.cmpsLine("D:090,090,010");
    QCOMPARE(w.statusText(1), QString("D:090,090,010"));
    const QColor red(255, 0, 0);
    for (int x : {190, 250, 327}) QCOMPARE(w.dial().pixelColor(x, 180), red);  // level to the right
    QCOMPARE(w.dial().pixelColor(180, 150), kFace);
    QCOMPARE(cellColour(w.pnlPitch[4]), QColor(0, 0, 255));  // level pitch: the middle cell blue
    QCOMPARE(cellColour(w.pnlRoll[0]), QColor(0, 255, 0));   // roll 10: cell 1 green
    QCOMPARE(cellColour(w.pnlRoll[4]), QColor(255, 255, 255));

    const QImage east = w.dial();
    w.cmpsLine("D:999,010,090");  // no heading: the needle stays, the cells follow
    QCOMPARE(w.dial(), east);
    QCOMPARE(cellColour(w.pnlPitch[0]), QColor(0, 255, 0));
    QCOMPARE(cellColour(w.pnlPitch[4]), QColor(255, 255, 255));

    // Back to north and east again: erasing leaves the picture exactly as that needle drew it.
    w.cmpsLine("D:000,090,090");
    QCOMPARE(w.dial().pixelColor(250, 180), kFace);
    QCOMPARE(w.dial().pixelColor(180, 100), red);
    w.cmpsLine("D:090,090,090");
    QCOMPARE(w.dial(), east);
    for (int degree = 0; degree < 360; degree += 7) w.cmpsLine(QString("D:%1").arg(degree, 3, 10, QChar('0')));
    w.cmpsLine("D:090");
    QCOMPARE(w.dial(), east);
    w.btnCloseClick();
    QVERIFY(!b.link.state().compassListening);
  }

  // After the compass window has been closed in any way, a later ultrasonic monitor receives
  // the board's "U:" lines.
  void ultrasonicAfterTheCompassClosed_data() {
    QTest::addColumn<int>("way");
    QTest::newRow("Close button") << 0;
    QTest::newRow("window closed") << 1;
    QTest::newRow("Escape") << 2;
    QTest::newRow("hidden by its owner") << 3;
    QTest::newRow("link broke off") << 4;
  }
  void ultrasonicAfterTheCompassClosed() {
    QFETCH(int, way);
    Bench b;
    QVERIFY(b.connect());
    b.ctx.io.useDir = true;
    TfrmCmps compass(b.ctx, b.link, b.prompts, nullptr);
    compass.show();
    b.link.SendText("S1:1");
    b.link.SendText("S3:1");
    QTRY_VERIFY_WITH_TIMEOUT(compass.statusText(1).startsWith("D:"), kWait);
    switch (way) {
      case 0: compass.btnCloseClick(); break;
      case 1: compass.close(); break;
      case 2: QTest::keyClick(&compass, Qt::Key_Escape); break;
      case 3: compass.hide(); break;
      case 4:
        // The compass window closes with the link; the ultrasonic monitor opens on a new one.
        b.board->stop();
        QTRY_VERIFY_WITH_TIMEOUT(!compass.isVisible(), kWait);
        QVERIFY(b.connect());
        b.link.SendText("S3:1");
        break;
    }
    QVERIFY(!compass.isVisible());
    QVERIFY(!b.link.state().compassListening);
    TfrmUssMoni uss(b.ctx, b.link, b.prompts, nullptr);
    uss.show();
    QTRY_COMPARE_WITH_TIMEOUT(uss.pnlMm[0]->text(), QString("1234"), kWait);
    uss.close();
  }

  // ---- camera ------------------------------------------------------------------------------

  void cameraFieldAndPanels() {
    Bench b;
    b.ctx.settings.clSig[3] = 0x00FF00;
    TfrmPixyMoni w(b.ctx, b.link, b.prompts, nullptr);
    w.FormShow();
    QVERIFY(b.link.state().pixyListening);
    const QImage& f = w.field();
    QCOMPARE(f.size(), QSize(708, 468));
    QCOMPARE(f.pixelColor(30, 30), QColor(Qt::black));
    QCOMPARE(f.pixelColor(674, 434), QColor(Qt::black));
    QVERIFY(f.pixelColor(29, 100) != QColor(Qt::black));
    QVERIFY(f.pixelColor(675, 100) != QColor(Qt::black));
    QVERIFY(f.pixelColor(32, 26).lightness() < 128);   // scale marks above the field
    QVERIFY(f.pixelColor(52, 26).lightness() < 128);
    QVERIFY(!anyDark(f, QRect(46, 12, 12, 11)));       // no label at 10 camera pixels
    QVERIFY(anyDark(f, QRect(64, 12, 16, 11)));        // "20" at 20
    QVERIFY(anyDark(f, QRect(64, 443, 16, 11)));       // and below the field
    QVERIFY(anyDark(f, QRect(683, 427, 20, 10)));      // "200" right of the field's bottom
    bool guide = false;  // the dotted third lines
    for (int y = 34; y < 60; ++y) guide = guide || f.pixelColor(242, y) == kFace;
    QVERIFY(guide);

    struct Panel {
      int index;
      QColor background;
      QColor text;
    } panels[] = {{0, QColor(255, 0, 0), Qt::white},
                  {1, QColor(255, 255, 0), Qt::black},
                  {2, QColor(0, 0, 255), Qt::white},
                  {3, QColor(0, 255, 0), Qt::black}};
    for (const Panel& p : panels) {
      QLabel* l = w.pnlSig[static_cast<std::size_t>(p.index)];
      QCOMPARE(l->text(), QString::number(p.index + 1));
      const QImage img = l->grab().toImage();
      QCOMPARE(img.pixelColor(4, 4), p.background);
      QVERIFY2(l->styleSheet().contains(p.text == Qt::black ? "color: black" : "color: white"),
               qPrintable(l->styleSheet()));
    }
  }

  void cameraBoxesAreDrawnAndErased() {
    Bench b;
    TfrmPixyMoni w(b.ctx, b.link, b.prompts, nullptr);
    w.FormShow();
    const QImage empty = w.field();
    w.pixyLine("#Pixy:002,160,100,020,010 ");
    const QColor yellow(255, 255, 0);
    for (QPoint p : {QPoint(332, 222), QPoint(372, 242), QPoint(352, 222), QPoint(332, 232), QPoint(372, 230)}) {
      QCOMPARE(w.field().pixelColor(p), yellow);
    }
    QCOMPARE(w.field().pixelColor(352, 232), QColor(Qt::black));
    QCOMPARE(w.statusText(1), QString("[2]x:160(w: 20), y:100(h: 10) "));

    // Boxes over the guide lines and past the field's edge; the next frame erases them all.
    w.pixyLine("#Pixy:001,105,065,030,030 003,000,000,050,050 004,319,199,100,100 ");
    QCOMPARE(w.boxes().size(), std::size_t(3));
    QCOMPARE(w.field().pixelColor(332, 222), QColor(Qt::black));
    w.pixyLine("#Pixy:");
    QVERIFY(w.boxes().empty());
    QCOMPARE(w.field(), empty);
    QVERIFY(w.statusText(1).isEmpty());

    // A colour changed between two frames: the old box still goes away.
    w.pixyLine("#Pixy:001,100,100,020,020 ");
    b.ctx.settings.clSig[0] = 0x123456;
    w.pixyLine("#Pixy:000");
    QCOMPARE(w.field(), empty);
  }

  void signatureColoursAreChosenAndReset() {
    Bench b;
    TfrmPixyMoni w(b.ctx, b.link, b.prompts, nullptr);
    w.FormShow();
    b.prompts.colour = QColor(0x12, 0x34, 0x56);
    QTest::mouseClick(w.pnlSig[4], Qt::LeftButton);
    QCOMPARE(b.ctx.settings.clSig[4], std::uint32_t(0x563412));
    QCOMPARE(w.pnlSig[4]->grab().toImage().pixelColor(4, 4), QColor(0x12, 0x34, 0x56));
    b.prompts.colour.reset();  // the chooser cancelled
    w.pnlSigClick(4);
    QCOMPARE(b.ctx.settings.clSig[4], std::uint32_t(0x563412));

    b.prompts.answers = {Answer::No};
    w.lblSigColorDblClick();
    QCOMPARE(b.ctx.settings.clSig[4], std::uint32_t(0x563412));
    QCOMPARE(b.prompts.asked.size(), std::size_t(1));
    QCOMPARE(b.prompts.asked[0].title, QString("Confirm"));
    QCOMPARE(b.prompts.asked[0].text, QString::fromStdString(b.ctx.messages(151)));
    QCOMPARE(b.prompts.asked[0].icon, PromptIcon::Warning);
    QCOMPARE(b.prompts.asked[0].buttons, PromptButtons::YesNo);
    b.prompts.answers = {Answer::Yes};
    QTest::mouseDClick(w.lblSigColor, Qt::LeftButton);
    QCOMPARE(b.ctx.settings.clSig, kDefaultSignatureColours);
    QCOMPARE(w.pnlSig[4]->grab().toImage().pixelColor(4, 4), QColor(Qt::white));
  }

  void cameraStartButtonRunsAndStopsTheStream() {
    Bench b;
    QVERIFY(b.connect());
    TfrmPixyMoni w(b.ctx, b.link, b.prompts, nullptr);
    int sensorStops = 0;
    w.stopSensorStream = [&] { ++sensorStops; };
    w.show();
    QTest::mouseClick(w.btnStart, Qt::LeftButton);
    QCOMPARE(sensorStops, 1);
    QVERIFY(w.streamRunning());
    QVERIFY(w.btnStart->isChecked());
    QTRY_VERIFY_WITH_TIMEOUT(w.boxes().size() == 2, kWait);
    QVERIFY(w.statusText(1).startsWith("[1]x:"));
    QVERIFY(w.statusText(1).contains("[2]x:160(w: 20), y:100(h: 10) "));

    w.btnStartClick();  // a second press stops it
    QVERIFY(!w.streamRunning());
    QVERIFY(!w.btnStart->isChecked());
    QSignalSpy lines(&b.link, &SerialLink::cameraLine);
    QVERIFY(fallsSilent([&] { return static_cast<int>(lines.count()); }));

    // Closing while it runs stops it too.
    w.btnStartClick();
    QTRY_VERIFY_WITH_TIMEOUT(lines.count() > 0, kWait);
    w.close();
    QVERIFY(!w.streamRunning());
    QVERIFY(!b.link.state().pixyListening);
    lines.clear();
    QVERIFY(fallsSilent([&] { return static_cast<int>(lines.count()); }));
  }

  void cameraStartSearchesTheBoard() {
    Bench b;
    VirtualBoardProcess board;
    b.ctx.settings.PortName = "/dev/kavel-no-such-port";
    b.link.state().sensorMonitorListening = true;
    TfrmPixyMoni w(b.ctx, b.link, b.prompts, nullptr);
    w.setPortSource([&] { return std::vector<std::string>{board.path()}; });
    w.show();
    w.btnStartClick();
    QVERIFY(!w.streamRunning());
    QTRY_VERIFY_WITH_TIMEOUT(w.streamRunning(), kWait);
    QVERIFY(b.link.isOpen());
    QCOMPARE(QString::fromStdString(b.ctx.settings.PortName), QString::fromStdString(board.path()));
    QTRY_VERIFY_WITH_TIMEOUT(!w.boxes().empty(), kWait);
    QVERIFY(b.prompts.asked.empty());
    w.close();
  }

  void cameraStartWithoutABoard() {
    Bench b;
    b.ctx.settings.PortName = "/dev/kavel-no-such-port";
    TfrmPixyMoni w(b.ctx, b.link, b.prompts, nullptr);
    w.setPortSource([] { return std::vector<std::string>{}; });
    w.show();
    w.btnStartClick();
    QTRY_COMPARE_WITH_TIMEOUT(b.prompts.asked.size(), std::size_t(1), kWait);
    QCOMPARE(b.prompts.asked[0].title, QString("Comport Search"));
    QCOMPARE(b.prompts.asked[0].text, QString::fromStdString(b.ctx.messages(66) + "\r\n" + b.ctx.messages(67)));
    QCOMPARE(b.prompts.asked[0].icon, PromptIcon::Warning);
    QVERIFY(!w.streamRunning());
    QVERIFY(!b.link.isOpen());
    QVERIFY(w.isVisible());
  }

  // ---- game pad ------------------------------------------------------------------------------

  void padMonitorOpensItsOwnPortFromTheChooser() {
    Bench b;
    VirtualBoardProcess board;
    b.ctx.settings.PortName = board.path();
    TfrmSNX4410 d(b.ctx, nullptr);
    QVERIFY(d.btnMonitor->isHidden());  // no link: no monitor
    d.useLink(b.link, b.prompts);
    b.f.edit(1, 43, 0x0200, 0);
    d.FormShow();
    QVERIFY(!d.btnMonitor->isHidden());
    QCOMPARE(d.btnMonitor->text(), QString("Monitor"));
    QTest::mouseClick(d.btnMonitor, Qt::LeftButton);
    QVERIFY(d.monitoring());
    QVERIFY(d.btnMonitor->isChecked());
    QVERIFY(b.link.isOpen());
    QVERIFY(b.link.state().gamePadMonitor);
    QTRY_VERIFY_WITH_TIMEOUT(d.btnMonitor->text().startsWith("P:"), kWait);
    // Lines are shown as they arrive.
    const QString first = d.btnMonitor->text();
    QTRY_VERIFY_WITH_TIMEOUT(d.btnMonitor->text() != first, kWait);

    QTest::mouseClick(d.btnMonitor, Qt::LeftButton);
    QVERIFY(!d.monitoring());
    QVERIFY(!d.btnMonitor->isChecked());
    QCOMPARE(d.btnMonitor->text(), QString("Monitor"));
    QVERIFY(!b.link.isOpen());
    QVERIFY(!b.link.state().gamePadMonitor);

    // Closing the dialog while the monitor runs closes the port it opened.
    d.btnMonitorClick();
    QVERIFY(b.link.isOpen());
    d.btnCancelClick();
    QVERIFY(!d.monitoring());
    QVERIFY(!b.link.isOpen());
    QVERIFY(!b.link.state().gamePadMonitor);
  }

  void padMonitorFromTheSensorMonitorLeavesItsPort() {
    Bench b;
    QVERIFY(b.connect());
    TfrmSNX4410 d(b.ctx, nullptr);
    d.useLink(b.link, b.prompts);
    d.FormShow();
    d.btnMonitorClick();
    QTRY_VERIFY_WITH_TIMEOUT(d.btnMonitor->text().startsWith("P:"), kWait);
    d.btnMonitorClick();
    QVERIFY(b.link.isOpen());
    d.btnMonitorClick();
    d.btnOkClick();
    QVERIFY(!d.monitoring());
    QVERIFY(b.link.isOpen());
    QCOMPARE(d.btnMonitor->text(), QString("Monitor"));
  }

  void padMonitorReportsAPortThatDoesNotOpen_data() {
    QTest::addColumn<bool>("report");
    QTest::newRow("reported") << true;
    QTest::newRow("searching: quiet") << false;
  }
  void padMonitorReportsAPortThatDoesNotOpen() {
    QFETCH(bool, report);
    Bench b;
    b.ctx.settings.PortName = "/dev/kavel-no-such-port";
    b.link.state().ReportOpenErrors = report;
    TfrmSNX4410 d(b.ctx, nullptr);
    d.useLink(b.link, b.prompts);
    d.FormShow();
    QTest::mouseClick(d.btnMonitor, Qt::LeftButton);
    QVERIFY(!d.monitoring());
    QVERIFY(!d.btnMonitor->isChecked());
    QVERIFY(!b.link.state().gamePadMonitor);
    QCOMPARE(b.prompts.asked.size(), std::size_t(report ? 1 : 0));
    if (report) {
      QCOMPARE(b.prompts.asked[0].title, QString("Warning!"));
      QVERIFY(b.prompts.asked[0].text.contains("Can't connect to /dev/kavel-no-such-port. Please check the cable."));
    }
  }

  void padMonitorPopsUpWhenTheBoardGoes() {
    Bench b;
    VirtualBoardProcess board;
    b.ctx.settings.PortName = board.path();
    TfrmSNX4410 d(b.ctx, nullptr);
    d.useLink(b.link, b.prompts);
    d.FormShow();
    d.btnMonitorClick();
    QTRY_VERIFY_WITH_TIMEOUT(d.btnMonitor->text().startsWith("P:"), kWait);
    board.stop();
    QTRY_VERIFY_WITH_TIMEOUT(!d.monitoring(), kWait);
    QVERIFY(!d.btnMonitor->isChecked());
    QCOMPARE(d.btnMonitor->text(), QString("Monitor"));
    QVERIFY(!b.link.isOpen());
  }

  void moduleWindowsCloseWhenTheBoardGoes() {
    Bench b;
    QVERIFY(b.connect());
    TfrmUssMoni uss(b.ctx, b.link, b.prompts, nullptr);
    uss.show();
    b.link.SendText("S3:1");
    QTRY_VERIFY_WITH_TIMEOUT(!uss.pnlMm[0]->text().isEmpty(), kWait);
    b.board->stop();
    QTRY_VERIFY_WITH_TIMEOUT(!uss.isVisible(), kWait);
    QVERIFY(!b.link.state().ussListening);
  }
};

QTEST_MAIN(ModuleMonitorsTest)
#include "module_monitors_test.moc"
