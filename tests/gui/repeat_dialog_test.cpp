#include <QtTest>

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include "DialogFixture.h"
#include "gui/dialogs/TfrmRepeat.h"
#include "gui/dialogs/UpDown.h"
#include "core/model/StatementKind.h"

using namespace kavel;
using kavel::gui::TfrmRepeat;

class RepeatDialog : public QObject {
  Q_OBJECT

  test::DialogFixture f;
  TfrmRepeat* dlg = nullptr;

  void open(int count, std::string cmt = {}) {
    f.edit(kFor, kRepeatCount, count, 7, 9, std::move(cmt));
    dlg->setResult(0);
    dlg->FormShow();
  }

 private slots:
  void init() { dlg = new TfrmRepeat(f.ctx, nullptr); }
  void cleanup() { delete dlg; }

  void showsTheStoredCountLimited_data() {
    QTest::addColumn<int>("stored");
    QTest::addColumn<QString>("shown");
    QTest::newRow("in range") << 12 << "12";
    QTest::newRow("above 100") << 150 << "100";
    QTest::newRow("negative") << -4 << "0";
  }
  void showsTheStoredCountLimited() {
    QFETCH(int, stored);
    QFETCH(QString, shown);
    open(stored);
    QCOMPARE(dlg->edtRepeat->text(), shown);
    QCOMPARE(dlg->pnlRepeat->title(), QString("For (repeat a set number of times)"));
    QCOMPARE(dlg->lblRepeat->text(), QString("times"));
    QCOMPARE(dlg->focusWidget(), static_cast<QWidget*>(dlg->btnOk));
  }

  void okStoresTheTypedCountLimited_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("count");
    QTest::newRow("number") << "25" << 25;
    QTest::newRow("above 100") << "250" << 100;
    QTest::newRow("negative") << "-3" << 0;
    QTest::newRow("not a number") << "ten" << 0;
    QTest::newRow("empty") << "" << 0;
  }
  void okStoresTheTypedCountLimited() {
    QFETCH(QString, typed);
    QFETCH(int, count);
    open(1, "loop");
    dlg->edtRepeat->setText(typed);
    dlg->btnOkClick();
    QCOMPARE(dlg->result(), int(QDialog::Accepted));
    QCOMPARE(f.ctx.edit.val0, count);
    // Only the count and the comment are written.
    QCOMPARE(f.ctx.edit.cno, int(kRepeatCount));
    QCOMPARE(f.ctx.edit.val1, 7);
    QCOMPARE(f.ctx.edit.val2, 9);
    QCOMPARE(f.ctx.edit.cmt, std::string("loop"));
  }

  void upDownStepsWithinTheLimits() {
    open(99);
    dlg->udRepeat->upButton()->click();
    dlg->udRepeat->upButton()->click();
    QCOMPARE(dlg->edtRepeat->text(), QString("100"));
    dlg->edtRepeat->setText("42");
    dlg->udRepeat->downButton()->click();
    QCOMPARE(dlg->edtRepeat->text(), QString("41"));
    QTest::keyClick(dlg->edtRepeat, Qt::Key_Up);
    QCOMPARE(dlg->edtRepeat->text(), QString("42"));
    open(0);
    dlg->udRepeat->downButton()->click();
    QCOMPARE(dlg->edtRepeat->text(), QString("0"));
    dlg->edtRepeat->setText("5000");
    dlg->udRepeat->upButton()->click();
    QCOMPARE(dlg->edtRepeat->text(), QString("100"));
  }

  void enterInTheCountOrCommentFocusesOk() {
    open(3);
    for (QWidget* field : {static_cast<QWidget*>(dlg->edtRepeat), static_cast<QWidget*>(dlg->edtCmt)}) {
      field->setFocus();
      QTest::keyClick(field, Qt::Key_Enter);
      QCOMPARE(dlg->focusWidget(), static_cast<QWidget*>(dlg->btnOk));
      QCOMPARE(dlg->result(), 0);
    }
  }

  void cancelStoresNothing() {
    open(3, "c");
    dlg->edtRepeat->setText("9");
    dlg->edtCmt->setText("d");
    dlg->btnCancelClick();
    QCOMPARE(dlg->result(), int(QDialog::Rejected));
    QCOMPARE(f.ctx.edit.val0, 3);
    QCOMPARE(f.ctx.edit.cmt, std::string("c"));
  }
};

QTEST_MAIN(RepeatDialog)
#include "repeat_dialog_test.moc"
