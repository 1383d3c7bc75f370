// The windows' serial link against the virtual board, offscreen.

#include <QSignalSpy>
#include <QtTest>

#include "VirtualBoardProcess.h"
#include "core/Context.h"
#include "gui/comm/SerialLink.h"

using namespace kavel;
using kavel::testing::VirtualBoardProcess;

class SerialLinkTest : public QObject {
  Q_OBJECT

 private slots:
  void readsAndRoutesWithoutWaiting() {
    VirtualBoardProcess board;
    QVERIFY(!board.path().empty());
    Context ctx;
    ctx.settings.PortName = board.path();
    SerialLink link(ctx);
    QVERIFY(link.OpenPort(true).ok);
    link.state().sensorMonitorListening = true;
    QSignalSpy version(&link, &SerialLink::boardVersion);
    QSignalSpy reports(&link, &SerialLink::connectorReport);
    QSignalSpy log(&link, &SerialLink::messageLogLine);
    QCOMPARE(link.SendText("Ver"), SendStatus::Sent);
    QTRY_COMPARE_WITH_TIMEOUT(version.count(), 1, 2000);
    QCOMPARE(version.at(0).at(0).toString(), QString("Wrenlet CORE Ver.2.10 vboard"));
    QCOMPARE(QString::fromStdString(ctx.settings.BoardVersionText), QString("Wrenlet CORE Ver.2.10 vboard"));
    QCOMPARE(link.SendText("S0:1"), SendStatus::Sent);
    QTRY_VERIFY_WITH_TIMEOUT(reports.count() >= 2, 2000);
    QVERIFY(log.count() >= 3);
    link.SendText("S0:0");
    link.ClosePort();
    QVERIFY(!link.isOpen());
  }

  void bootLoaderSequence() {
    VirtualBoardProcess board;
    Context ctx;
    ctx.settings.PortName = board.path();
    SerialLink link(ctx);
    QVERIFY(link.OpenPort(true).ok);
    LinkState& s = link.state();
    s.downloadVisible = true;
    s.downloadStartEnabled = true;
    s.downloadState = kDownloadWaiting;
    QSignalSpy banner(&link, &SerialLink::loaderBanner);
    QSignalSpy ready(&link, &SerialLink::bootLoaderReady);
    link.SendText("Reset");
    QTRY_COMPARE_WITH_TIMEOUT(ready.count(), 1, 2000);
    QCOMPARE(banner.count(), 1);
    QCOMPARE(banner.at(0).at(0).toString(), QString("WL Loader2520 Ver.1.05"));

    s.downloadState = kDownloadSending;
    QSignalSpy acks(&link, &SerialLink::acknowledged);
    s.AckFlag = false;
    link.SendText(":00000001FF");
    QTRY_COMPARE_WITH_TIMEOUT(acks.count(), 1, 2000);
  }

  void refusedBannerAndHangUp() {
    VirtualBoardProcess board({"--wrong-banner"});
    Context ctx;
    ctx.settings.PortName = board.path();
    SerialLink link(ctx);
    QVERIFY(link.OpenPort(true).ok);
    link.state().downloadVisible = true;
    link.state().downloadStartEnabled = true;
    link.state().downloadState = kDownloadWaiting;
    QSignalSpy refused(&link, &SerialLink::bannerRefused);
    link.SendText("Reset");
    QTRY_COMPARE_WITH_TIMEOUT(refused.count(), 1, 2000);
    QCOMPARE(link.state().downloadState, int(kDownloadRefused));
    QVERIFY(link.state().AbortFlag);

    QSignalSpy gone(&link, &SerialLink::disconnected);
    board.stop();
    QTRY_COMPARE_WITH_TIMEOUT(gone.count(), 1, 2000);
    QVERIFY(gone.at(0).at(0).toString().endsWith(" Disconnected! Please Retry COM Setup"));
    QVERIFY(!link.isOpen());
  }

  void probeFindsTheBoard() {
    VirtualBoardProcess board;
    Context ctx;
    ctx.settings.PortName = "/dev/kavel-no-such-port";
    SerialLink link(ctx);
    QSignalSpy ports(&link, &SerialLink::probePort);
    QSignalSpy finished(&link, &SerialLink::probeFinished);
    link.startProbe({board.path()});
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 3000);
    QCOMPARE(finished.at(0).at(0).toBool(), true);
    QCOMPARE(finished.at(0).at(1).toString(), QString::fromStdString(board.path() + ":OK"));
    QVERIFY(ports.count() >= 2);
    QVERIFY(!link.isOpen());
    QVERIFY(!link.probing());
  }
};

QTEST_MAIN(SerialLinkTest)
#include "serial_link_test.moc"
