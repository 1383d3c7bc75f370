#include <QtTest>

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QToolButton>

#include <limits>

#include "DialogFixture.h"
#include "gui/dialogs/TfrmSpeed.h"
#include "core/model/StatementKind.h"

using namespace kavel;
using kavel::gui::TfrmSpeed;

class SpeedDialog : public QObject {
  Q_OBJECT

  test::DialogFixture f;
  TfrmSpeed* dlg = nullptr;

  void open(int sno, int val0, int val1, int val2 = 0, std::string cmt = {}) {
    f.edit(sno, sno, val0, val1, val2, std::move(cmt));
    dlg->setResult(0);
    dlg->FormShow();
  }
  void setSpeeds(int left, int right) {
    dlg->tBarLSpeed->setValue(-left);
    dlg->tBarRSpeed->setValue(-right);
  }

 private slots:
  void init() { dlg = new TfrmSpeed(f.ctx, f.glyphs, nullptr); }
  void cleanup() { delete dlg; }

  void newForwardRowStoresFiftyFifty() {
    open(kMotorForward, 50, 50);
    QCOMPARE(dlg->shownPattern(), int(kMotorForward));
    QCOMPARE(f.ctx.edit.sno, int(kMotorForward));
    QCOMPARE(dlg->cmbLSpeed->currentText(), QString("L:  50%"));
    QCOMPARE(dlg->cmbRSpeed->currentText(), QString("R:  50%"));
    QCOMPARE(dlg->pnlSpeed->title(), QString("Motor Control"));
    dlg->btnOk->click();
    QCOMPARE(dlg->result(), int(QDialog::Accepted));
    QCOMPARE(f.ctx.edit.sno, int(kMotorForward));
    QCOMPARE(f.ctx.edit.cno, int(kMotorForward));
    QCOMPARE(f.ctx.edit.val0, 50);
    QCOMPARE(f.ctx.edit.val1, 50);
    QCOMPARE(f.ctx.edit.val2, 0);
  }

  void storedKindFollowsTheSpeeds_data() {
    QTest::addColumn<int>("openedAs");
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("right");
    QTest::addColumn<int>("kind");
    QTest::newRow("zero speeds on a spin row stop") << int(kSpinLeft) << 0 << 0 << int(kMotorStop);
    QTest::newRow("top of the left slider is forward") << int(kMotorStop) << 40 << 20 << int(kTurnForwardRight);
    QTest::newRow("spin left") << int(kMotorForward) << -50 << 50 << int(kSpinLeft);
    QTest::newRow("backward") << int(kMotorForward) << -30 << -30 << int(kMotorBackward);
  }
  void storedKindFollowsTheSpeeds() {
    QFETCH(int, openedAs);
    QFETCH(int, left);
    QFETCH(int, right);
    QFETCH(int, kind);
    open(openedAs, 0, 0);
    setSpeeds(left, right);
    QCOMPARE(dlg->shownPattern(), kind);
    dlg->btnOkClick();
    QCOMPARE(f.ctx.edit.sno, kind);
    QCOMPARE(f.ctx.edit.cno, kind);
    QCOMPARE(f.ctx.edit.val0, left);
    QCOMPARE(f.ctx.edit.val1, right);
  }

  void variableSideStoresItsItemAndReopens() {
    open(kMotorForward, 10, 10);
    setSpeeds(10, 70);
    dlg->cmbLSpeed->setCurrentIndex(3);  // C
    dlg->cmbLSpeedCloseUp();
    QCOMPARE(dlg->shownPattern(), int(kMotorVariable));
    QCOMPARE(dlg->focusWidget(), static_cast<QWidget*>(dlg->btnOk));
    dlg->btnOkClick();
    QCOMPARE(f.ctx.edit.sno, int(kMotorVariable));
    QCOMPARE(f.ctx.edit.cno, int(kMotorVariable));
    QCOMPARE(f.ctx.edit.val2, 3000);
    QCOMPARE(f.ctx.edit.val0, 10);  // the slider speed stays stored beside the variable
    QCOMPARE(f.ctx.edit.val1, 70);

    const Statement stored = f.ctx.edit;
    open(kMotorForward, -80, -80);  // another row in between
    open(stored.sno, stored.val0, stored.val1, stored.val2);
    QCOMPARE(dlg->cmbLSpeed->currentIndex(), 3);
    QCOMPARE(dlg->cmbRSpeed->currentIndex(), 0);
    QCOMPARE(dlg->cmbRSpeed->currentText(), QString("R:  70%"));
    QCOMPARE(dlg->shownPattern(), int(kMotorVariable));

    // Moving the slider of the variable side returns it to a fixed speed.
    dlg->tBarLSpeed->setValue(-70);
    QCOMPARE(dlg->cmbLSpeed->currentIndex(), 0);
    QCOMPARE(dlg->cmbLSpeed->currentText(), QString("L:  70%"));
    QCOMPARE(dlg->shownPattern(), int(kMotorForward));
  }

