#include <QtTest>

#include <QGroupBox>
#include <QLayout>
#include <QPushButton>

#include <algorithm>
#include <vector>

#include "DialogFixture.h"
#include "gui/dialogs/DialogSet.h"
#include "gui/dialogs/TfrmCondition.h"
#include "core/model/StatementKind.h"

using namespace kavel;
using kavel::gui::TfrmCondition;

class ConditionDialog : public QObject {
  Q_OBJECT

  test::DialogFixture f;
  TfrmCondition* dlg = nullptr;

  void open(int sno, int cno) {
    f.edit(sno, cno, 11, 22, 33, "comment");
    dlg->setResult(0);
    dlg->FormShow();
  }
  // The buttons shown, top to bottom, by their subject kinds.
  std::vector<int> shownKinds() {
    std::vector<std::pair<int, int>> byPlace;
    for (int kind : {1, 34, 14, 30, 31, 15, 44, 45, 43, 40, 33}) {
      QPushButton* b = dlg->button(kind);
      if (!b->isHidden()) byPlace.emplace_back(dlg->pnlCondition->layout()->indexOf(b), kind);
    }
    std::sort(byPlace.begin(), byPlace.end());
    std::vector<int> kinds;
    for (const auto& p : byPlace) kinds.push_back(p.second);
    return kinds;
  }

 private slots:
  void init() {
    f.ctx.io = IoSetup{};
    f.ctx.programs.current = 0;
    dlg = new TfrmCondition(f.ctx, f.glyphs, nullptr);
  }
  void cleanup() { delete dlg; }

  void whileRowOffersTheEndlessLoopFirst() {
    open(kWhile, 0);
    QCOMPARE(shownKinds(), (std::vector<int>{1, 34, 14, 30, 31}));
    QCOMPARE(dlg->btnLoop->text(), QString("Infinite Loop"));
    QCOMPARE(dlg->pnlCondition->title(), QString("Choose a Condition"));
    open(kIf, 0);
    QCOMPARE(shownKinds(), (std::vector<int>{34, 14, 30, 31}));
    open(kElseIf, 0);
    QVERIFY(dlg->btnLoop->isHidden());
  }

  void optionalButtonsFollowOptionsAndProgram() {
    f.ctx.io.useHmc = true;
    f.ctx.io.useUss = true;
    f.ctx.io.usePixy = true;
    f.ctx.io.useSnx4410 = true;
    f.ctx.io.outputInUse = true;
    f.ctx.io.advancedMode = true;
    open(kIf, 0);
    QCOMPARE(shownKinds(), (std::vector<int>{34, 14, 30, 31, 15, 44, 45, 43, 40, 33}));
    dlg->fitToContents();
    const int tall = dlg->height();

    f.ctx.programs.current = 30;
    open(kIf, 0);
    QCOMPARE(shownKinds(), (std::vector<int>{34, 14, 30, 31, 40, 33}));
    // The panel shrinks to the buttons shown.
    dlg->fitToContents();
    QVERIFY(dlg->height() < tall);

    f.ctx.programs.current = 0;
    f.ctx.io.subIoId = 1;
    open(kWhile, 0);
    QCOMPARE(shownKinds(), (std::vector<int>{1, 34, 14, 30, 31, 40, 33}));
  }

  void aClickWritesOnlyTheKind_data() {
    QTest::addColumn<int>("kind");
    QTest::newRow("sensor") << int(kSensorTest);
    QTest::newRow("endless loop") << int(kUnconditional);
    // Kinds whose dialog does not exist yet still come back; the caller keeps the row.
    QTest::newRow("ultrasonic") << int(kUltrasonic);
    QTest::newRow("C code") << int(kCCode);
  }
  void aClickWritesOnlyTheKind() {
    QFETCH(int, kind);
    f.ctx.io.useUss = true;
    f.ctx.io.advancedMode = true;
    open(kWhile, kVariable);
    dlg->button(kind)->click();
    QCOMPARE(dlg->result(), int(QDialog::Accepted));
    QCOMPARE(f.ctx.edit.cno, kind);
    QCOMPARE(f.ctx.edit.sno, int(kWhile));
    QCOMPARE(f.ctx.edit.val0, 11);
    QCOMPARE(f.ctx.edit.val1, 22);
    QCOMPARE(f.ctx.edit.val2, 33);
    QCOMPARE(f.ctx.edit.cmt, std::string("comment"));
  }

  void focusGoesToTheCurrentCondition_data() {
    QTest::addColumn<int>("cno");
    QTest::addColumn<int>("focused");  // 0: no button
    QTest::newRow("new row") << 0 << 0;
    QTest::newRow("sensor") << int(kSensorTest) << int(kSensorTest);
    QTest::newRow("variable with a list item") << int(kVariableItem) << int(kVariable);
    QTest::newRow("hidden direction button") << int(kDirectionTest) << 0;
  }
  void focusGoesToTheCurrentCondition() {
    QFETCH(int, cno);
    QFETCH(int, focused);
    open(kIf, kTimer);  // an earlier opening leaves its focus behind
    open(kIf, cno);
    QWidget* expected = focused ? dlg->button(focused) : nullptr;
    QWidget* actual = qobject_cast<QPushButton*>(dlg->focusWidget());
    QCOMPARE(actual, expected);
  }

  void enterChoosesTheFocusedButtonOnly() {
    // Shown for real: activating the window must not hand the focus to the first button.
    open(kIf, 0);
    dlg->show();
    QVERIFY(QTest::qWaitForWindowActive(dlg));
    QVERIFY(!qobject_cast<QPushButton*>(QApplication::focusWidget()));
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : dlg, Qt::Key_Return);
    QCOMPARE(dlg->result(), 0);
    QCOMPARE(f.ctx.edit.cno, 0);
    dlg->hide();

    open(kIf, kTimer);
    QCOMPARE(dlg->focusWidget(), static_cast<QWidget*>(dlg->btnTimer));
    QTest::keyClick(dlg->focusWidget(), Qt::Key_Return);
    QCOMPARE(dlg->result(), int(QDialog::Accepted));
    QCOMPARE(f.ctx.edit.cno, int(kTimer));
  }

  void cancelKeepsTheKind() {
    open(kIf, 0);
    dlg->btnCancel->click();
    QCOMPARE(dlg->result(), int(QDialog::Rejected));
    QCOMPARE(f.ctx.edit.cno, 0);
  }
};

QTEST_MAIN(ConditionDialog)
#include "condition_dialog_test.moc"
