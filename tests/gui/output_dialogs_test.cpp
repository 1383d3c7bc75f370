#include <QtTest>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

#include "DialogFixture.h"
#include "gui/dialogs/TfrmLcd.h"
#include "gui/dialogs/TfrmLed.h"
#include "gui/dialogs/TfrmOutCn.h"
#include "gui/dialogs/TfrmPwm.h"
#include "gui/dialogs/TfrmServo.h"
#include "core/editor/StatementEditing.h"
#include "core/model/StatementKind.h"

using namespace kavel;
using namespace kavel::gui;

class OutputDialogs : public QObject {
  Q_OBJECT

  test::DialogFixture f;

  // As the program window opens a dialog: with its opening defaults.
  void open(StatementDialog& d, int sno, int cno, int val0 = 0, int val1 = 0, int val2 = 0, std::string cmt = {}) {
    f.edit(sno, cno, val0, val1, val2, std::move(cmt));
    prepareForDialog(f.ctx.edit);
    d.setResult(0);
    d.FormShow();
  }

 private slots:
  void init() { f.ctx.io = IoSetup{}; }

  // --- TfrmLed --------------------------------------------------------------------------------

  void newLedStatementStepsThroughTheLeds() {
    TfrmLed d(f.ctx, f.glyphs, nullptr);
    EditBuffer b = insertionBuffer(kRedLedOff);
    f.ctx.edit = b;
    prepareForDialog(f.ctx.edit);
    d.FormShow();
    QCOMPARE(d.pnlLed->title(), QString("LED Control"));
    QCOMPARE(d.pnlLedName->text(), QString("Red1"));
    QVERIFY(d.rbOff->isChecked());
    d.btnIconClick();
    QCOMPARE(d.pnlLedName->text(), QString("Red2"));
    d.btnIconClick();
    d.btnIconClick();
    QCOMPARE(d.pnlLedName->text(), QString("Green"));
    d.rbOn->setChecked(true);
    d.rbClick();
    d.btnOkClick();
    QCOMPARE(f.ctx.edit.sno, int(kGreenLedOn));
    QCOMPARE(f.ctx.edit.cno, int(kGreenLedOn));
    QCOMPARE(f.ctx.edit.val0, 0);
    QCOMPARE(f.ctx.edit.val1, 1);
  }

  void ledTestKeepsItsRowKind() {
    TfrmLed d(f.ctx, f.glyphs, nullptr);
    open(d, kIf, kGreenLedOff, 3, 1);
    QCOMPARE(d.pnlLedName->text(), QString("Red3"));
    QVERIFY(d.rbOn->isChecked());
    d.btnOkClick();
    QCOMPARE(f.ctx.edit.cno, int(kRedLedOn));
    QCOMPARE(f.ctx.edit.sno, int(kIf));
    // Damaged values open as the opening defaults make them.
    open(d, kRedLedOn, kRedLedOn, 9, 5);
    QCOMPARE(d.led(), 1);
    QVERIFY(d.rbOff->isChecked());
    open(d, kRedLedOn, kRedLedOn, -4, 0);
    QCOMPARE(d.led(), 1);
  }

  // --- TfrmOutCn ------------------------------------------------------------------------------

  void outputOffersOnlyOutputConnectors() {
    f.ctx.io.cnMode = {1, 1, 1, 1, 1, 1, 1, 1, 0, 0};
    f.ctx.io.cnName[8] = "RED3";
    f.ctx.io.cnName[9] = "RED2";
    TfrmOutCn d(f.ctx, f.glyphs, nullptr);
    open(d, kOutput, kOutput);
    QCOMPARE(d.cmbOutCn->count(), 2);
    QCOMPARE(d.cmbOutCn->itemText(0), QString("CN9"));
    QCOMPARE(d.cmbOutCn->currentText(), QString("CN9"));  // CN1 is not offered: the first
    QCOMPARE(d.lblOutSym->text(), QString("RED3"));
    d.btnIconClick();
    QCOMPARE(d.cmbOutCn->currentText(), QString("CN10"));
    QCOMPARE(d.lblOutSym->text(), QString("RED2"));
    d.rbOn->setChecked(true);
    d.btnOkClick();
    QCOMPARE(f.ctx.edit.val0, 9);
    QCOMPARE(f.ctx.edit.val1, 1);
    QCOMPARE(f.ctx.edit.cmt, std::string("RED2"));
    d.btnIconClick();
    QCOMPARE(d.cmbOutCn->currentText(), QString("CN9"));
    QCOMPARE(d.rbOn->text(), QString("High"));
  }