  void bothSidesVariable() {
    open(kMotorVariable, 0, 0, 26026);
    QCOMPARE(dlg->cmbLSpeed->currentText(), QString("Z"));
    QCOMPARE(dlg->cmbRSpeed->currentText(), QString("Z"));
    dlg->btnOkClick();
    QCOMPARE(f.ctx.edit.val2, 26026);
    QCOMPARE(f.ctx.edit.sno, int(kMotorVariable));
  }

  void damagedValuesOpenLimited() {
    // Items beyond Z select the fixed speed; speeds beyond 100 are limited and stored so.
    open(kMotorVariable, 150, -300, 27099);
    QCOMPARE(dlg->cmbLSpeed->currentIndex(), 0);
    QCOMPARE(dlg->cmbRSpeed->currentIndex(), 0);
    QCOMPARE(dlg->leftSpeed(), 100);
    QCOMPARE(dlg->rightSpeed(), -100);
    QCOMPARE(dlg->cmbRSpeed->currentText(), QString("R:-100%"));
    dlg->btnOkClick();
    QCOMPARE(f.ctx.edit.val0, 100);
    QCOMPARE(f.ctx.edit.val1, -100);
    QCOMPARE(f.ctx.edit.val2, 0);
    QCOMPARE(f.ctx.edit.sno, int(kSpinRight));

    open(kMotorStop, std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    QCOMPARE(dlg->leftSpeed(), -100);
    QCOMPARE(dlg->rightSpeed(), 100);
  }

  void stepButtonsStepClampAndFocusTheirSide() {
    open(kMotorForward, 95, 5);
    dlg->cmbLSpeed->setCurrentIndex(2);
    dlg->btnLup10->click();
    QCOMPARE(dlg->leftSpeed(), 100);
    // At the end of the slider the side still leaves its variable.
    dlg->cmbLSpeed->setCurrentIndex(2);
    dlg->btnLup1->click();
    QCOMPARE(dlg->leftSpeed(), 100);
    QCOMPARE(dlg->cmbLSpeed->currentIndex(), 0);
    QCOMPARE(dlg->shownPattern(), int(kTurnForwardRight));
    dlg->btnRdown10->click();
    QCOMPARE(dlg->rightSpeed(), -5);
    QCOMPARE(dlg->focusWidget(), static_cast<QWidget*>(dlg->tBarRSpeed));
    dlg->btnRup1->click();
    dlg->btnRup1->click();
    QCOMPARE(dlg->rightSpeed(), -3);
    dlg->btnLdown10->click();
    dlg->btnLdown1->click();
    QCOMPARE(dlg->leftSpeed(), 89);
    QCOMPARE(dlg->focusWidget(), static_cast<QWidget*>(dlg->tBarLSpeed));
    QCOMPARE(dlg->cmbLSpeed->currentText(), QString("L:  89%"));
  }

  void iconButtonCyclesWithTheFocusedSide() {
    // From stop with nothing remembered: the left side is focused after opening.
    open(kMotorStop, 0, 0);
    QCOMPARE(dlg->focusWidget(), static_cast<QWidget*>(dlg->tBarLSpeed));
    dlg->btnIcon->click();
    QCOMPARE(dlg->leftSpeed(), -50);
    QCOMPARE(dlg->rightSpeed(), 50);
    QCOMPARE(dlg->shownPattern(), int(kSpinLeft));

    open(kMotorStop, 0, 0);
    dlg->btnRup1->click();
    dlg->btnRdown1->click();  // back at stop, right side worked on last
    dlg->btnIcon->click();
    QCOMPARE(dlg->leftSpeed(), 50);
    QCOMPARE(dlg->rightSpeed(), -50);

    // forward 60 -> backward 60 -> stop -> spin at the remembered 60
    open(kMotorForward, 60, 60);
    dlg->btnIcon->click();
    QCOMPARE(dlg->shownPattern(), int(kMotorBackward));
    QCOMPARE(dlg->leftSpeed(), -60);
    dlg->btnIcon->click();
    QCOMPARE(dlg->shownPattern(), int(kMotorStop));
    dlg->btnIcon->click();
    QCOMPARE(dlg->leftSpeed(), -60);
    QCOMPARE(dlg->rightSpeed(), 60);
    QCOMPARE(dlg->iconMemory(), 60);
    QCOMPARE(f.ctx.edit.sno, int(kSpinLeft));

    // Each opening forgets the remembered speed.
    open(kMotorStop, 0, 0);
    QCOMPARE(dlg->iconMemory(), 0);
  }

  void iconButtonResetsOnlyASideWhoseSpeedChanges() {
    open(kMotorVariable, 40, 20, 1002);
    dlg->btnIcon->click();  // left focused: the turn straightens to 40, 40
    QCOMPARE(dlg->leftSpeed(), 40);
    QCOMPARE(dlg->rightSpeed(), 40);
    QCOMPARE(dlg->cmbLSpeed->currentIndex(), 1);  // its speed stayed: still variable A
    QCOMPARE(dlg->cmbRSpeed->currentIndex(), 0);  // its slider moved: fixed speed
    QCOMPARE(dlg->shownPattern(), int(kMotorVariable));

    open(kMotorVariable, 60, 60, 2003);
    dlg->btnIcon->click();  // forward 60 -> backward 60: both sliders move
    QCOMPARE(dlg->cmbLSpeed->currentIndex(), 0);
    QCOMPARE(dlg->cmbRSpeed->currentIndex(), 0);
    QCOMPARE(dlg->shownPattern(), int(kMotorBackward));
  }

  void fullForwardIsAtTheTopOfTheSlider() {
    open(kMotorForward, 100, 0);
    dlg->fitToContents();
    const QRect groove = dlg->tBarLSpeed->rect();
    QStyleOptionSlider opt;
    opt.initFrom(dlg->tBarLSpeed);
    opt.orientation = Qt::Vertical;
    opt.minimum = dlg->tBarLSpeed->minimum();
    opt.maximum = dlg->tBarLSpeed->maximum();
    opt.sliderPosition = opt.sliderValue = dlg->tBarLSpeed->value();
    opt.upsideDown = !dlg->tBarLSpeed->invertedAppearance();
    const QRect handle =
        dlg->tBarLSpeed->style()->subControlRect(QStyle::CC_Slider, &opt, QStyle::SC_SliderHandle, dlg->tBarLSpeed);
    QVERIFY2(handle.center().y() < groove.center().y(), "speed 100 shows in the lower half");
    // The Up key raises the speed.
    QTest::keyClick(dlg->tBarRSpeed, Qt::Key_Up);
    QCOMPARE(dlg->rightSpeed(), 1);
  }

  void commentEnterFocusesOkAndOkStoresItUnchanged() {
    open(kMotorForward, 50, 50, 0, "old");
    QCOMPARE(dlg->edtCmt->text(), QString("old"));
    dlg->edtCmt->setFocus();
    dlg->edtCmt->setText(QString::fromUtf8("  左へ曲がる  "));
    QTest::keyClick(dlg->edtCmt, Qt::Key_Return);
    QCOMPARE(dlg->focusWidget(), static_cast<QWidget*>(dlg->btnOk));
    QCOMPARE(dlg->result(), 0);  // still open
    QCOMPARE(f.ctx.edit.cmt, std::string("old"));
    QTest::keyClick(dlg->edtCmt, Qt::Key_A);
    QCOMPARE(dlg->edtCmt->text(), QString::fromUtf8("  左へ曲がる  a"));
    dlg->btnOkClick();
    QCOMPARE(f.ctx.edit.cmt, std::string("  左へ曲がる  a"));

    open(kMotorForward, 50, 50, 0, "x");
    dlg->edtCmt->clear();
    dlg->btnOkClick();
    QCOMPARE(f.ctx.edit.cmt, std::string());
  }

  void cancelStoresNothing() {
    open(kMotorForward, 30, 30, 0, "keep");
    setSpeeds(-20, 80);
    dlg->cmbRSpeed->setCurrentIndex(5);
    dlg->edtCmt->setText("changed");
    dlg->btnCancel->click();
    QCOMPARE(dlg->result(), int(QDialog::Rejected));
    QCOMPARE(f.ctx.edit.cno, int(kMotorForward));
    QCOMPARE(f.ctx.edit.val0, 30);
    QCOMPARE(f.ctx.edit.val1, 30);
    QCOMPARE(f.ctx.edit.val2, 0);
    QCOMPARE(f.ctx.edit.cmt, std::string("keep"));
  }
};

QTEST_MAIN(SpeedDialog)
#include "speed_dialog_test.moc"
