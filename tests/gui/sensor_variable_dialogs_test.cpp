#include <QtTest>

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSlider>

#include "DialogFixture.h"
#include "gui/dialogs/BoardSelector.h"
#include "gui/dialogs/TfrmSensor.h"
#include "gui/dialogs/TfrmVar.h"
#include "core/model/StatementKind.h"

using namespace kavel;
using kavel::gui::TfrmSensor;
using kavel::gui::TfrmVar;

class SensorVariableDialogs : public QObject {
  Q_OBJECT

  test::DialogFixture f;

  void subIo() {
    f.ctx.io.subIoOn = true;
    f.ctx.io.subIoId = 0;
  }

 private slots:
  void init() {
    f.ctx.io = IoSetup{};
    for (int c = 0; c < 10; ++c) f.ctx.io.cnName[static_cast<std::size_t>(c)] = "name" + std::to_string(c + 1);
    f.ctx.programs.current = 0;
    f.ctx.messages.setLanguage(1);
  }

  // --- TfrmSensor -----------------------------------------------------------------------------

  void newComparisonStoresTheConnectorNameAsComment() {
    TfrmSensor d(f.ctx, f.glyphs, nullptr);
    f.edit(kIf, kSensorTest);
    d.FormShow();
    QCOMPARE(d.pnlSensor->title(), QString("Sensor Check"));
    QCOMPARE(d.tBar->value(), 30);
    QCOMPARE(d.cmbSens->currentText(), QString("CN1"));
    QCOMPARE(d.btnIsUpper->text(), QString("<"));
    QCOMPARE(d.cmbVar->currentIndex(), 0);
    QCOMPARE(d.cmbVar->currentText(), QString(" 30%"));
    QCOMPARE(d.lblSensSym->text(), QString("name1"));
    QVERIFY(!d.pnlSlider->isHidden());
    QVERIFY(d.btnID1->isHidden());
    d.btnOkClick();
    QCOMPARE(d.result(), int(QDialog::Accepted));
    QCOMPARE(f.ctx.edit.val0, 30);
    QCOMPARE(f.ctx.edit.val1, 0);
    QCOMPARE(f.ctx.edit.val2, 0);
    QCOMPARE(f.ctx.edit.cmt, std::string("name1"));
  }

  void comparisonWithAVariable() {
    TfrmSensor d(f.ctx, f.glyphs, nullptr);
    f.edit(kIf, kSensorTest, 0, 0, 0, "mine");
    d.FormShow();
    d.cmbSens->setCurrentIndex(2);
    d.cmbSensCloseUp();
    QCOMPARE(d.edtCmt->text(), QString());  // it held the old connector's name, or so it seems
    d.btnIsUpperClick();
    d.cmbVar->setCurrentIndex(2);
    d.cmbVarCloseUp();
    QVERIFY(d.pnlSlider->isHidden());
    QCOMPARE(d.cmbVar->currentText(), QString("Variable B"));
    d.btnOkClick();
    QCOMPARE(f.ctx.edit.val1, 20021);  // CN3 ">" B
    QCOMPARE(f.ctx.edit.cmt, std::string("name3"));

    // "==" then back to "<"; another connector as operand shows its name.
    d.FormShow();
    QCOMPARE(d.cmbVar->currentIndex(), 2);
    QVERIFY(d.pnlSlider->isHidden());
    d.btnIsUpperClick();
    QCOMPARE(d.btnIsUpper->text(), QString("=="));
    d.btnIsUpperClick();
    QCOMPARE(d.btnIsUpper->text(), QString("<"));
    d.cmbVar->setCurrentIndex(27 + 3);
    d.cmbVarCloseUp();
    QCOMPARE(d.lblVarSym->text(), QString("name4"));
  }

