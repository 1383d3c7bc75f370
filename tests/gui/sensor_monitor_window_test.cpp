// The sensor monitor against the virtual board, offscreen: what it shows of the board's
// configuration and reports, what its controls send, the closing sequence, the module buttons
// through a stand-in hook, the recorder and the chart. Its pictures are taken by the monitor
// pictures test.

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSlider>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include <memory>

#include "ScriptedPrompts.h"
#include "VirtualBoardProcess.h"
#include "MainWindowFixture.h"
#include "core/Context.h"
#include "gui/app/ClickLabel.h"
#include "gui/app/Workbench.h"
#include "gui/comm/SerialLink.h"
#include "gui/monitor/ConnectorGroup.h"
#include "gui/monitor/MonitorChart.h"
#include "gui/monitor/ModuleWindows.h"
#include "gui/monitor/TfrmMoni.h"

using namespace kavel;
using kavel::gui::ConnectorGroup;
using kavel::gui::MonitorModule;
using kavel::gui::TfrmMoni;
using kavel::testing::Answer;
using kavel::testing::ScriptedPrompts;
using kavel::testing::VirtualBoardProcess;

namespace {

const QString kBin = QStringLiteral(KAVEL_BIN_DIR);
const std::string kVersion = "Wrenlet CORE Ver.2.10 vboard";

QString m(int n) { return QStringLiteral("M%1").arg(n); }

std::vector<std::string> boardOptions(const std::string& config, std::vector<std::string> more) {
  std::vector<std::string> o{"--verbose"};
  if (!config.empty()) {
    o.push_back("--config");
    o.push_back(config);
  }
  o.insert(o.end(), more.begin(), more.end());
  return o;
}

// A board on a pseudo-terminal and the monitor shown as the command shows it; what the board
// was sent is read back from its verbose log.
struct Bench {
  explicit Bench(const std::string& config = {}, std::vector<std::string> more = {}, int variant = 3,
                 const QString& folder = kBin)
      : log(dir.path() + "/vboard.log"),
        board(boardOptions(config, std::move(more)), log.toStdString()) {
    ctx.settings.LANG_NO_ = 1;
    ctx.settings.variant = variant;
    ctx.settings.PortName = board.path();
    ctx.settings.DatPath_ = dir.path().toStdString() + "/";
    ctx.messages.setLanguage(1);
    for (int n : {64, 66, 67, 141, 142, 143, 144, 145, 146, 147, 152}) ctx.messages.setText(1, n, m(n).toStdString());
    for (int n = 0; n < 10; ++n) ctx.io.cnName[n] = "name" + std::to_string(n + 1);
    bench = std::make_unique<gui::Workbench>(ctx, prompts, kBin, nullptr);
    win = std::make_unique<TfrmMoni>(ctx, *bench, folder, nullptr);
  }
  ~Bench() {
    win.reset();
    bench.reset();
  }
  SerialLink& link() { return bench->link(); }

  /// Shows the window and starts the sensor stream; true once reports arrive.
  bool start() {
    win->show();
    win->btnStartClick();
    return QTest::qWaitFor([this] { return win->reportsShown() >= 2; }, 8000);
  }

  /// Every command the board received, in order.
  QStringList sent() const {
    QFile f(log);
    if (!f.open(QIODevice::ReadOnly)) return {};
    const QString text = QString::fromLatin1(f.readAll());
    // A command may reach the board in two reads: join what it got before cutting the lines.
    QString received;
    static const QRegularExpression got(QStringLiteral("vboard: got \"([^\"]*)\""));
    for (auto it = got.globalMatch(text); it.hasNext();) received += it.next().captured(1);
    return received.split(QRegularExpression("[\\r\\n]+"), Qt::SkipEmptyParts);
  }
  bool wasSent(const QString& command) const { return sent().contains(command); }
  bool asked(const QString& text) const {
    for (const auto& a : prompts.asked) {
      if (a.text.contains(text)) return true;
    }
    return false;
  }

  QTemporaryDir dir;
  QString log;
  VirtualBoardProcess board;
  Context ctx;
  ScriptedPrompts prompts;
  std::unique_ptr<gui::Workbench> bench;
  std::unique_ptr<TfrmMoni> win;
};

QString caption(const TfrmMoni& w, int n) { return w.group(n)->title(); }
QString value(const TfrmMoni& w, int n) { return w.group(n)->pnlValue()->text(); }

}  // namespace

class SensorMonitorWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void firstActivationSizesTheWindowByItsPicture_data() {
    QTest::addColumn<int>("variant");
    QTest::addColumn<bool>("withPictures");
    QTest::addColumn<QString>("picture");
    QTest::addColumn<int>("width");
    // Every picture is 240 x 356: drawn 356 high beside 588 pixels of connectors.
    QTest::newRow("Glent") << 0 << true << "TopView_Glent.bmp" << 828;
    QTest::newRow("QV7B") << 2 << true << "QV7B_TopView.bmp" << 828;
    QTest::newRow("Wrenlet") << 3 << true << "WL_TopView.bmp" << 828;
    QTest::newRow("no picture") << 3 << false << "" << 580;
  }
  void firstActivationSizesTheWindowByItsPicture() {
    QFETCH(int, variant);
    QFETCH(bool, withPictures);
    QFETCH(QString, picture);
    QFETCH(int, width);
    QTemporaryDir empty;
    Bench b({}, {}, variant, withPictures ? kBin : empty.path());
    b.win->show();
    QCOMPARE(b.win->windowTitle(), QString("Sensor Monitor"));
    QCOMPARE(b.win->pictureFile(), picture);
    QCOMPARE(b.win->imgTop()->isVisible(), withPictures);
    QCOMPARE(b.win->width(), width);
    QCOMPARE(b.win->height(), b.win->baseHeight());
    QCOMPARE(b.win->pnlTop()->text(), m(145));
    QCOMPARE(b.win->btnStart()->text(), m(146));
    QCOMPARE(b.win->btnClose()->text(), m(64));
    QCOMPARE(b.win->btnRecord()->text(), m(141));
    QCOMPARE(b.win->ckChart()->text(), m(143));
    QCOMPARE(b.win->btnLed(0)->text(), QString("off"));
    QCOMPARE(b.win->btnLed(1)->text(), QString("off"));
    QVERIFY(b.win->grpLedR2()->isHidden());
    QVERIFY(!b.win->logShown());
    QVERIFY(b.win->listening());
    QVERIFY(!b.win->monitoring());
    QCOMPARE(b.win->group(4)->edtName()->text(), QString("name4"));
  }

  void setsUpEachConnectorByItsMode() {
    Bench b;
    b.ctx.io.cnMode = {0, 1, 2, 3, 4, 5, 6, 4, 0, 9};
    b.ctx.io.useHmc = true;
    b.ctx.io.subIoOn = true;
    b.ctx.io.subIoId = 3;
    b.win->show();
    struct Row {
      int n;
      const char* caption;
      bool button;
    } rows[] = {
        {1, "CN1 Output", true}, {2, "CN2", false}, {3, "CN3 Output", true}, {4, "CN4 PING", false},
        {5, "CN5 Servo", false}, {6, "CN6 Input  2-Wire", false}, {7, "CN7 Thermistor", false},
        {8, "CN8 Servo", false}, {9, "CN9 Output", true},
        {10, "CN10", false},  // a mode above 6 leaves the caption as it was
    };
    for (const Row& r : rows) {
      const ConnectorGroup* g = b.win->group(r.n);
      QVERIFY2(g->title() == r.caption, qPrintable(QString("CN%1: %2").arg(r.n).arg(g->title())));
      QVERIFY2(g->btnOut()->isVisible() == r.button, qPrintable(QString("CN%1 button").arg(r.n)));
      QVERIFY2(g->pBar()->isVisible() == !r.button, qPrintable(QString("CN%1 bar").arg(r.n)));
    }
    QVERIFY2(!b.win->group(7)->tBar()->isVisible(), "CN7 is a thermistor here");
    QVERIFY(b.win->group(8)->tBar()->isVisible());
    QVERIFY(b.win->btnModule(MonitorModule::Compass)->isEnabled());
    QVERIFY(!b.win->btnModule(MonitorModule::Ultrasonic)->isEnabled());
    QVERIFY(!b.win->btnModule(MonitorModule::Camera)->isEnabled());
    QVERIFY(b.win->btnModule(MonitorModule::GamePad)->isHidden());
    QVERIFY(b.win->cmbID()->isVisible());
    QCOMPARE(b.win->cmbID()->currentIndex(), 3);
  }

  void showsTheReadingsOfAReport() {
    Bench b;
    b.ctx.io.cnMode = {1, 1, 1, 6, 6, 3, 4, 0, 0, 2};
    b.win->show();
    // CN1..CN10, then five characters and the LED digits.
    b.win->ReportLine("CN1=1023,CN2=0512,CN3=0000,CN4=0253,CN5=1500,CN6=0345,CN7=1500,CN8=0500,CN9=0499,"
                      "CN10=1000,LED=101");
    struct Row {
      int n;
      const char* raw;
      const char* value;
      int bar;
    } rows[] = {
        {1, "1023", "100%", 100},    {2, "0512", " 50%", 50},      {3, "0000", "  0%", 0},
        {4, "0253", " 25\u2103", 25}, {5, "", "--", 0},            {6, "0345", " 34cm", 34},
        {7, "1500", " 50%", 50},     {8, "0500", "HIGH", 0},       {9, "0499", "LOW", 0},
        {10, "1000", "HIGH", 0},
    };
    for (const Row& r : rows) {
      const ConnectorGroup* g = b.win->group(r.n);
      const QString where = QString("CN%1").arg(r.n);
      QVERIFY2(g->pnlRaw()->text() == QString::fromUtf8(r.raw), qPrintable(where + " raw " + g->pnlRaw()->text()));
      QVERIFY2(g->pnlValue()->text() == QString::fromUtf8(r.value), qPrintable(where + " " + g->pnlValue()->text()));
      QVERIFY2(g->pBar()->value() == r.bar, qPrintable(where + " bar"));
    }
    QCOMPARE(b.win->btnLed(0)->text(), QString("on"));
    QCOMPARE(b.win->btnLed(1)->text(), QString("off"));
    QCOMPARE(b.win->btnLed(2)->text(), QString("on"));
    QVERIFY2(b.win->grpLedR2()->isVisible(), "a report with a third LED digit shows red LED 2");
    QCOMPARE(b.win->reportsShown(), 1L);

    // A short line is ignored; a garbled one reads its fields as 0.
    b.win->ReportLine("CN1=0000,CN2=0000");
    QCOMPARE(value(*b.win, 1), QString("100%"));
    QCOMPARE(b.win->reportsShown(), 1L);
    b.win->ReportLine(QString(120, QChar('#')).prepend("CN1="));
    QCOMPARE(value(*b.win, 1), QString("  0%"));
    QCOMPARE(value(*b.win, 6), QString("  0cm"));
  }

  void startLearnsTheBoardAndShowsItsReports() {
    Bench b("CNio:1111113400 USE_USS USE_DIR USE_PIXY USE_SNX4410");
    QVERIFY(b.start());
    QCOMPARE(b.win->btnStart()->text(), m(147));
    QVERIFY(b.win->monitoring());
    QCOMPARE(b.win->statusText(0), QString::fromStdString(kVersion));
    QCOMPARE(caption(*b.win, 7), QString("CN7 PING"));
    QCOMPARE(caption(*b.win, 8), QString("CN8 Servo"));
    QCOMPARE(caption(*b.win, 9), QString("CN9 Output"));
    QVERIFY(b.win->group(8)->tBar()->isVisible());
    QCOMPARE(b.ctx.io.cnMode[6], 3);
    QVERIFY(b.ctx.io.useUss && b.ctx.io.usePixy && b.ctx.io.useDir);
    QVERIFY(b.win->btnModule(MonitorModule::Compass)->isEnabled());
    QVERIFY(b.win->btnModule(MonitorModule::GamePad)->isVisible());
    QCOMPARE(value(*b.win, 9), QString("LOW"));
    QCOMPARE(value(*b.win, 8), QString(" 50%"));
    // The configuration line is answered with the green LED, which the next reports show.
    QTRY_COMPARE_WITH_TIMEOUT(b.win->btnLed(0)->text(), QString("on"), 3000);
    const QStringList sent = b.sent();
    QCOMPARE(sent.mid(0, 4), (QStringList{"Ver", "Ver", "S0:1", "L0:1"}));

    // A second press stops the stream but the controls stay live.
    b.win->btnStartClick();
    QCOMPARE(b.win->btnStart()->text(), m(146));
    QVERIFY(!b.win->startRequest());
    QVERIFY(b.win->monitoring());
    QTRY_VERIFY_WITH_TIMEOUT(b.wasSent("S0:0"), 3000);
    b.win->btnLedClick(1);
    QTRY_VERIFY_WITH_TIMEOUT(b.wasSent("L1:1"), 3000);
  }

  void controlsSendTheirCommands() {
    Bench b("CNio:1101114400 ID:0");
    b.ctx.io.subIoOn = true;
    // Nothing is sent before monitoring.
    b.win->show();
    b.win->btnOutClick(2);
    b.win->group(7)->tBar()->setValue(10);
    QVERIFY(b.start());
    b.win->btnOutClick(2);
    QTRY_COMPARE_WITH_TIMEOUT(value(*b.win, 3), QString("HIGH"), 3000);
    b.win->btnOutClick(2);
    QTRY_COMPARE_WITH_TIMEOUT(value(*b.win, 3), QString("LOW"), 3000);
    b.win->group(7)->tBar()->setValue(25);
    QTRY_COMPARE_WITH_TIMEOUT(value(*b.win, 7), QString(" 25%"), 3000);
    QTRY_COMPARE_WITH_TIMEOUT(b.win->btnLed(0)->text(), QString("on"), 3000);  // lit after "L0:1"
    b.win->btnLedClick(0);
    b.win->cmbID()->setCurrentIndex(2);
    b.win->cmbIDCloseUp();
    QTRY_VERIFY_WITH_TIMEOUT(b.wasSent("ID:2"), 3000);
    const QStringList sent = b.sent();
    QVERIFY2(!sent.contains("s7:0700"), "the track bar moved before monitoring sends nothing");
    const QStringList expected{"O2:1", "O2:0", "s7:1000", "L0:0", "ID:2"};
    qsizetype at = 0;
    for (const QString& c : expected) {
      const qsizetype found = sent.indexOf(c, at);
      QVERIFY2(found >= 0, qPrintable(c + " missing or out of order in: " + sent.join(' ')));
      at = found + 1;
    }
    QCOMPARE(sent.count("O2:1"), 1);
  }

  void commandLineAndLog() {
    Bench b;
    QVERIFY(b.start());
    const int base = b.win->baseHeight();
    b.win->pnlTopDblClick();
    QVERIFY(b.win->logShown());
    QVERIFY2(b.win->memoLog()->toPlainText().contains(QString::fromStdString(kVersion)),
             "lines that came while the log was folded away are there");
    QTRY_VERIFY_WITH_TIMEOUT(b.win->memoLog()->toPlainText().count("LED=") > 2, 3000);
    QCOMPARE(b.win->height(), base + 200);
    b.win->edtCmd()->setText("L2:1");
    b.win->activateWindow();
    b.win->edtCmd()->setFocus();
    QTest::keyClick(b.win->edtCmd(), Qt::Key_Return);
    QVERIFY2(!b.wasSent("L2:1"), "Enter only moves on to Send");
    QTRY_VERIFY(b.win->btnSend()->hasFocus());
    b.win->btnSendClick();
    QTRY_VERIFY_WITH_TIMEOUT(b.wasSent("L2:1"), 3000);
    b.win->edtCmd()->clear();
    b.win->btnSendClick();
    b.win->btnLogClearClick();
    QVERIFY(b.win->statusText(0).isEmpty());
    b.win->pnlTopDblClick();
    QCOMPARE(b.win->height(), base);
  }

  void closingLeavesTheOutputsAtRest() {
    // CN8 low at rest, CN9 high at rest; the rest inputs.
    Bench b("CNio:1111114021");
    QVERIFY(b.start());
    b.win->group(3)->edtName()->setText("Left eye");
    b.win->btnCloseClick();
    QVERIFY2(b.win->isVisible() && b.win->closing(), "the window stays until its sequence has ended");
    b.win->btnCloseClick();  // a second press changes nothing
    QTRY_VERIFY_WITH_TIMEOUT(!b.win->isVisible(), 3000);
    QVERIFY(!b.win->listening());
    QVERIFY(!b.win->monitoring());
    QCOMPARE(b.ctx.io.cnName[2], std::string("Left eye"));
    QTRY_VERIFY_WITH_TIMEOUT(b.wasSent("S0:0"), 2000);
    const QStringList sent = b.sent();
    const qsizetype from = sent.indexOf("O7:0");
    QVERIFY2(from >= 0, qPrintable(sent.join(' ')));
    QCOMPARE(sent.mid(from), (QStringList{"O7:0", "O8:1", "L1:0", "L0:0", "S0:0"}));
  }

  void closingBeforeMonitoringSendsNothing() {
    Bench b;
    b.win->show();
    b.win->btnCloseClick();
    QVERIFY(!b.win->isVisible());
    QVERIFY(!b.win->listening());
    QTest::qWait(100);
    QVERIFY(b.sent().isEmpty());
  }

  void moduleButtonStopsConnectsShowsAndStopsTheModule() {
    Bench b;
    QVERIFY(b.start());
    bool markInside = false;
    bool compassStarted = false;
    b.win->setModuleHooks({[&](MonitorModule module) {
                             QCOMPARE(module, MonitorModule::Compass);
                             markInside = b.win->moduleMark(MonitorModule::Compass);
                             // The board's version answer arrives while the module window is open.
                             compassStarted = QTest::qWaitFor([&] { return b.wasSent("S1:1"); }, 3000);
                           },
                           {}});
    b.win->btnModuleClick(MonitorModule::Compass);
    QVERIFY(markInside);
    QVERIFY(compassStarted);
    QVERIFY(!b.win->moduleMark(MonitorModule::Compass));
    QVERIFY(!b.win->startRequest());
    QCOMPARE(b.win->btnStart()->text(), m(146));
    QTRY_VERIFY_WITH_TIMEOUT(b.wasSent("S1:0"), 3000);
    const QStringList sent = b.sent();
    const qsizetype stop = sent.lastIndexOf("S0:0");
    QVERIFY(stop >= 0);
    QCOMPARE(sent.mid(stop, 4), (QStringList{"S0:0", "Ver", "S1:1", "S1:0"}));
  }

  // The windows the main window hands over: each button shows its own window listening to the
  // board, and the pad dialog leaves the row being edited as it was.
  void theModuleButtonsShowTheModuleWindows() {
    Bench b("CNio:0121346021 USE_USS USE_DIR USE_PIXY USE_SNX4410");
    auto* modules = new gui::ModuleWindows(b.ctx, *b.bench, *b.win);
    b.win->setModuleHooks(modules->hooks());
    QVERIFY(b.start());
    b.ctx.edit.cno = 43;
    b.ctx.edit.val0 = 0x0200;
    b.ctx.edit.cmt = "row being edited";
    const EditBuffer editing = b.ctx.edit;
    QString listened;
    b.prompts.onShow = [&](QDialog& d) {
      d.show();
      const LinkState& st = b.link().state();
      if (d.objectName() == "frmCmps") listened = st.compassListening ? "compass" : "";
      if (d.objectName() == "frmUssMoni") listened = st.ussListening ? "ultrasonic" : "";
      if (d.objectName() == "frmPixyMoni") listened = st.pixyListening ? "camera" : "";
      if (d.objectName() == "TfrmSNX4410") {
        b.ctx.edit.cmt = "changed by the dialog";
        listened = "pad";
      }
      d.close();
    };
    const struct {
      MonitorModule module;
      const char* window;
      const char* listened;
    } cases[] = {{MonitorModule::Compass, "frmCmps", "compass"},
                 {MonitorModule::Ultrasonic, "frmUssMoni", "ultrasonic"},
                 {MonitorModule::Camera, "frmPixyMoni", "camera"},
                 {MonitorModule::GamePad, "TfrmSNX4410", "pad"}};
    for (const auto& c : cases) {
      listened.clear();
      b.prompts.shown.clear();
      b.win->btnModuleClick(c.module);
      QTRY_COMPARE_WITH_TIMEOUT(b.prompts.shown.size(), std::size_t{1}, 5000);
      QCOMPARE(b.prompts.shown[0], QString(c.window));
      QCOMPARE(listened, QString(c.listened));
    }
    QVERIFY(b.ctx.edit == editing);
    const LinkState& st = b.link().state();
    QVERIFY(!st.compassListening && !st.ussListening && !st.pixyListening);
  }

  void startingTheSensorsClosesTheModuleWindows() {
    Bench b;
    int closed = 0;
    b.win->setModuleHooks({[](MonitorModule) {}, [&] { ++closed; }});
    QVERIFY(b.start());
    QCOMPARE(closed, 1);
  }

  void withoutABoardTheWindowSaysSoAndStaysOpen() {
    Bench b({}, {"--mute"});
    b.win->show();
    b.win->btnStartClick();
    QTRY_VERIFY_WITH_TIMEOUT(b.asked(m(66) + "\r\n" + m(67)), 20000);
    QCOMPARE(b.prompts.asked.back().title, QString("Comport Search"));
    QVERIFY(b.win->isVisible());
    QVERIFY(!b.win->monitoring());
    QVERIFY2(!b.win->startRequest(), "the next press starts again");
    QVERIFY(!b.link().isOpen());
  }

  void aBoardThatGoesAwayClosesTheWindow() {
    Bench b;
    QVERIFY(b.start());
    QSignalSpy gone(&b.link(), &SerialLink::disconnected);
    b.board.stop();
    QTRY_VERIFY_WITH_TIMEOUT(!b.win->isVisible(), 5000);
    QCOMPARE(gone.count(), 1);
    QVERIFY(gone.at(0).at(0).toString().contains("Disconnected"));
    QVERIFY(!b.win->listening());
  }

  void aBoardThatGoesAwayClosesAnOpenModuleWindowToo() {
    Bench b;
    QVERIFY(b.start());
    bool moduleOpen = false;
    b.win->setModuleHooks({[&](MonitorModule) {
                             // The module window's own loop runs until it is closed.
                             moduleOpen = true;
                             b.board.stop();
                             QVERIFY(QTest::qWaitFor([&] { return !moduleOpen; }, 5000));
                           },
                           [&] { moduleOpen = false; }});
    b.win->btnModuleClick(MonitorModule::Ultrasonic);
    QVERIFY(!moduleOpen);
    QVERIFY(!b.win->isVisible());
    QVERIFY(!b.win->moduleMark(MonitorModule::Ultrasonic));
  }

  void recordsEveryReportUntilStopped() {
    Bench b;
    QVERIFY(b.start());
    const QString path = b.dir.path() + "/run.csv";
    b.prompts.saveNames.push_back(path);
    b.win->btnRecordClick();
    QVERIFY(b.win->recording());
    QCOMPARE(b.win->btnRecord()->text(), m(142));
    QVERIFY(b.win->statusText(1).contains(path));
    const long from = b.win->reportsShown();
    QTRY_VERIFY_WITH_TIMEOUT(b.win->reportsShown() >= from + 3, 3000);
    b.win->btnRecordClick();
    const long recorded = b.win->reportsShown() - from;
    QVERIFY(!b.win->recording());
    QCOMPARE(b.win->btnRecord()->text(), m(141));
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(f.readAll()).split("\n", Qt::SkipEmptyParts);
    QCOMPARE(lines.value(0).trimmed(), QString("time_ms,CN1,CN2,CN3,CN4,CN5,CN6,CN7,CN8,CN9,CN10,LED_G,LED_R1,LED_R2"));
    QCOMPARE(lines.size() - 1, int(recorded));
    QVERIFY(lines.value(1).startsWith("0,"));
    for (const QString& l : lines) QCOMPARE(l.count(','), 13);
  }

  // A module window stops the sensor stream: the recorder says it waits instead of going on
  // showing "Recording" with no rows coming, and goes on when the stream runs again.
  void aModuleWindowPausesTheRecordingUntilTheStreamRunsAgain() {
    Bench b;
    QVERIFY(b.start());
    const QString path = b.dir.path() + "/paused.csv";
    b.prompts.saveNames.push_back(path);
    b.win->btnRecordClick();
    QVERIFY(b.win->recording());
    QString inside;
    b.win->setModuleHooks({[&](MonitorModule) {
                             inside = b.win->statusText(1);
                             // KAVEL_MONITOR_SHOTS: the monitor as it looks while it waits.
                             const QString shots = qEnvironmentVariable("KAVEL_MONITOR_SHOTS");
                             if (!shots.isEmpty()) b.win->grab().save(shots + "/moni_recording_paused_en.png");
                           },
                           {}});
    b.win->btnModuleClick(MonitorModule::Ultrasonic);
    QTRY_VERIFY_WITH_TIMEOUT(!inside.isEmpty(), 5000);
    QVERIFY2(inside.startsWith("Recording paused") && inside.contains(path), qPrintable(inside));
    QVERIFY(b.win->recordingPaused());
    QVERIFY(b.win->recording());
    const long paused = b.win->reportsShown();
    QTest::qWait(300);
    QVERIFY2(b.win->reportsShown() <= paused + 1, "no stream while paused");

    b.win->btnStartClick();
    QTRY_VERIFY_WITH_TIMEOUT(!b.win->recordingPaused(), 5000);
    QCOMPARE(b.win->statusText(1), m(152) + " " + path);
    const long resumed = b.win->reportsShown();
    QTRY_VERIFY_WITH_TIMEOUT(b.win->reportsShown() >= resumed + 3, 3000);
    b.win->btnRecordClick();
    QVERIFY(!b.win->recording());
  }

  // The board's configuration changes the I/O setup: which connectors changed is said in the
  // log and the status bar, and Main is modified (its file holds the setup).
  void aConfigurationThatChangesTheSetupIsToldAndMarksMainModified() {
    Bench b("CNio:1111113400 USE_USS");
    b.ctx.io.cnMode = {1, 1, 1, 1, 1, 1, 1, 1, 0, 0};
    b.ctx.programs.main().modified = false;
    QVERIFY(b.start());
    QTRY_VERIFY_WITH_TIMEOUT(b.win->statusText(1).contains("CN7 Input -> PING-In"), 3000);
    QVERIFY(b.win->statusText(1).contains("CN8 Input -> Servo"));
    b.win->pnlTopDblClick();
    QVERIFY(b.win->memoLog()->toPlainText().contains("The board's configuration changed the I/O setup"));
    QVERIFY(b.ctx.programs.main().modified);
  }

  void aRecordFileThatCannotBeWrittenIsToldAndMonitoringGoesOn_data() {
    QTest::addColumn<QString>("path");
    QTest::newRow("missing folder") << "/nonexistent-kavel-folder/run.csv";
    QTest::newRow("full device") << "/dev/full";
  }
  void aRecordFileThatCannotBeWrittenIsToldAndMonitoringGoesOn() {
    QFETCH(QString, path);
    Bench b;
    QVERIFY(b.start());
    b.prompts.saveNames.push_back(path);
    b.win->btnRecordClick();
    QVERIFY(!b.win->recording());
    QCOMPARE(b.win->btnRecord()->text(), m(141));
    QVERIFY2(b.win->statusText(1).contains(path), qPrintable(b.win->statusText(1)));
    QTRY_VERIFY(b.asked(m(144)));
    QCOMPARE(b.prompts.asked.back().title, m(141));
    const long shown = b.win->reportsShown();
    QTRY_VERIFY_WITH_TIMEOUT(b.win->reportsShown() > shown + 2, 3000);
    QVERIFY(b.win->isVisible());
  }

  void chartsTheTickedConnectors() {
    Bench b;
    b.win->show();
    const int base = b.win->height();
    b.win->ckChart()->setChecked(true);
    b.win->ckChartClick();
    QVERIFY(b.win->chartShown());
    QVERIFY(b.win->height() > base + 150);
    QVERIFY2(b.win->chart()->shown(0), "CN1 is charted from the start");
    b.win->ckSeries(6)->setChecked(true);
    QVERIFY(b.win->chart()->shown(5));
    QVERIFY(b.start());
    QTRY_VERIFY_WITH_TIMEOUT(b.win->chart()->paints() >= 2, 3000);
    const ChartHistory& h = b.win->chart()->history();
    QVERIFY(h.size() >= 2);
    QVERIFY(h.at(h.size() - 1).value[0].has_value());
    b.win->ckChart()->setChecked(false);
    b.win->ckChartClick();
    QCOMPARE(b.win->height(), base);
  }

  void theMonitorCommandSearchesShowsAndClosesThePort() {
    VirtualBoardProcess board;
    kavel::testing::MainWindowFixture f("[COMPORT]\r\nPortName=" + board.path() + "\r\n[LANGUAGE]\r\nLANG_NO_=1\r\n");
    f.main->action("mmMonitor")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(!f.prompts.shown.empty(), 8000);
    QCOMPARE(f.prompts.shown.back(), QString("frmMoni"));
    QVERIFY2(f.prompts.asked.empty(), "the board answered the search");
    QCOMPARE(f.ctx.settings.PortName, board.path());
    QVERIFY(!f.main->workbench().link().isOpen());
  }
};

QTEST_MAIN(SensorMonitorWindowTest)
#include "sensor_monitor_window_test.moc"
