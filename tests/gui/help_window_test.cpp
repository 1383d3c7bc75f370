#include <QtTest>

#include <QDesktopServices>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

#include "core/Context.h"
#include "gui/app/TfrmHelp.h"

using kavel::Context;
using kavel::gui::TfrmHelp;

// Stands in for the desktop's browser.
class UrlCatcher : public QObject {
  Q_OBJECT

 public slots:
  void open(const QUrl& url) { urls << url; }

 public:
  QList<QUrl> urls;
};

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

  // The page goes to the desktop's browser (the handler the desktop registers for https).
  void webButtonHandsThePageToTheDesktop() {
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "open");
    Context ctx;
    TfrmHelp w(ctx);
    w.btnWebClick();
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    QCOMPARE(catcher.urls, QList<QUrl>{QUrl("https://www.wrenlet-robotics.example/kavel/download")});
    QVERIFY(w.btnWeb->isEnabled());
    QVERIFY(w.findChildren<QMessageBox*>().isEmpty());
  }

  void aBrowserThatCannotStartIsReportedWithTheAddressAndTheWindowStays() {
    Context ctx;
    TfrmHelp w(ctx);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QList<QUrl> tried;
    w.setUrlOpener([&tried](const QUrl& url) {
      tried << url;
      return false;
    });
    w.btnWebClick();
    QCOMPARE(tried.size(), 1);
    const auto boxes = w.findChildren<QMessageBox*>();
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes.front()->text(), QString("Can't Process Start!"));
    QCOMPARE(boxes.front()->windowTitle(), QString("Warnning"));
    QCOMPARE(boxes.front()->icon(), QMessageBox::Warning);
    QVERIFY2(boxes.front()->informativeText().contains("https://www.wrenlet-robotics.example/kavel/download"),
             qPrintable(boxes.front()->informativeText()));
    QVERIFY(w.isVisible());
    QVERIFY(w.btnWeb->isEnabled());
    if (const QString folder = qEnvironmentVariable("KAVEL_WINDOW_SHOTS"); !folder.isEmpty()) {
      QDir().mkpath(folder);
      QVERIFY(boxes.front()->grab().save(folder + "/help_no_browser.png"));
    }
    boxes.front()->accept();
  }
};

QTEST_MAIN(HelpWindowTest)
#include "help_window_test.moc"
