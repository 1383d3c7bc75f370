#include <QtTest>

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include "core/Context.h"
#include "gui/app/TfrmStartup.h"

using kavel::Context;
using kavel::gui::TfrmStartup;

class StartupWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void layoutIsABorderlessFramedPanel() {
    Context ctx;
    TfrmStartup w(ctx);
    QCOMPARE(w.size(), QSize(361, 187));
    QVERIFY(w.windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(w.pnlMain->geometry(), QRect(2, 2, 357, 183));
    QCOMPARE(w.rbJpn->text(), QString("Japanese"));
    QCOMPARE(w.rbEng->text(), QString("English"));
    QCOMPARE(w.grpLanguage->title(), QString(" Select Language "));
    QCOMPARE(w.btnOk->text(), QString("OK"));
    QCOMPARE(w.lblProduct->font().pixelSize(), 15);
    QVERIFY(w.lblProduct->font().bold());
  }

  void productLabelNamesTheVariant_data() {
    QTest::addColumn<int>("variant");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("Glent") << 0 << "Kavel for Glent" << QColor(Qt::black);
    QTest::newRow("QV7B") << 1 << "Kavel for QV7B" << QColor(Qt::red);
    QTest::newRow("QV7B-RX") << 2 << "Kavel for QV7B-RX" << QColor(Qt::red);
    QTest::newRow("Wrenlet") << 3 << "Kavel for Wrenlet" << QColor(Qt::black);
  }
  void productLabelNamesTheVariant() {
    QFETCH(int, variant);
    QFETCH(QString, text);
    QFETCH(QColor, colour);
    Context ctx;
    ctx.settings.variant = variant;
    TfrmStartup w(ctx);
    w.FormShow();
    QCOMPARE(w.lblProduct->text(), text);
    QCOMPARE(w.lblProduct->palette().color(QPalette::WindowText), colour);
  }

  void productPictureComesFromTheFileWhenItExists() {
    QTemporaryDir dir;
    const QString path = dir.filePath("product.jpg");
    QImage picture(120, 90, QImage::Format_RGB32);
    picture.fill(QColor(255, 0, 255));
    QVERIFY(picture.save(path, "jpg"));

    Context ctx;
    ctx.settings.PRODUCT = dir.filePath("missing.jpg").toStdString();
    TfrmStartup w(ctx);
    w.FormShow();
    const QImage builtIn = w.imgProduct->pixmap().toImage();
    QVERIFY(!builtIn.isNull());

    ctx.settings.PRODUCT = path.toStdString();
    w.FormShow();
    const QImage shown = w.imgProduct->pixmap().toImage();
    const QColor centre = shown.pixelColor(shown.width() / 2, shown.height() / 2);
    QVERIFY2(centre.red() > 230 && centre.green() < 25 && centre.blue() > 230, qPrintable(centre.name()));
  }

  void okWithoutAChoiceKeepsTheWindowOpen_data() {
    QTest::addColumn<int>("stored");
    QTest::newRow("never chosen") << 2;
    QTest::newRow("damaged setting") << -1;
  }
  void okWithoutAChoiceKeepsTheWindowOpen() {
    QFETCH(int, stored);
    Context ctx;
    ctx.settings.LANG_NO_ = stored;
    TfrmStartup w(ctx);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.btnOkClick();
    QVERIFY(w.isVisible());
    w.reject();  // Escape
    QVERIFY(w.isVisible());
    w.close();
    QVERIFY(w.isVisible());
    QCOMPARE(ctx.settings.LANG_NO_, stored);
  }

  void okStoresTheChosenLanguageAndCloses_data() {
    QTest::addColumn<bool>("japanese");
    QTest::addColumn<int>("language");
    QTest::newRow("Japanese") << true << 0;
    QTest::newRow("English") << false << 1;
  }
  void okStoresTheChosenLanguageAndCloses() {
    QFETCH(bool, japanese);
    QFETCH(int, language);
    Context ctx;
    TfrmStartup w(ctx);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    (japanese ? w.rbJpn : w.rbEng)->click();
    QTest::mouseClick(w.btnOk, Qt::LeftButton);
    QCOMPARE(ctx.settings.LANG_NO_, language);
    QVERIFY(!w.isVisible());
    QCOMPARE(w.result(), int(QDialog::Accepted));
  }
};

QTEST_MAIN(StartupWindowTest)
#include "startup_window_test.moc"
