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
#include "core/model/StatementKind.h"
#include "gui/dialogs/TfrmDir.h"
#include "gui/dialogs/TfrmPixy.h"
#include "gui/dialogs/TfrmSNX4410.h"
#include "gui/dialogs/TfrmUss.h"

using namespace kavel;
using namespace kavel::gui;

// The four sensor-module dialogs: what they show for stored values (damaged ones included) and
// what OK writes back.
class ModuleDialogs : public QObject {
  Q_OBJECT

  test::DialogFixture f;

 private slots:
  void ultrasonicTestRoundTrip() {
    TfrmUss dlg(f.ctx, f.glyphs, nullptr);
    f.edit(kIf, kUltrasonic, 1200, 20001, 5, "near");
    dlg.FormShow();
    QCOMPARE(dlg.pnlUss->title(), QString("Ultrasonic Check"));
    QCOMPARE(dlg.lblUss->text(), QString("USS-3"));
    QCOMPARE(dlg.btnJudge->text(), QString(">"));
    QCOMPARE(dlg.cmbVar->currentText(), QString("120cm"));
    QVERIFY(!dlg.pnlSlider->isHidden());
    dlg.btnIconClick();
    dlg.btnJudgeClick();
    dlg.btn10cmUpClick();
    dlg.btn1cmDownClick();
    dlg.btnOkClick();
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    QCOMPARE(f.ctx.edit.val0, 1290);
    QCOMPARE(f.ctx.edit.val1, 30002);
    QCOMPARE(f.ctx.edit.val2, 5);  // val2 is not the dialog's
    QCOMPARE(f.ctx.edit.cmt, std::string("near"));

    // A test against variable D reopens with D and without the slider; OK keeps it.
    f.edit(kWhile, kUltrasonic, 500, 10400);
    dlg.FormShow();
    QCOMPARE(dlg.cmbVar->currentIndex(), 4);
    QVERIFY(dlg.pnlSlider->isHidden());
    dlg.btnOkClick();
    QCOMPARE(f.ctx.edit.val1, 10400);

    // Damaged values open on the first choices, clamped.
    f.edit(kIf, kUltrasonic, 99999, 990099);
    dlg.FormShow();
    QCOMPARE(dlg.lblUss->text(), QString("USS-1"));
    QCOMPARE(dlg.btnJudge->text(), QString("<"));
    QCOMPARE(dlg.tBarUss->value(), 300);
    dlg.btnOkClick();
    QCOMPARE(f.ctx.edit.val0, 3000);
    QCOMPARE(f.ctx.edit.val1, 0);
  }

  void ultrasonicStatementStartsAndStops() {
    TfrmUss dlg(f.ctx, f.glyphs, nullptr);
    f.edit(kUltrasonic, kUltrasonic, 0, 0);
    dlg.FormShow();
    QCOMPARE(dlg.pnlUss->title(), QString("Ultrasonic Sensor Control"));
    QVERIFY(dlg.cmbVar->isHidden());
    QVERIFY(dlg.pnlSlider->isHidden());
    QCOMPARE(dlg.btnJudge->text(), QString("STOP"));
    dlg.btnJudgeClick();
    QCOMPARE(dlg.btnJudge->text(), QString("START"));
    dlg.btnOkClick();
    QCOMPARE(f.ctx.edit.val0, 0);
    QCOMPARE(f.ctx.edit.val1, 1);
    f.edit(kUltrasonic, kUltrasonic, 0, 7);
    dlg.FormShow();
    QCOMPARE(dlg.btnJudge->text(), QString("STOP"));
  }

  void directionRangesFollowTheAxis() {
    TfrmDir dlg(f.ctx, nullptr);
    f.edit(kIf, kDirectionTest, 300020, 0);  // a heading test first
    dlg.FormShow();
    QCOMPARE(dlg.tBarJudge->maximum(), 360);
    QCOMPARE(dlg.tBarJudge->value(), 300);
    f.edit(kIf, kDirectionTest, 45005, 200000, 0, "roll");
    dlg.FormShow();
    QVERIFY(dlg.rbRoll->isChecked());
    QCOMPARE(dlg.tBarJudge->maximum(), 180);
    QCOMPARE(dlg.tBarRange->maximum(), 90);
    QCOMPARE(dlg.tBarJudge->value(), 45);
    QCOMPARE(dlg.tBarRange->value(), 5);
    QCOMPARE(dlg.cmbJudge->currentText(), QString(" 45 Deg"));
    QCOMPARE(dlg.pnlDir->title(), QString("Direction Check"));
    QCOMPARE(dlg.lblJudge->text(), QString("Target"));
    dlg.btnOkClick();
    QCOMPARE(f.ctx.edit.val0, 45005);
    QCOMPARE(f.ctx.edit.val1, 200000);
    QCOMPARE(f.ctx.edit.cmt, std::string("roll"));

    // A new test: target 0, tolerance 10; a variable target and a stepped tolerance.
    f.edit(kIf, kDirectionTest, 0, 0);
    dlg.FormShow();
    QCOMPARE(dlg.tBarRange->value(), 10);
    dlg.cmbJudge->setCurrentIndex(3);
    dlg.cmbJudgeCloseUp();
    dlg.btnUp10RangeClick();
    dlg.rbPitch->setChecked(true);
    dlg.rbAxisClick();
    QCOMPARE(dlg.cmbJudge->currentIndex(), 3);  // choosing an axis keeps the sources
    dlg.btnOkClick();
    QCOMPARE(f.ctx.edit.val0, 20);
    QCOMPARE(f.ctx.edit.val1, 103000);

    // The compass gives the heading only.
    f.ctx.io.useHmc = true;
    f.edit(kIf, kDirectionTest, 90010, 100000);
    dlg.FormShow();
    QCOMPARE(dlg.pnlDir->title(), QString("HMC6352 Sensor"));
    QVERIFY(dlg.rbPitch->isHidden());
    f.ctx.io.useHmc = false;
  }

