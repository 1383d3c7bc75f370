#include <QtTest>

#include <QLabel>

// Proves the offscreen GUI test setup works; the window tests sit beside it.
class Smoke : public QObject {
  Q_OBJECT
 private slots:
  void widgetPaintsOffscreen() {
    QLabel label("Kavel");
    label.resize(100, 30);
    const QPixmap shot = label.grab();
    QCOMPARE(shot.width(), 100);
  }
};

QTEST_MAIN(Smoke)
#include "smoke_test.moc"