  void outputWithoutAnyOutputConnectorKeepsTheRowsConnector() {
    f.ctx.io.cnMode.fill(Input);
    TfrmOutCn d(f.ctx, f.glyphs, nullptr);
    open(d, kIf, kOutput, 4, 1, 0, "old");
    QCOMPARE(d.cmbOutCn->count(), 0);
    QCOMPARE(d.pnlOutCn->title(), QString("Output Check"));
    d.btnIconClick();
    d.rbOff->setChecked(true);
    d.btnOkClick();
    QCOMPARE(f.ctx.edit.val0, 4);
    QCOMPARE(f.ctx.edit.val1, 0);
    QCOMPARE(f.ctx.edit.cmt, std::string("old"));
  }

  // --- TfrmPwm --------------------------------------------------------------------------------

  void pwmChannelsPack() {
    TfrmPwm d(f.ctx, nullptr);
    open(d, kPwm, kPwm);
    QCOMPARE(d.pnlPwm->title(), QString("PWM Output"));
    for (int n = 1; n <= 6; ++n) {
      QVERIFY(d.ch(n).ckModify->isChecked());
      QCOMPARE(d.ch(n).cmbSpeed->currentText(), QString("   0%"));
      QVERIFY(!d.ch(n).pnlCont->isHidden());
    }
    d.ch(1).tBar->setValue(25);  // 75 percent
    QCOMPARE(d.ch(1).cmbSpeed->currentText(), QString("  75%"));
    d.ch(2).cmbSpeed->setCurrentIndex(3);
    d.ch(2).ckRev->setChecked(true);
    d.ch(3).ckModify->setChecked(false);
    d.ckModifyClick(3);
    QVERIFY(d.ch(3).pnlCont->isHidden());
    d.btnOkClick();
    QCOMPARE(f.ctx.edit.val0, 75 * 1000 + 502);
    QCOMPARE(f.ctx.edit.val1, 999 * 1000 + 0);
    QCOMPARE(f.ctx.edit.val2, 0);
    QCOMPARE(f.ctx.edit.cno, int(kPwm));
    QCOMPARE(f.ctx.edit.sno, int(kPwm));

    // Reopening shows what was stored.
    const Statement stored = f.ctx.edit;
    open(d, kPwm, kPwm, stored.val0, stored.val1, stored.val2);
    QCOMPARE(d.ch(1).cmbSpeed->currentText(), QString("  75%"));
    QCOMPARE(d.ch(2).cmbSpeed->currentText(), QString("C"));
    QVERIFY(d.ch(2).ckRev->isChecked());
    QVERIFY(!d.ch(3).ckModify->isChecked());
    QVERIFY(d.ch(3).pnlCont->isHidden());
  }

  void pwmStepsClampAndLeaveTheVariable() {
    TfrmPwm d(f.ctx, nullptr);
    open(d, kPwm, kPwm, 95 * 1000 + 410, 250 * 1000 + 999, 150 * 1000 + 650);
    QVERIFY(d.ch(3).ckRev->isChecked());
    QCOMPARE(d.ch(5).cmbSpeed->currentText(), QString(" 100%"));  // 150 reads as 100
    QVERIFY(!d.ch(6).ckModify->isChecked());                     // 650 reads as unchanged
    d.btnUp10Click(1);
    QCOMPARE(d.ch(1).cmbSpeed->currentText(), QString(" 100%"));
    QCOMPARE(d.focusWidget(), static_cast<QWidget*>(d.ch(1).tBar));
    d.btnDown1Click(2);  // from variable K back to a fixed speed
    QCOMPARE(d.ch(2).cmbSpeed->currentIndex(), 0);
    d.btnOkClick();
    QCOMPARE(f.ctx.edit.val0, 100 * 1000 + d.channel(2).speed);
    QCOMPARE(f.ctx.edit.val1, 250 * 1000 + 999);
    QCOMPARE(f.ctx.edit.val2, 100 * 1000 + 999);
  }

  // --- TfrmServo ------------------------------------------------------------------------------

