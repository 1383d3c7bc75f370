#include <QtTest>

#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSlider>

#include <set>

#include "DialogFixture.h"
#include "gui/dialogs/DialogSet.h"
#include "gui/build/TfrmCode.h"
#include "gui/dialogs/TfrmDir.h"
#include "gui/dialogs/TfrmPixy.h"
#include "gui/dialogs/TfrmSNX4410.h"
#include "gui/dialogs/TfrmSubProg.h"
#include "gui/dialogs/TfrmUss.h"
#include "gui/dialogs/TfrmCondition.h"
#include "gui/dialogs/TfrmRepeat.h"
#include "gui/dialogs/TfrmSpeed.h"
#include "core/model/StatementKind.h"

using namespace kavel;
using namespace kavel::gui;

// What every statement dialog shares: one instance per kind, placement, the frame, keys,
// and texts in the current language.
class DialogConventions : public QObject {
  Q_OBJECT

  test::DialogFixture f;

 private slots:
  void eachKindHasItsOneDialog() {
    DialogSet set(f.ctx, f.glyphs, nullptr);
    StatementDialog* speed = set.forSubjectKind(kMotorForward);
    QVERIFY(qobject_cast<TfrmSpeed*>(speed));
    for (int cno = kMotorVariable; cno <= kTurnBackwardRight; ++cno) QCOMPARE(set.forSubjectKind(cno), speed);
    QVERIFY(qobject_cast<TfrmRepeat*>(set.forSubjectKind(kRepeatCount)));
    QCOMPARE(set.forSubjectKind(kRepeatCount), set.forSubjectKind(kRepeatCount));
    QVERIFY(qobject_cast<TfrmCondition*>(set.condition()));
    QCOMPARE(set.condition(), set.condition());
    // One dialog serves several kinds.
    const std::vector<std::vector<int>> shared{{kSensorTestOld, kSensorTest},
                                               {kWait, kTimer},
                                               {kVariable, kVariableItem},
                                               {kGreenLedOff, kGreenLedOn, kRedLedOff, kRedLedOn},
                                               {kPwm},
                                               {kServo},
                                               {kOutput},
                                               {kLcd}};
    std::set<StatementDialog*> distinct{speed, set.forSubjectKind(kRepeatCount)};
    for (const std::vector<int>& kinds : shared) {
      StatementDialog* d = set.forSubjectKind(kinds.front());
      QVERIFY2(d && distinct.insert(d).second, qPrintable(QString::number(kinds.front())));
      for (int cno : kinds) QCOMPARE(set.forSubjectKind(cno), d);
    }
    // Kinds whose dialog is not there yet, and kinds that open nothing.
    QVERIFY(qobject_cast<TfrmUss*>(set.forSubjectKind(kUltrasonic)));
    QVERIFY(qobject_cast<TfrmDir*>(set.forSubjectKind(kDirectionTest)));
    QVERIFY(qobject_cast<TfrmSNX4410*>(set.forSubjectKind(kGamePadTest)));
    QVERIFY(qobject_cast<TfrmPixy*>(set.forSubjectKind(kCameraTest)));
    QCOMPARE(set.forSubjectKind(kSubCall), set.forSubjectKind(kReturn));
    QCOMPARE(set.forSubjectKind(kSubCall), static_cast<StatementDialog*>(set.subProg()));
    QCOMPARE(set.forSubjectKind(kCCode), static_cast<StatementDialog*>(set.code()));
    for (int cno : {0, 1, 3, 99, -1}) {
      QVERIFY2(set.forSubjectKind(cno) == nullptr, qPrintable(QString::number(cno)));
    }
  }

  void parentMayGoFirst() {
    auto* parent = new QWidget;
    DialogSet set(f.ctx, f.glyphs, parent);
    QCOMPARE(set.condition()->parentWidget(), parent);
    delete parent;
    QVERIFY(set.condition() == nullptr);
    QVERIFY(set.forSubjectKind(kMotorStop) == nullptr);
    set.applyLanguage();
  }