  void gamePadChoosesOneControl() {
    TfrmSNX4410 dlg(f.ctx, nullptr);
    f.edit(kIf, kGamePadTest, 512, 0);
    dlg.FormShow();
    QVERIFY(dlg.control[9]->isChecked());
    QVERIFY(dlg.pnlJoy->isHidden());
    dlg.controlClick(14);  // the left stick
    QVERIFY(!dlg.control[9]->isChecked());
    QVERIFY(!dlg.pnlJoy->isHidden());
    dlg.rbJoy[0]->setChecked(true);
    dlg.btnOkClick();
    QCOMPARE(f.ctx.edit.val0, 0xC000);
    QCOMPARE(f.ctx.edit.val1, 0);

    f.edit(kIf, kGamePadTest, 4096, 3, 8);
    dlg.FormShow();
    QVERIFY(dlg.control[12]->isChecked());
    QVERIFY(dlg.rbJoy[3]->isChecked());
    dlg.btnOkClick();
    QCOMPARE(f.ctx.edit.val0, 4096);
    QCOMPARE(f.ctx.edit.val1, 3);
    QCOMPARE(f.ctx.edit.val2, 0);

    // Pressing the pressed control releases it: nothing chosen stores 0.
    dlg.controlClick(12);
    QCOMPARE(dlg.chosenControl(), -1);
    QVERIFY(dlg.pnlJoy->isHidden());
    dlg.btnOkClick();
    QCOMPARE(f.ctx.edit.val0, 0);
  }

  void cameraAreasSizeAndGetPixy() {
    TfrmPixy dlg(f.ctx, f.glyphs, nullptr);
    f.edit(kIf, kCameraTest, 122200, 50050);
    dlg.FormShow();
    QCOMPARE(dlg.cmbSigNo->currentText(), QString("Sig1"));
    QVERIFY(dlg.ckPosition->isChecked());
    QVERIFY(!dlg.ckSize->isChecked());
    QVERIFY(dlg.pnlLimit->isHidden());
    // Sig3, areas 1 and 9, larger than 100 x 80.
    dlg.cmbSigNo->setCurrentIndex(3);
    dlg.cmbSigNoChange();
    for (int tag : {1, 4, 7, 0, 8}) dlg.pnlPosClick(tag);
    dlg.ckSize->setChecked(true);
    dlg.ckSizeClick();
    QVERIFY(!dlg.pnlLimit->isHidden());
    for (int i = 0; i < 5; ++i) dlg.btnXupClick();
    for (int i = 0; i < 3; ++i) dlg.btnYupClick();
    dlg.btnLimitClick();
    QCOMPARE(dlg.lblSize->text(), QString("w:100 x h:80  "));
    QCOMPARE(dlg.pnlPreview->size(), QSize(75, 60));
    dlg.btnOkClick();
    QCOMPARE(f.ctx.edit.val0, 340102);
    QCOMPARE(f.ctx.edit.val1, 100080);

    // Unticking both boxes ticks Position again.
    dlg.ckSize->setChecked(false);
    dlg.ckPosition->setChecked(false);
    dlg.ckPositionClick();
    QVERIFY(dlg.ckPosition->isChecked());

    // Damaged limits open clamped; the icon steps 7 -> 1.
    f.edit(kIf, kCameraTest, 700001, 999999);
    dlg.FormShow();
    QCOMPARE(dlg.limitWidth(), 310);
    QCOMPARE(dlg.limitHeight(), 190);
    dlg.btnXupClick();
    QCOMPARE(dlg.limitWidth(), 310);
    dlg.btnIconClick();
    QCOMPARE(dlg.cmbSigNo->currentIndex(), 1);

    QVERIFY(!dlg.lblSig->isHidden());
    dlg.cmbSigNo->setCurrentIndex(0);
    dlg.cmbSigNoChange();
    // "Get Pixy" leaves only the signature list (and the icon): no label, boxes or grid.
    QVERIFY(dlg.pnlGrid->isHidden());
    QVERIFY(dlg.lblSig->isHidden());
    QVERIFY(dlg.ckPosition->isHidden() && dlg.ckSize->isHidden() && dlg.pnlLimit->isHidden());
    QVERIFY(!dlg.cmbSigNo->isHidden());
    dlg.btnIconClick();
    QCOMPARE(dlg.cmbSigNo->currentIndex(), 0);  // the icon does nothing on Get Pixy
    dlg.btnOkClick();
    QCOMPARE(f.ctx.edit.val0, 0);
    QCOMPARE(f.ctx.edit.val1, 0);
  }
};

QTEST_MAIN(ModuleDialogs)
#include "module_dialogs_test.moc"