  void setValueCaptionFollowsTheConnectorMode_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("program");
    QTest::addColumn<QString>("caption");
    QTest::newRow("ping") << int(PingIn) << 0 << QString(" 25cm");
    QTest::newRow("ping in the interrupt routine") << int(PingIn) << 30 << QString(" 25%");
    QTest::newRow("thermistor") << int(Thermistor) << 0 << QString::fromUtf8(" 25\u2103");
  }
  void setValueCaptionFollowsTheConnectorMode() {
    QFETCH(int, mode);
    QFETCH(int, program);
    QFETCH(QString, caption);
    f.ctx.io.cnMode[9] = mode;
    f.ctx.programs.current = program;
    TfrmSensor d(f.ctx, f.glyphs, nullptr);
    f.edit(kIf, kSensorTest, 25, 90);
    d.FormShow();
    QCOMPARE(d.cmbVar->currentText(), caption);
    QCOMPARE(d.lblSensSym->text(), mode == PingIn && program == 30 ? QString() : QString("name10"));
    d.edtCmt->clear();
    d.btnOkClick();
    QCOMPARE(f.ctx.edit.cmt, program == 30 ? std::string() : std::string("name10"));
  }

  void stepButtonsClampSelectTheSetValueAndMoveTheFocus() {
    TfrmSensor d(f.ctx, f.glyphs, nullptr);
    f.edit(kIf, kSensorTest, 95, 10000 + 1);  // compared with variable A
    d.FormShow();
    d.btn10UpClick();
    QCOMPARE(d.tBar->value(), 100);
    QCOMPARE(d.cmbVar->currentIndex(), 0);
    QCOMPARE(d.cmbVar->currentText(), QString("100%"));
    QVERIFY(!d.pnlSlider->isHidden());
    QCOMPARE(d.focusWidget(), static_cast<QWidget*>(d.btnOk));
    d.tBar->setFocus();
    d.btn10DownClick();
    d.btn1DownClick();
    QCOMPARE(d.tBar->value(), 89);
    for (int i = 0; i < 12; ++i) d.btn10DownClick();
    QCOMPARE(d.tBar->value(), 0);
  }

  void boardsInSubIoMode() {
    subIo();
    TfrmSensor d(f.ctx, f.glyphs, nullptr);
    f.edit(kIf, kSensorTest, 10, 20011, 320000);
    d.FormShow();
    QVERIFY(!d.btnID1->isHidden());
    QVERIFY(!d.btnID2->isHidden());
    QCOMPARE(d.btnID1->text(), QString("I/O[3]"));
    QCOMPARE(d.btnID2->text(), QString("I/O[2]"));
    QCOMPARE(d.btnID1->menu()->actions().size(), 11);  // nine boards, a separator, Cancel
    QCOMPARE(d.btnID1->menu()->actions().at(8)->text(), QString("I/O [8]"));
    d.btnID2->menu()->actions().at(5)->trigger();
    QCOMPARE(d.btnID2->text(), QString("I/O[5]"));
    d.btnID2->menu()->actions().last()->trigger();  // Cancel changes nothing
    QCOMPARE(d.btnID2->board(), 5);
    d.btnOkClick();
    QCOMPARE(f.ctx.edit.val2, 350000);
    // The set value is read on this board.
    d.FormShow();
    d.cmbVar->setCurrentIndex(0);
    d.cmbVarCloseUp();
    QVERIFY(d.btnID2->isHidden());
    d.btnOkClick();
    QCOMPARE(f.ctx.edit.val2, 300000);
    // The interrupt routine reads no sub boards.
    f.ctx.programs.current = 30;
    f.edit(kIf, kSensorTest, 10, 20011, 320000);
    d.FormShow();
    QVERIFY(d.btnID1->isHidden());
    QVERIFY(d.btnID2->isHidden());
    d.btnOkClick();
    QCOMPARE(f.ctx.edit.val2, 0);
  }

  void touchTestCyclesItsSensor() {
    TfrmSensor d(f.ctx, f.glyphs, nullptr);
    f.edit(kIf, kSensorTestOld, 0, 1, 0, "touch");
    d.FormShow();
    QCOMPARE(d.touch(), 1);
    QVERIFY(d.cmbSens->isHidden());
    d.btnSensorClick();
    d.btnSensorClick();
    QCOMPARE(d.touch(), 0);
    d.btnOkClick();
    QCOMPARE(f.ctx.edit.val0, 0);
    QCOMPARE(f.ctx.edit.val1, 0);
    QCOMPARE(f.ctx.edit.cmt, std::string("touch"));
  }

  void damagedComparisonOpensDefaulted() {
    TfrmSensor d(f.ctx, f.glyphs, nullptr);
    f.edit(kIf, kSensorTest, 999999, -99999, 999999);
    d.FormShow();
    QCOMPARE(d.tBar->value(), 100);
    QCOMPARE(d.cmbVar->currentIndex(), 0);
    QCOMPARE(d.btnIsUpper->text(), QString("<"));
    d.btnOkClick();
    QCOMPARE(f.ctx.edit.val0, 100);
    QCOMPARE(f.ctx.edit.val1, 0);
    QCOMPARE(f.ctx.edit.val2, 0);
  }

  // --- TfrmVar --------------------------------------------------------------------------------

  void statementSnapsToAssignmentAndStoresAnItem() {
    TfrmVar d(f.ctx, nullptr);
    f.edit(kVariable, kVariable, 11, 1);
    d.FormShow();
    QCOMPARE(d.pnlVar->title(), QString("Variable"));
    QCOMPARE(d.pnlExpression->text(), QString("A = A + 1"));
    QCOMPARE(d.cmbValue->currentText(), QString("1"));
    d.cmbOpe1->setCurrentIndex(1);
    d.cmbChange();
    QCOMPARE(d.cmbOpe1->currentIndex(), 0);
    // Choosing Timer2 in the value list stores cno 32 and its index.
    d.cmbValue->setCurrentIndex(28);
    d.cmbValueSelect(28);
    QCOMPARE(d.pnlExpression->text(), QString("A = A + Timer2"));
    d.btnOkClick();
    QCOMPARE(f.ctx.edit.cno, int(kVariableItem));
    QCOMPARE(f.ctx.edit.val1, 28);
    QCOMPARE(f.ctx.edit.sno, int(kVariable));
  }

  void conditionSnapsToComparison() {
    TfrmVar d(f.ctx, nullptr);
    f.edit(kIf, kVariable);
    d.FormShow();
    QCOMPARE(d.cmbOpe1->currentText(), QString("=="));
    QCOMPARE(d.pnlExpression->text(), QString("A == 0"));
    d.cmbVar2->setCurrentIndex(2);
    d.cmbChange();
    QCOMPARE(d.cmbValue->currentText(), QString());  // the operand is the whole right side
    QCOMPARE(d.pnlExpression->text(), QString("A == B"));
    d.btnOkClick();
    QCOMPARE(f.ctx.edit.val0, 1020);
    QCOMPARE(f.ctx.edit.cno, int(kVariable));
    QCOMPARE(f.ctx.edit.val1, 0);
  }

  void typedNumbers_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("stored");
    QTest::newRow("not a number") << "abc" << "0" << 0;
    QTest::newRow("negative") << "-7" << "-7" << -7;
    QTest::newRow("too large") << "12345678" << "999999" << 999999;
    QTest::newRow("too small") << "-555555" << "-99999" << -99999;
  }
  void typedNumbers() {
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(int, stored);
    TfrmVar d(f.ctx, nullptr);
    f.edit(kVariable, kVariable, 0, 3);
    d.FormShow();
    d.cmbValue->lineEdit()->setText(typed);
    d.cmbValueEdited(typed);
    QCOMPARE(d.cmbValue->currentText(), shown);
    QCOMPARE(d.pnlExpression->text(), "A = " + shown);
    d.btnOkClick();
    QCOMPARE(f.ctx.edit.val1, stored);
    QCOMPARE(f.ctx.edit.cno, int(kVariable));
  }

  void divisionByNothingBecomesByOne() {
    TfrmVar d(f.ctx, nullptr);
    f.edit(kVariable, kVariable, 2 * 10000 + 2 * 10 + 4, 0);
    d.FormShow();
    QCOMPARE(d.pnlExpression->text(), QString("C = B / 1"));
    d.btnOkClick();
    QCOMPARE(f.ctx.edit.val1, 1);
  }

  void enterInTheValueFieldFocusesOk() {
    TfrmVar d(f.ctx, nullptr);
    f.edit(kVariable, kVariable, 0, 5);
    d.FormShow();
    d.cmbValue->lineEdit()->setFocus();
    QTest::keyClick(d.cmbValue->lineEdit(), Qt::Key_Return);
    QCOMPARE(d.focusWidget(), static_cast<QWidget*>(d.btnOk));
    QCOMPARE(d.result(), 0);
  }

  void listsFollowTheOptionsAtEachOpening() {
    TfrmVar d(f.ctx, nullptr);
    f.edit(kVariable, kVariableItem, 440 + 1, 45);
    d.FormShow();
    QCOMPARE(d.cmbVar2->count(), 41);
    QCOMPARE(d.cmbVar2->currentIndex(), 0);  // Uss1 is not offered now
    f.ctx.io.useUss = true;
    f.edit(kVariable, kVariableItem, 440 + 1, 45);
    d.FormShow();
    QCOMPARE(d.cmbVar2->count(), 48);
    QCOMPARE(d.cmbVar2->currentText(), QString("Uss1"));
    // A module value with a module operand is dropped to a typed number.
    QCOMPARE(d.cmbValue->currentText(), QString("0"));
    QCOMPARE(d.pnlExpression->text(), QString("A = Uss1 + 0"));
  }

  void boardSelectorsInSubIoMode() {
    subIo();
    TfrmVar d(f.ctx, nullptr);
    f.edit(kVariable, kVariable, 20 + 1, 1, 30000);
    d.FormShow();
    QVERIFY(!d.btnID1->isHidden());
    QVERIFY(!d.btnID2->isHidden());
    QVERIFY(!d.btnID1->isEnabled());  // the operand's board is not this one
    QCOMPARE(d.pnlExpression->text(), QString("I/O[0]:A = I/O[3]:B + 1"));
    d.btnID2->chooseBoard(0);
    QVERIFY(d.btnID1->isEnabled());
    d.btnID1->chooseBoard(4);
    QVERIFY(!d.btnID2->isEnabled());
    d.btnOkClick();
    QCOMPARE(f.ctx.edit.val2, 400000);

    // Without sub I/O boards val2 is left as it was.
    f.ctx.io.subIoOn = false;
    f.edit(kVariable, kVariable, 21, 1, 123);
    d.FormShow();
    QVERIFY(d.btnID1->isHidden());
    d.btnOkClick();
    QCOMPARE(f.ctx.edit.val2, 123);
  }

  void japaneseCaptions() {
    f.ctx.messages.setLanguage(0);
    TfrmVar d(f.ctx, nullptr);
    f.edit(kVariable, kVariable);
    d.FormShow();
    QCOMPARE(d.pnlVar->title(), QString::fromUtf8("変数"));
    QCOMPARE(d.cmbVar2->itemText(0), QString::fromUtf8("なし"));
    QCOMPARE(d.cmbValue->itemText(0), QString::fromUtf8("数値"));
  }
};

QTEST_MAIN(SensorVariableDialogs)
#include "sensor_variable_dialogs_test.moc"