  void languageSwitchShowsAtTheNextOpening() {
    DialogSet set(f.ctx, f.glyphs, nullptr);
    auto* speed = qobject_cast<TfrmSpeed*>(set.forSubjectKind(kMotorStop));
    f.edit(kMotorStop, kMotorStop);
    speed->FormShow();
    QCOMPARE(speed->lblCmt->text(), QString("Comment"));
    f.ctx.messages.setLanguage(0);
    set.applyLanguage();
    QCOMPARE(speed->pnlSpeed->title(), QString::fromUtf8("モーター制御"));
    QCOMPARE(speed->lblCmt->text(), QString::fromUtf8("ｺﾒﾝﾄ"));
    auto* condition = qobject_cast<TfrmCondition*>(set.condition());
    QCOMPARE(condition->pnlCondition->title(), QString::fromUtf8("条件選択"));
    f.ctx.messages.setLanguage(1);
    f.edit(kFor, kRepeatCount, 1);
    auto* repeat = qobject_cast<TfrmRepeat*>(set.forSubjectKind(kRepeatCount));
    repeat->FormShow();
    QCOMPARE(repeat->lblRepeat->text(), QString("times"));
  }

  void panelSitsInsideATwoPixelFrame() {
    DialogSet set(f.ctx, f.glyphs, nullptr);
    f.edit(kFor, kRepeatCount, 3);
    StatementDialog* d = set.forSubjectKind(kRepeatCount);
    d->FormShow();
    d->fitToContents();
    QCOMPARE(d->pnlBase->geometry().topLeft(), QPoint(2, 2));
    QCOMPARE(d->size(), d->pnlBase->size() + QSize(4, 4));
    QVERIFY(d->windowFlags() & Qt::FramelessWindowHint);
  }

  void placementKeepsTheDialogOnTheScreen_data() {
    QTest::addColumn<QPoint>("asked");
    QTest::newRow("inside") << QPoint(40, 30);
    QTest::newRow("beyond the bottom right") << QPoint(100000, 100000);
    QTest::newRow("beyond the top left") << QPoint(-500, -500);
  }
  void placementKeepsTheDialogOnTheScreen() {
    QFETCH(QPoint, asked);
    DialogSet set(f.ctx, f.glyphs, nullptr);
    f.edit(kMotorForward, kMotorForward, 50, 50);
    StatementDialog* d = set.forSubjectKind(kMotorForward);
    d->FormShow();
    d->placeAt(asked);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY2(screen.contains(d->geometry()), qPrintable(QString("%1,%2 %3x%4")
                                                         .arg(d->x())
                                                         .arg(d->y())
                                                         .arg(d->width())
                                                         .arg(d->height())));
    if (screen.contains(QRect(asked, d->size()))) QCOMPARE(d->pos(), asked);
  }

  void keysOfTheDialog() {
    TfrmSpeed d(f.ctx, f.glyphs, nullptr);
    f.edit(kMotorForward, kMotorForward, 20, 20, 0, "c");
    d.FormShow();
    // Enter on a slider presses no button behind the user's back.
    QTest::keyClick(d.tBarLSpeed, Qt::Key_Return);
    QCOMPARE(d.result(), 0);
    // Enter on OK presses it.
    d.btnOk->setFocus();
    QTest::keyClick(d.btnOk, Qt::Key_Return);
    QCOMPARE(d.result(), int(QDialog::Accepted));
    // Escape is Cancel and stores nothing.
    f.edit(kMotorForward, kMotorForward, 20, 20, 0, "c");
    d.setResult(0);
    d.FormShow();
    d.edtCmt->setText("changed");
    QTest::keyClick(d.edtCmt, Qt::Key_Escape);
    QCOMPARE(d.result(), int(QDialog::Rejected));
    QCOMPARE(f.ctx.edit.cmt, std::string("c"));
  }
};

QTEST_MAIN(DialogConventions)
#include "dialog_set_test.moc"
