#include <QtTest>

#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>

#include "core/Context.h"
#include "gui/app/TfrmHelp.h"

using kavel::Context;
using kavel::gui::TfrmHelp;

class HelpWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void showsTheProgramVersionAndHidesBoardLinesUntilABoardAnswers() {
    Context ctx;
    TfrmHelp w(ctx);
    QCOMPARE(w.windowTitle(), QString("Kavel Version"));
    QCOMPARE(w.size(), QSize(397, 215));
    w.FormShow();
    QCOMPARE(w.lblTitle->text(), QString("MORVANE Kavel for Wrenlet CORE"));
    QCOMPARE(w.lblAppVer->text(), QString("App Version : MORVANE Kavel for Wrenlet CORE  [ Ver.20190706 ]"));
    QVERIFY(w.lblBuildVer->isHidden());
    QVERIFY(w.lblLoaderVer->isHidden());

    ctx.settings.BoardVersionText = "WL-CORE 1.2";
    ctx.settings.LoaderText = "WL Loader2520";
    w.FormShow();
    QVERIFY(!w.lblBuildVer->isHidden());
    QCOMPARE(w.lblBuildVer->text(), QString("Build Version : WL-CORE 1.2"));
    QVERIFY(!w.lblLoaderVer->isHidden());
    QCOMPARE(w.lblLoaderVer->text(), QString("Loader Version : WL Loader2520"));
  }

  void iconsByVariant() {
    Context ctx;
    TfrmHelp w(ctx);
    ctx.settings.variant = 3;
    w.FormShow();
    QVERIFY(!w.imgBoard->isHidden());
    QVERIFY(w.imgGlent->isHidden() && w.imgQV7B->isHidden() && w.imgDistributor->isHidden());
    QCOMPARE(w.lblTitle->geometry().right() + 1, w.width() - 40);

    // A QV7B board sold under the RX name adds the distributor's picture at the top right;
    // the title then ends just before it.
    ctx.settings.variant = 1;
    ctx.settings.PRODUCT = "/opt/kavel/QV7B-RX.jpg";
    w.FormShow();
    QVERIFY(!w.imgQV7B->isHidden());
    QVERIFY(!w.imgDistributor->isHidden());
    QCOMPARE(w.lblTitle->geometry().right() + 1, w.imgDistributor->x() - 4);
    QCOMPARE(w.imgQV7B->pos(), w.imgBoard->pos());

    ctx.settings.variant = 2;
    w.FormShow();
    QVERIFY(w.imgGlent->isHidden() && w.imgQV7B->isHidden() && w.imgBoard->isHidden());
  }

  // The page opener gets the address as its only argument; the button waits for it to end.
  void webButtonStartsTheOpenerAndWaitsForIt() {
    QTemporaryDir dir;
    const QString out = dir.filePath("args.txt");
    const QString script = dir.filePath("opener.sh");
    QFile f(script);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(QStringLiteral("#!/bin/sh\nprintf '%s|%s' \"$#\" \"$1\" > '%1'\n").arg(out).toUtf8());
    f.close();
    f.setPermissions(f.permissions() | QFileDevice::ExeOwner);

    Context ctx;
    TfrmHelp w(ctx);
    w.setOpenCommand(script);
    QSignalSpy done(&w, &TfrmHelp::webProcessDone);
    w.btnWebClick();
    QVERIFY(!w.btnWeb->isEnabled());
    w.btnWebClick();  // a second click while waiting starts nothing more
    QVERIFY(done.wait(10000));
    QVERIFY(w.btnWeb->isEnabled());
    QCOMPARE(done.count(), 1);
    QFile result(out);
    QVERIFY(result.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(result.readAll()), QString("1|https://www.wrenlet-robotics.example/kavel/download"));
    QVERIFY(w.findChildren<QMessageBox*>().isEmpty());
  }

  void anOpenerThatCannotStartIsReportedAndTheWindowStays() {
    Context ctx;
    TfrmHelp w(ctx);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.setOpenCommand("/nonexistent/kavel-no-such-opener");
    QSignalSpy done(&w, &TfrmHelp::webProcessDone);
    w.btnWebClick();
    QVERIFY(done.wait(10000));
    const auto boxes = w.findChildren<QMessageBox*>();
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes.front()->text(), QString("Can't Process Start!"));
    QCOMPARE(boxes.front()->windowTitle(), QString("Warnning"));
    QCOMPARE(boxes.front()->icon(), QMessageBox::Warning);
    QVERIFY(w.isVisible());
    QVERIFY(w.btnWeb->isEnabled());
    boxes.front()->accept();
  }
};

QTEST_MAIN(HelpWindowTest)
#include "help_window_test.moc"