  void servoConnectorAndPosition() {
    f.ctx.io.cnMode[6] = Servo;
    f.ctx.io.cnMode[7] = Servo;
    TfrmServo d(f.ctx, nullptr);
    open(d, kServo, kServo);
    QCOMPARE(d.btnCN->text(), QString("CN7"));
    QCOMPARE(d.pnlServo->text(), QString("   0%"));
    d.btnCNClick();
    QCOMPARE(d.btnCN->text(), QString("CN8"));
    d.btnUp101Click();
    d.btnUp101Click();
    d.btnUp101Click();
    QCOMPARE(d.pnlServo->text(), QString("  30%"));
    d.btnOkClick();
    QCOMPARE(f.ctx.edit.val0, 80030);
    QCOMPARE(f.ctx.edit.cno, int(kServo));

    // Only CN8 in servo mode: the button stays; damaged positions are limited.
    f.ctx.io.cnMode[6] = Input;
    open(d, kServo, kServo, 999);
    QCOMPARE(d.btnCN->text(), QString("CN8"));
    QCOMPARE(d.tBar->value(), 100);
    d.btnCNClick();
    QCOMPARE(d.btnCN->text(), QString("CN8"));
    d.btnDown11Click();
    QCOMPARE(d.pnlServo->text(), QString("  99%"));
  }

  // --- TfrmLcd --------------------------------------------------------------------------------

  void lcdLayoutsAndValues() {
    TfrmLcd d(f.ctx, nullptr);
    open(d, kLcd, kLcd, 1 * 100000 + 2 * 10000 + 1 * 100 + 2, 0);
    QCOMPARE(d.lblCmt->text(), QString("Text"));
    QCOMPARE(d.cmbLineNo->currentText(), QString("2"));
    QCOMPARE(d.cmbForm->currentText(), QString("A:nnnnn B:nnnnn"));
    QVERIFY(!d.cmbDat[1]->isHidden());
    QVERIFY(d.cmbDat[2]->isHidden());
    d.btnOkClick();
    QCOMPARE(f.ctx.edit.val0, 120102);
    QCOMPARE(f.ctx.edit.val1, 0);
    QCOMPARE(f.ctx.edit.cno, int(kLcd));

    // From format 4 to 5 the variables become CN1..CN4.
    open(d, kLcd, kLcd, 40000 + 102, 30400);
    d.cmbForm->setCurrentIndex(5);
    d.cmbFormCloseUp();
    QCOMPARE(d.cmbDat[0]->currentText(), QString("CN1"));
    QCOMPARE(d.cmbDat[3]->currentText(), QString("CN4"));
    d.cmbDat[2]->setCurrentIndex(5);  // a variable where a connector belongs
    d.cmbDatCloseUp(3);
    QCOMPARE(d.cmbDat[2]->currentText(), QString("CN3"));
    d.btnOkClick();
    QCOMPARE(f.ctx.edit.val0, 50000 + 2700 + 28);
    QCOMPARE(f.ctx.edit.val1, 290000 + 3000);
  }

  void lcdTextIsLimitedAndRefusesAQuote() {
    TfrmLcd d(f.ctx, nullptr);
    QStringList warnings;
    d.showWarning = [&warnings](const QString& text, const QString& title) { warnings << title + "|" + text; };
    open(d, kLcd, kLcd, 0, 0, 0, "Hello");
    QCOMPARE(d.edtCmt->text(), QString("Hello"));
    d.edtCmt->setText("0123456789abcdefXYZ");
    QCOMPARE(d.edtCmt->text(), QString("0123456789abcdef"));
    d.edtCmt->setText("say \"hi\"");
    d.btnOkClick();
    QCOMPARE(warnings, QStringList{"Warning|Can't use [ \" ]"});
    QCOMPARE(d.result(), 0);
    QCOMPARE(f.ctx.edit.cmt, std::string("Hello"));
    d.edtCmt->setText("hi");
    d.btnOkClick();
    QCOMPARE(d.result(), int(QDialog::Accepted));
    QCOMPARE(f.ctx.edit.cmt, std::string("hi"));
    QCOMPARE(f.ctx.edit.val0, 0);
  }
};

QTEST_MAIN(OutputDialogs)
#include "output_dialogs_test.moc"
