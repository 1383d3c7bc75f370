#include <QtTest>

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>

#include "DialogFixture.h"
#include "gui/dialogs/TfrmTimer.h"
#include "core/editor/StatementEditing.h"
#include "core/model/StatementKind.h"

using namespace kavel;
using kavel::gui::TfrmTimer;

class TimerDialog : public QObject {
  Q_OBJECT

  test::DialogFixture f;
  TfrmTimer* dlg = nullptr;

  // As the program window opens it: with its opening defaults.
  void open(int sno, int cno, int val0, int val1, std::string cmt = {}) {
    f.edit(sno, cno, val0, val1, 0, std::move(cmt));
    prepareForDialog(f.ctx.edit);
    dlg->setResult(0);
    dlg->FormShow();
  }

 private slots:
  void init() { dlg = new TfrmTimer(f.ctx, f.glyphs, nullptr); }
  void cleanup() { delete dlg; }

  void newWaitOpensAtOneSecond() {
    open(kWait, kWait, 0, 0);
    QCOMPARE(dlg->pnlTimer->title(), QString("Wait"));
    QVERIFY(dlg->cmbTimer->isHidden());
    QVERIFY(dlg->btnIsUpper->isHidden());
    QCOMPARE(dlg->cmbVar->currentIndex(), 0);
    QCOMPARE(dlg->cmbVar->currentText(), QString(" 1.0 sec"));
    QVERIFY(!dlg->pnlSlider->isHidden());
    dlg->btnOkClick();
    QCOMPARE(dlg->result(), int(QDialog::Accepted));
    QCOMPARE(f.ctx.edit.val0, 1000);
    QCOMPARE(f.ctx.edit.val1, 0);
    QCOMPARE(f.ctx.edit.sno, int(kWait));
    QCOMPARE(f.ctx.edit.cno, int(kWait));
  }

  void waitOnAVariableKeepsTheTimeAndReopens() {
    open(kWait, kWait, 2500, 0);
    dlg->cmbVar->setCurrentIndex(3);
    dlg->cmbVarCloseUp();
    QVERIFY(dlg->pnlSlider->isHidden());
    QCOMPARE(dlg->focusWidget(), static_cast<QWidget*>(dlg->btnOk));
    dlg->btnOkClick();
    QCOMPARE(f.ctx.edit.val0, 2500);
    QCOMPARE(f.ctx.edit.val1, 300);
    const Statement stored = f.ctx.edit;
    open(kWait, kWait, 7000, 0);  // another row in between
    open(stored.sno, stored.cno, stored.val0, stored.val1);
    QCOMPARE(dlg->cmbVar->currentIndex(), 3);
    QCOMPARE(dlg->cmbVar->currentText(), QString("Variable C"));
    QVERIFY(dlg->pnlSlider->isHidden());
  }

  void timerStatementStoresOnlyItsTimer() {
    open(kTimer, kTimer, 0, 20000);
    QCOMPARE(dlg->pnlTimer->title(), QString("Timer"));
    QCOMPARE(dlg->cmbTimer->currentText(), QString("Timer3"));
    QVERIFY(dlg->cmbVar->isHidden());
    QVERIFY(dlg->pnlSlider->isHidden());
    QVERIFY(dlg->btnIsUpper->isHidden());
    dlg->btnOkClick();
    QCOMPARE(f.ctx.edit.val0, 0);
    QCOMPARE(f.ctx.edit.val1, 20000);
  }

  void timerCondition() {
    open(kWhile, kTimer, 0, 0);
    QCOMPARE(dlg->pnlTimer->title(), QString("Time Check"));
    QVERIFY(!dlg->btnIsUpper->isHidden());
    dlg->cmbTimer->setCurrentIndex(1);
    dlg->cmbTimerCloseUp();
    dlg->btnIsUpperClick();
    QCOMPARE(dlg->btnIsUpper->text(), QString(">"));
    dlg->cmbVar->setCurrentIndex(1);
    dlg->cmbVarCloseUp();
    dlg->btnOkClick();
    QCOMPARE(f.ctx.edit.val1, 10101);  // T2 ">" A
    QCOMPARE(f.ctx.edit.val0, 1000);
    QCOMPARE(f.ctx.edit.sno, int(kWhile));
  }

  void stepsAndTheIconStayWithinSixtySeconds() {
    open(kWait, kWait, 59500, 0);
    dlg->btn1000mUpClick();
    QCOMPARE(dlg->tBar->value(), 600);
    QCOMPARE(dlg->cmbVar->currentText(), QString("60.0 sec"));
    QCOMPARE(dlg->focusWidget(), static_cast<QWidget*>(dlg->btnOk));
    open(kWait, kWait, 1000, 0);
    dlg->btnIconClick();
    QCOMPARE(dlg->tBar->value(), 20);
    dlg->btnIconClick();
    QCOMPARE(dlg->tBar->value(), 30);
    dlg->btn100mDownClick();
    dlg->btn1000mDownClick();
    QCOMPARE(dlg->tBar->value(), 19);
    dlg->cmbVar->setCurrentIndex(5);
    dlg->btn100mUpClick();  // a step returns to the set time
    QCOMPARE(dlg->cmbVar->currentIndex(), 0);
    QCOMPARE(dlg->cmbVar->currentText(), QString(" 2.0 sec"));
    dlg->btnOkClick();
    QCOMPARE(f.ctx.edit.val0, 2000);
  }

  void storedTimesBeyondTheRangeOpenLimited() {
    open(kIf, kTimer, 999999, 999999);
    QCOMPARE(dlg->tBar->value(), 600);
    QCOMPARE(dlg->cmbVar->currentIndex(), 0);
    QCOMPARE(dlg->cmbTimer->currentIndex(), 0);
    dlg->btnOkClick();
    QCOMPARE(f.ctx.edit.val0, 60000);
    QCOMPARE(f.ctx.edit.val1, 1);
    open(kWait, kWait, -3000, 0);
    QCOMPARE(dlg->tBar->value(), 0);
  }

  void enterOnTheSliderFocusesOk() {
    open(kWait, kWait, 1000, 0);
    dlg->tBar->setFocus();
    QTest::keyClick(dlg->tBar, Qt::Key_Return);
    QCOMPARE(dlg->focusWidget(), static_cast<QWidget*>(dlg->btnOk));
    QCOMPARE(dlg->result(), 0);
  }

  void captionsInJapanese() {
    f.ctx.messages.setLanguage(0);
    dlg->applyLanguage();
    open(kWait, kWait, 1500, 0);
    QCOMPARE(dlg->cmbVar->currentText(), QString::fromUtf8(" 1.5 秒"));
    QCOMPARE(dlg->cmbVar->itemText(1), QString::fromUtf8("変数 A"));
    f.ctx.messages.setLanguage(1);
  }
};

QTEST_MAIN(TimerDialog)
#include "timer_dialog_test.moc"
