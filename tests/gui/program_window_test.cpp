#include <QtTest>

#include <QAction>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QLineEdit>
#include <QScrollBar>
#include <QSlider>
#include <QToolButton>

#include <algorithm>
#include <deque>
#include <functional>

#include "MainWindowFixture.h"
#include "Statements.h"
#include "gui/dialogs/DialogSet.h"
#include "gui/dialogs/TfrmCondition.h"
#include "gui/dialogs/TfrmRepeat.h"
#include "gui/dialogs/TfrmSpeed.h"
#include "gui/editor/Palette.h"
#include "gui/editor/RowView.h"
#include "core/model/RowText.h"
#include "core/model/StatementKind.h"

using namespace kavel;
using namespace kavel::testing;
using gui::TfrmProg;

namespace {

// What each dialog that opens next does: a real dialog is worked through its handlers, a
// dialog this version does not have yet is stood in for by filling the edit buffer.
using DialogStep = std::function<EditOutcome(Context&, gui::StatementDialog*)>;

struct Scripted {
  explicit Scripted(MainWindowFixture& f) : f(f) {
    f.prompts.edit = [this](DialogKind kind, gui::StatementDialog* dialog) {
      opened.push_back(kind);
      if (steps.empty()) return EditOutcome::Cancel;
      DialogStep step = steps.front();
      steps.pop_front();
      return step(this->f.ctx, dialog);
    };
  }
  MainWindowFixture& f;
  std::deque<DialogStep> steps;
  std::vector<DialogKind> opened;
};

DialogStep ok(std::function<void(EditBuffer&)> fill = {}) {
  return [fill](Context& ctx, gui::StatementDialog*) {
    if (fill) fill(ctx.edit);
    return EditOutcome::Ok;
  };
}
DialogStep cancel() {
  return [](Context&, gui::StatementDialog*) { return EditOutcome::Cancel; };
}

// A real dialog: shown, worked by `work` and closed by its own handlers.
template <typename Dialog>
DialogStep real(std::function<void(Dialog&)> work) {
  return [work](Context&, gui::StatementDialog* d) {
    auto* dialog = qobject_cast<Dialog*>(d);
    if (!dialog) {
      qWarning("the expected dialog is not there");
      return EditOutcome::Unavailable;
    }
    dialog->FormShow();
    work(*dialog);
    return dialog->result() == QDialog::Accepted ? EditOutcome::Ok : EditOutcome::Cancel;
  };
}

DialogStep chooseCondition(int kind) {
  return real<gui::TfrmCondition>([kind](gui::TfrmCondition& d) { d.btnConditionClick(kind); });
}

void setRows(TfrmProg* prog, std::initializer_list<Statement> rows) {
  prog->clearRows();
  for (const Statement& s : rows) prog->program().appendRow(s);
  prog->rowsChanged();
}

void arm(MainWindowFixture& f, const char* button) { f.main->pnlButton()->click(QString::fromLatin1(button)); }

QString lastText(MainWindowFixture& f) { return f.prompts.asked.empty() ? QString() : f.prompts.asked.back().text; }

}  // namespace

class ProgramWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void buildsAProgramFromThePaletteWithBlocksAndMotorRows() {
    MainWindowFixture f;
    Scripted s(f);
    TfrmProg* main = f.prog();

    // A motor row confirmed as a spin left turns into kind 23.
    s.steps = {real<gui::TfrmSpeed>([](gui::TfrmSpeed& d) {
      QCOMPARE(d.leftSpeed(), 50);  // the forward preset of a new motor row
      d.tBarLSpeed->setValue(50);   // the speed is the negated slider position
      d.tBarRSpeed->setValue(-50);
      d.btnOkClick();
    })};
    arm(f, "btnMotor");
    main->layoutClick();
    QCOMPARE(f.main->pnlButton()->armedKind(), -1);  // a successful drop releases the button

    // If with a sensor test: the chooser, then the sensor dialog.
    s.steps = {chooseCondition(kSensorTest), ok([](EditBuffer& b) {
                 b.val0 = 25;
                 b.val1 = 1;
               })};
    arm(f, "btnIf");
    main->layoutClick();

    // A wait in front of the Else row (inside the If branch).
    s.steps = {ok()};
    arm(f, "btnWait");
    main->iconClick(2);

    // An endless While at the end, then a For in front of its End row.
    s.steps = {chooseCondition(kUnconditional)};
    arm(f, "btnWhile");
    main->layoutClick();
    s.steps = {real<gui::TfrmRepeat>([](gui::TfrmRepeat& d) {
      d.edtRepeat->setText("3");
      d.btnOkClick();
    })};
    arm(f, "btnFor");
    main->iconClick(6);

    const Program& p = main->program();
    QCOMPARE(kinds(p), (std::vector<int>{kSpinLeft, kIf, kWait, kElse, kEnd, kWhile, kFor, kEnd, kEnd}));
    QCOMPARE(levels(p), (std::vector<int>{0, 0, 1, 0, 0, 0, 1, 1, 0}));
    QCOMPARE(s.opened, (std::vector<DialogKind>{DialogKind::Speed, DialogKind::Condition, DialogKind::Sensor,
                                                DialogKind::Timer, DialogKind::Condition, DialogKind::Repeat}));
    QCOMPARE(p.rows()[0].cno, kSpinLeft);
    QCOMPARE(p.rows()[1].cno, kSensorTest);
    QCOMPARE(p.rows()[2].val0, 1000);  // the timer dialog's opening default
    QCOMPARE(p.rows()[5].cno, kUnconditional);
    QCOMPARE(p.rows()[6].val0, 3);
    QCOMPARE(main->rowText(0), QStringLiteral("L: -50%  R:  50%"));
    QCOMPARE(main->rowText(1), QStringLiteral("CN1 > 25%"));
    QCOMPARE(main->rowText(5), QStringLiteral("Infinite Loop"));
    QVERIFY(p.modified);
    QCOMPARE(main->panelText(1), QStringLiteral("Modified"));
    QCOMPARE(main->panelText(0), QStringLiteral("P:7/9"));
    QVERIFY(f.main->toolButton("btnSave")->isEnabled());
  }

  void cancellingANewRowsDialogRemovesItsBlock() {
    MainWindowFixture f;
    Scripted s(f);
    TfrmProg* main = f.prog();
    setRows(main, {row(kWait, kWait, 500)});

    // While dropped on a row: two rows in front of it; cancelling the chooser removes both.
    s.steps = {real<gui::TfrmCondition>([](gui::TfrmCondition& d) { d.btnCancelClick(); })};
    arm(f, "btnWhile");
    main->iconClick(0);
    QCOMPARE(kinds(main->program()), (std::vector<int>{kWait}));

    // If: chooser confirmed, the condition's own dialog cancelled: the whole block goes.
    s.steps = {chooseCondition(kTimer), cancel()};
    arm(f, "btnIf");
    main->layoutClick();
    QCOMPARE(kinds(main->program()), (std::vector<int>{kWait}));

    // A motor row counts as unconfirmed while its text is empty.
    s.steps = {real<gui::TfrmSpeed>([](gui::TfrmSpeed& d) { d.btnCancelClick(); })};
    arm(f, "btnMotor");
    main->layoutClick();
    QCOMPARE(main->program().size(), std::size_t{1});

    // Cancel on an existing row changes nothing.
    s.steps = {ok([](EditBuffer& b) { b.val0 = 9999; })};
    s.steps.front() = cancel();
    main->valueClick(0);
    QCOMPARE(main->program().rows()[0].val0, 500);
  }

  void aDialogThatCannotOpenRemovesTheNewRowAsCancelDoes() {
    MainWindowFixture f;  // the real prompts say "not available" and answer Unavailable
    f.prompts.edit = [](DialogKind, gui::StatementDialog*) { return EditOutcome::Unavailable; };
    TfrmProg* main = f.prog();
    setRows(main, {row(kWait, kWait, 20)});
    // A statement whose dialog is missing, the chooser missing, and the condition's dialog
    // missing after a chosen condition: none may leave a row nobody can edit.
    arm(f, "btnLed");
    main->layoutClick();
    arm(f, "btnIf");
    main->layoutClick();
    arm(f, "btnWhile");
    main->iconClick(0);
    QCOMPARE(kinds(main->program()), (std::vector<int>{kWait}));

    Scripted s(f);
    s.steps = {chooseCondition(kSensorTest),
               [](Context&, gui::StatementDialog*) { return EditOutcome::Unavailable; }};
    arm(f, "btnIf");
    main->layoutClick();
    QCOMPARE(kinds(main->program()), (std::vector<int>{kWait}));

    // A confirmed row whose dialog cannot open stays as it is.
    f.prompts.edit = [](DialogKind, gui::StatementDialog*) { return EditOutcome::Unavailable; };
    main->valueClick(0);
    QCOMPARE(kinds(main->program()), (std::vector<int>{kWait}));
    QCOMPARE(main->program().rows()[0].val0, 20);
  }

  void refusedPlacementsShowMessage122AndChangeNothing() {
    MainWindowFixture f;
    Scripted s(f);
    TfrmProg* main = f.prog();
    setRows(main, {row(kWait, kWait, 500), row(kWhile, kUnconditional), row(kWait, kWait), row(kEnd, kClosesWhile)});
    const auto before = main->program().rows();
    struct Case {
      const char* button;
      int row;  // -1: the empty area
    };
    const Case cases[] = {{"btnElse", -1}, {"btnElseIf", -1}, {"btnBreak", -1}, {"btnBreak", 0},
                          {"btnElseIf", 2}, {"btnElse", 1}};
    for (const Case& c : cases) {
      f.prompts.asked.clear();
      arm(f, c.button);
      if (c.row < 0) {
        main->layoutClick();
      } else {
        main->iconClick(c.row);
      }
      QCOMPARE(f.prompts.asked.size(), std::size_t{1});
      QCOMPARE(lastText(f), QString::fromStdString(f.ctx.messages(122)));
      QCOMPARE(f.prompts.asked.back().title, QString::fromStdString(f.ctx.messages(44)));
      QCOMPARE(main->program().rows(), before);
      QVERIFY(f.main->pnlButton()->armedKind() >= 0);  // a refusal keeps the statement armed
      f.main->disarm();
    }
    QVERIFY(s.opened.empty());
  }

  void armingReleasingAndTheClipboard() {
    MainWindowFixture f;
    TfrmProg* main = f.prog();
    setRows(main, {row(kWait, kWait, 500), row(kWait, kWait, 700)});
    gui::Palette* palette = f.main->pnlButton();

    arm(f, "btnWait");
    QCOMPARE(palette->armedKind(), int(kWait));
    arm(f, "btnTimer");  // another button takes over
    QCOMPARE(palette->armedKind(), int(kTimer));
    QVERIFY(!palette->button("btnWait")->isChecked());
    arm(f, "btnTimer");  // the armed button again releases it
    QCOMPARE(palette->armedKind(), -1);

    // Released: a click on a row opens its popup menu instead of inserting.
    main->iconClick(1);
    QVERIFY(main->pmEdit()->isVisible());
    QCOMPARE(main->popupRow(), 1);
    main->pmEdit()->hide();
    QCOMPARE(main->program().size(), std::size_t{2});

    // Arming while rows are copied empties the clipboard and unpresses them.
    main->copyRows(0);
    QVERIFY(main->rowPressed(0));
    arm(f, "btnWait");
    QVERIFY(f.ctx.clipboard.empty());
    QVERIFY(!main->rowPressed(0));

    // Escape releases the armed button.
    main->rowView()->setFocus();
    QTest::keyClick(main->rowView(), Qt::Key_Escape);
    QCOMPARE(palette->armedKind(), -1);
  }

  void paletteFollowsTheCurrentProgram() {
    MainWindowFixture f;
    f.ctx.io.advancedMode = true;
    f.main->refreshPalette();
    gui::Palette* palette = f.main->pnlButton();
    struct Case {
      int program;
      bool motor, subCall, ret, wait;
    };
    const Case cases[] = {{0, true, true, false, true}, {3, true, false, true, true}, {30, false, false, true, true}};
    for (const Case& c : cases) {
      f.main->openProgramWindow(c.program);
      QCOMPARE(f.ctx.programs.current, c.program);
      QCOMPARE(palette->button("btnMotor")->isEnabled(), c.motor);
      QCOMPARE(palette->button("btnSubProg")->isEnabled(), c.subCall);
      QCOMPARE(palette->button("btnReturn")->isEnabled(), c.ret);
      QCOMPARE(palette->button("btnWait")->isEnabled(), c.wait);
      QCOMPARE(f.main->panelText(1), c.program == 0 ? QStringLiteral("Main") : QStringLiteral("Sub-%1").arg(c.program));
    }
    // An armed motor statement cannot stay armed in the interrupt routine.
    f.main->openProgramWindow(0);
    arm(f, "btnMotor");
    f.main->openProgramWindow(30);
    QCOMPARE(palette->armedKind(), -1);

    // The third column follows advanced mode, the LCD button its flag.
    f.ctx.io.advancedMode = false;
    f.main->refreshPalette();
    QVERIFY(palette->button("btnCode")->isHidden());
    QCOMPARE(palette->width(), 136);
    QVERIFY(!palette->button("btnLcd")->isHidden());  // this variant has an LCD
  }

  void popupMenuEnabling() {
    MainWindowFixture f;
    TfrmProg* main = f.prog();
    setRows(main, {row(kIf, kUnconditional), row(kWait, kWait), row(kElse, 0), row(kEnd, kClosesIfChain),
                   row(kFor, kRepeatCount, 2), row(kEnd, kClosesFor)});
    struct Case {
      int row;
      bool change, cut, copy, paste, del;
    };
    const Case cases[] = {{0, true, true, true, false, true},   {1, false, true, true, false, true},
                          {2, false, false, false, false, true}, {3, false, false, false, false, false},
                          {4, false, true, true, false, true},   {6, false, false, false, false, false}};
    for (const Case& c : cases) {
      main->preparePopup(c.row);
      QCOMPARE(main->pmChangeCondition()->isEnabled(), c.change);
      QCOMPARE(main->pmCut()->isEnabled(), c.cut);
      QCOMPARE(main->pmCopy()->isEnabled(), c.copy);
      QCOMPARE(main->pmPaste()->isEnabled(), c.paste);
      QCOMPARE(main->pmDelete()->isEnabled(), c.del);
      QVERIFY(main->pmDiscard()->isEnabled());
      QVERIFY(main->pmCancel()->isEnabled());
    }
    QCOMPARE(main->pmCut()->text(), QString::fromStdString(f.ctx.messages(116)));

    // An End row's icon opens nothing while the clipboard is empty, the menu once it holds rows.
    main->iconClick(3);
    QVERIFY(!main->pmEdit()->isVisible());
    main->copyRows(1);
    main->iconClick(3);
    QVERIFY(main->pmEdit()->isVisible());
    QVERIFY(main->pmPaste()->isEnabled());
    main->pmEdit()->hide();

    // The empty area opens the menu for the position after the last row while rows are copied.
    main->layoutClick();
    QCOMPARE(main->popupRow(), 6);
    QVERIFY(main->pmEdit()->isVisible());
    main->pmEdit()->hide();
  }

  void cutAndPasteBetweenWindowsRecomputesLevels() {
    MainWindowFixture f;
    TfrmProg* main = f.prog();
    setRows(main, {row(kWait, kWait, 100), row(kIf, kUnconditional), row(kWhile, kUnconditional),
                   row(kWait, kWait, 200), row(kEnd, kClosesWhile), row(kElse, 0), row(kEnd, kClosesIfChain)});
    main->cutRows(1);
    QCOMPARE(kinds(main->program()), (std::vector<int>{kWait}));
    QCOMPARE(f.ctx.clipboard.size(), std::size_t{6});
    QVERIFY(main->cutMark());
    QVERIFY(main->program().modified);

    TfrmProg* sub = f.main->openProgramWindow(2);
    setRows(sub, {row(kFor, kRepeatCount, 2), row(kWait, kWait, 300), row(kEnd, kClosesFor)});
    QVERIFY(sub->pasteRows(1));  // inside the For, in front of its Wait
    QCOMPARE(kinds(sub->program()),
             (std::vector<int>{kFor, kIf, kWhile, kWait, kEnd, kElse, kEnd, kWait, kEnd}));
    QCOMPARE(levels(sub->program()), (std::vector<int>{0, 1, 2, 3, 2, 1, 1, 1, 0}));
    QCOMPARE(sub->program().rows()[3].val0, 200);
    QVERIFY(!main->cutMark());  // a paste clears the marks of every window
    QCOMPARE(f.ctx.clipboard.size(), std::size_t{6});  // and keeps the rows for another paste

    // Pasted again at the end of Main.
    main->layoutClick();
    main->pmPasteClick();
    QCOMPARE(main->program().size(), std::size_t{7});
    QCOMPARE(main->program().rows()[1].level, 0);
  }

  void copiesCollectUntilPastedAndSubCallsIntoTheirOwnSubBecomeCCode() {
    MainWindowFixture f;
    TfrmProg* main = f.prog();
    setRows(main, {row(kWait, kWait, 1), row(kSubCall, kSubCall, 3, 0, 0, "Grab"), row(kWait, kWait, 3),
                   row(kWait, kWait, 4), row(kWait, kWait, 5)});
    main->copyRows(1);
    main->copyRows(4);
    QCOMPARE(f.ctx.clipboard.size(), std::size_t{2});
    QVERIFY(main->rowPressed(1) && main->rowPressed(4) && !main->rowPressed(2));
    main->cancelCopy();
    QVERIFY(!main->rowPressed(1));
    QCOMPARE(f.ctx.clipboard.size(), std::size_t{2});  // Cancel keeps the clipboard

    TfrmProg* sub = f.main->openProgramWindow(3);
    QVERIFY(sub->pasteRows(0));
    QCOMPARE(kinds(sub->program()), (std::vector<int>{kCCode, kWait}));
    QCOMPARE(sub->program().rows()[0].cmt, std::string("// Grab"));
    QCOMPARE(sub->program().rows()[1].val0, 5);
    QCOMPARE(sub->rowText(0), QStringLiteral("// Grab"));

    // A copy in another window starts a new clipboard.
    sub->copyRows(1);
    QCOMPARE(f.ctx.clipboard.size(), std::size_t{1});
    sub->discardClipboard();
    QVERIFY(f.ctx.clipboard.empty());
    QVERIFY(!sub->rowPressed(1));
  }

  void pasteWhereItIsNotAllowedShowsMessage124() {
    MainWindowFixture f;
    TfrmProg* main = f.prog();
    setRows(main, {row(kWhile, kUnconditional), row(kBreak, 0), row(kEnd, kClosesWhile), row(kWait, kWait)});
    main->copyRows(1);
    const auto before = main->program().rows();
    f.prompts.asked.clear();
    QVERIFY(!main->pasteRows(4));  // after the last row
    QVERIFY(!main->pasteRows(3));  // in front of a row outside the loop
    QCOMPARE(f.prompts.asked.size(), std::size_t{2});
    QCOMPARE(lastText(f), QString::fromStdString(f.ctx.messages(124)));
    QCOMPARE(main->program().rows(), before);
    QVERIFY(main->pasteRows(2));  // in front of the loop's End
    QCOMPARE(kinds(main->program()), (std::vector<int>{kWhile, kBreak, kBreak, kEnd, kWait}));
  }

  void deleteAsksAndAnythingButYesKeepsTheRows() {
    MainWindowFixture f;
    TfrmProg* main = f.prog();
    setRows(main, {row(kWhile, kUnconditional), row(kWait, kWait), row(kEnd, kClosesWhile), row(kWait, kWait, 9)});
    const auto before = main->program().rows();

    f.prompts.answers = {Answer::No};
    main->deleteRows(0);
    QCOMPARE(main->program().rows(), before);
    QVERIFY(!main->rowPressed(0) && !main->rowPressed(2));
    QCOMPARE(lastText(f), QString::fromStdString(f.ctx.messages(123)));
    QCOMPARE(f.prompts.asked.back().title, QString::fromStdString(f.ctx.messages(45)));
    QVERIFY(!main->program().modified);

    f.prompts.answers = {Answer::Yes};
    main->deleteRows(0);
    QCOMPARE(kinds(main->program()), (std::vector<int>{kWait}));
    QVERIFY(main->program().modified);

    // Without the delete question the row goes at once.
    f.main->action("mmDelQuery")->trigger();
    f.prompts.asked.clear();
    main->deleteRows(0);
    QVERIFY(main->program().rows().empty());
    QVERIFY(f.prompts.asked.empty());
  }

  void removingASubCallClosesTheSubWindow() {
    MainWindowFixture f;
    TfrmProg* main = f.prog();
    setRows(main, {row(kSubCall, kSubCall, 4, 0, 0, "Grab"), row(kWait, kWait)});
    f.main->openProgramWindow(4);
    QVERIFY(f.main->prog(4));
    main->cutRows(0);
    QVERIFY(!f.main->prog(4));
    QCOMPARE(f.main->windowMenuItems(), QStringList{"Main"});
  }

  void keyboardMovesTheSelectionAndRunsTheCommands() {
    MainWindowFixture f;
    Scripted s(f);
    TfrmProg* main = f.prog();
    setRows(main, {row(kWait, kWait, 100), row(kWait, kWait, 200), row(kWait, kWait, 300)});
    gui::RowView* view = main->rowView();
    view->setFocus();
    QTest::keyClick(view, Qt::Key_Down);
    QTest::keyClick(view, Qt::Key_Down);
    QCOMPARE(view->selected(), 2);
    QCOMPARE(main->panelText(0), QStringLiteral("P:3/3"));
    QTest::keyClick(view, Qt::Key_Up);
    QCOMPARE(view->selected(), 1);

    // Enter edits the selected row.
    s.steps = {ok([](EditBuffer& b) { b.val0 = 250; })};
    QTest::keyClick(view, Qt::Key_Return);
    QCOMPARE(main->program().rows()[1].val0, 250);

    // Ctrl+C, End, Ctrl+V: the copy goes after the last row.
    QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(view, Qt::Key_End);
    QCOMPARE(view->selected(), 3);
    QTest::keyClick(view, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(main->program().size(), std::size_t{4});
    QCOMPARE(main->program().rows()[3].val0, 250);

    // Ctrl+X on the first row, Delete on the new first row (answered Yes).
    QTest::keyClick(view, Qt::Key_Home);
    QTest::keyClick(view, Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(main->program().size(), std::size_t{3});
    QCOMPARE(f.ctx.clipboard.front().val0, 100);
    f.prompts.answers = {Answer::Yes};
    QTest::keyClick(view, Qt::Key_Delete);
    QCOMPARE(main->program().size(), std::size_t{2});

    // With a statement armed Enter drops it in front of the selected row.
    s.steps = {ok()};
    arm(f, "btnTimer");
    QTest::keyClick(view, Qt::Key_Return);
    QCOMPARE(main->program().rows()[0].sno, int(kTimer));
  }

  void mouseClicksHitTheButtonsWhereTheyArePainted() {
    MainWindowFixture f;
    Scripted s(f);
    TfrmProg* main = f.prog();
    setRows(main, {row(kWhile, kUnconditional), row(kWait, kWait, 100), row(kEnd, kClosesWhile)});
    gui::RowView* view = main->rowView();
    // Row 1 is one level in: icon at 64, value button from 144, both from y 38.
    QCOMPARE(view->iconRect(1), QRect(64, 38, 80, 30));
    QCOMPARE(view->valueRect(1).topLeft(), QPoint(144, 38));
    QCOMPARE(view->valueRect(1).width(), 240);
    QVERIFY(view->valueRect(2).isNull());  // End rows have no value button

    s.steps = {ok([](EditBuffer& b) { b.val0 = 800; })};
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, QPoint(200, 50));
    QCOMPARE(main->program().rows()[1].val0, 800);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, QPoint(100, 50));
    QVERIFY(main->pmEdit()->isVisible());
    QCOMPARE(main->popupRow(), 1);
    main->pmEdit()->hide();

    // A press on one button and a release on another is no click.
    QTest::mousePress(view->viewport(), Qt::LeftButton, {}, QPoint(100, 50));
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, QPoint(200, 50));
    QCOMPARE(s.opened.size(), std::size_t{1});
  }

  void scrollingMovesTheLayoutInRowAndColumnSteps() {
    MainWindowFixture f;
    TfrmProg* main = f.prog();
    gui::RowView* view = main->rowView();
    QCOMPARE(view->verticalScrollBar()->maximum(), 990);
    QCOMPARE(view->horizontalScrollBar()->maximum(), 50);
    view->setVerticalPosition(3);
    view->setHorizontalPosition(2);
    QCOMPARE(view->layoutOffset(), QPoint(-160, -90));
    // Row 3 is now at the top of the view.
    QCOMPARE(view->iconRect(3).translated(view->layoutOffset()).topLeft(), QPoint(24 - 160, 8));

    QWheelEvent down(QPointF(50, 50), view->viewport()->mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(0, -120),
                     Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view->viewport(), &down);
    QCOMPARE(view->verticalPosition(), 4);
    QWheelEvent up(QPointF(50, 50), view->viewport()->mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(0, 240),
                   Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view->viewport(), &up);
    QCOMPARE(view->verticalPosition(), 2);
    QWheelEvent side(QPointF(50, 50), view->viewport()->mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(0, -120),
                     Qt::NoButton, Qt::ShiftModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view->viewport(), &side);
    QCOMPARE(view->horizontalPosition(), 3);

    // A long comment widens the value button in 40-pixel cells.
    setRows(main, {row(kWait, kWait, 100, 0, 0, std::string(80, 'x'))});
    QCOMPARE((view->valueRect(0).width() - 240) % 40, 0);
    QVERIFY(view->valueRect(0).width() > 240);
  }

  void theGridAndTheMarksArePainted() {
    MainWindowFixture f;
    TfrmProg* main = f.prog();
    setRows(main, {row(kWait, kWait, 100), row(kWait, kWait, 200)});
    gui::RowView* view = main->rowView();
    f.main->action("mmGrid")->trigger();
    QVERIFY(f.main->gridOn());
    main->copyRows(1);
    const QImage shot = view->viewport()->grab().toImage();
    // Grid cells are pale green, their dotted lines white, at x = 24 + 40k.
    QCOMPARE(shot.pixelColor(shot.width() - 30, shot.height() - 5).rgb() & 0xFFFFFF, 0xC0DCC0u);
    bool whiteDot = false;
    for (int y = shot.height() - 40; y < shot.height() - 2; ++y) whiteDot = whiteDot || shot.pixelColor(464, y) == Qt::white;
    QVERIFY(whiteDot);
    QVERIFY(main->rowPressed(1));
  }

  void statementDialogsOpenBelowTheRowAndOnTheScreen() {
    MainWindowFixture f;
    Scripted s(f);
    TfrmProg* main = f.prog();
    setRows(main, {row(kWait, kWait, 100)});
    s.steps = {cancel()};
    main->valueClick(0);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QPoint first = f.prompts.dialogPositions.back();
    QPoint expected = f.main->frameGeometry().topLeft() + f.main->subWindow(0)->pos() +
                      QPoint(24 + 92 + f.main->pnlButton()->width(), 8 + 150);
    // A dialog wider than the room right of the row is moved left to end at the desktop's edge.
    const QSize dialogSize = f.main->dialogs().forSubjectKind(kWait)->sizeHint();
    expected.setX(std::min(expected.x(), screen.x() + screen.width() - dialogSize.width()));
    QCOMPARE(first, expected);

    // A row far down the screen: the dialog is moved up to stay on it.
    for (int i = 0; i < 60; ++i) main->program().appendRow(row(kWait, kWait, 100));
    main->rowsChanged();
    s.steps = {cancel()};
    main->valueClick(50);
    const QPoint low = f.prompts.dialogPositions.back();
    QVERIFY(low.y() + dialogSize.height() + 40 <= screen.height());
    QVERIFY(low.y() >= 0);
  }

  void theConditionChooserNearTheBottomStaysOnTheScreen() {
    // The chooser shows a button per condition the setup offers, so its height changes from
    // one opening to the next: the placement must use the height of this opening.
    MainWindowFixture f;
    TfrmProg* main = f.prog();
    for (int i = 0; i < 60; ++i) main->program().appendRow(row(kWait, kWait, 100));
    main->rowsChanged();
    int shownHeight = 0;
    f.prompts.edit = [&](DialogKind kind, gui::StatementDialog* dialog) {
      if (kind == DialogKind::Condition && dialog) {
        dialog->FormShow();
        dialog->fitToContents();
        shownHeight = dialog->height();
      }
      return EditOutcome::Cancel;
    };
    arm(f, "btnWhile");
    main->iconClick(55);
    const int fewConditions = shownHeight;

    f.ctx.io.useUss = f.ctx.io.usePixy = f.ctx.io.useSnx4410 = f.ctx.io.useDir = true;
    f.ctx.io.outputInUse = f.ctx.io.advancedMode = true;
    arm(f, "btnWhile");
    main->iconClick(55);
    QVERIFY2(shownHeight > fewConditions + 40, qPrintable(QStringLiteral("%1, %2").arg(fewConditions).arg(shownHeight)));
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QPoint at = f.prompts.dialogPositions.back();
    QVERIFY2(at.y() + shownHeight + 40 <= screen.height(),
             qPrintable(QStringLiteral("%1 + %2 > %3").arg(at.y()).arg(shownHeight).arg(screen.height())));
  }

  void removingASubCallAsksForItsModifiedSubFirst() {
    MainWindowFixture f;
    TfrmProg* main = f.prog();
    setRows(main, {row(kSubCall, kSubCall, 2, 0, 0, "Grab"), row(kWait, kWait)});
    TfrmProg* sub = f.main->openProgramWindow(2);
    setRows(sub, {row(kWait, kWait, 200)});
    sub->setModified(true);
    f.main->openProgramWindow(0);

    // Cut and Delete: Cancel at the Sub's question keeps the row and the window.
    f.prompts.answers = {Answer::Cancel};
    main->cutRows(0);
    QVERIFY(!f.prompts.asked.empty());
    QVERIFY(f.prompts.asked.back().text.startsWith(QStringLiteral("Sub-2 [ ")));
    QCOMPARE(kinds(main->program()), (std::vector<int>{kSubCall, kWait}));
    QVERIFY(f.ctx.clipboard.empty());
    QVERIFY(f.main->prog(2));
    f.prompts.answers = {Answer::Yes, Answer::Cancel};  // delete: yes; the Sub: cancel
    main->deleteRows(0);
    QCOMPARE(kinds(main->program()), (std::vector<int>{kSubCall, kWait}));
    QVERIFY(!main->rowPressed(0));
    QVERIFY(f.main->prog(2));

    // No drops the Sub's rows with its window.
    f.prompts.answers = {Answer::Yes, Answer::No};
    main->deleteRows(0);
    QCOMPARE(kinds(main->program()), (std::vector<int>{kWait}));
    QVERIFY(!f.main->prog(2));
  }

  void aCancelledInsertionLeavesTheCodeViewAsItWas() {
    MainWindowFixture f;
    Scripted s(f);
    TfrmProg* main = f.prog();
    setRows(main, {row(kWait, kWait, 500)});
    f.main->action("mmCodeView")->trigger();
    const QString before = main->memoView()->toPlainText();
    s.steps = {cancel()};
    arm(f, "btnMotor");
    main->layoutClick();
    QCOMPARE(kinds(main->program()), (std::vector<int>{kWait}));
    QCOMPARE(main->memoView()->toPlainText(), before);
  }

  void closingAModifiedSubWindowAsksFirst() {
    MainWindowFixture f;
    TfrmProg* sub = f.main->openProgramWindow(2);
    setRows(sub, {row(kWait, kWait, 100)});
    sub->setModified(true);

    f.prompts.answers = {Answer::Cancel};
    f.main->subWindow(2)->close();
    QVERIFY(f.main->prog(2));  // Cancel keeps the window and its rows
    QCOMPARE(sub->program().size(), std::size_t{1});
    QVERIFY(f.prompts.asked.back().text.contains(QStringLiteral("Sub-2 [ ")));
    QCOMPARE(f.prompts.asked.back().buttons, PromptButtons::YesNoCancel);

    // Yes saves, then the window closes.
    const QString path = QString::fromStdString(f.user + "Grab.Kvl");
    f.prompts.answers = {Answer::Yes};
    f.prompts.saveNames = {path};
    f.main->subWindow(2)->close();
    QVERIFY(!f.main->prog(2));
    QVERIFY(QFile::exists(path));

    // No closes without saving; Main only minimises.
    sub = f.main->openProgramWindow(5);
    setRows(sub, {row(kWait, kWait, 100)});
    sub->setModified(true);
    f.prompts.answers = {Answer::No};
    f.main->subWindow(5)->close();
    QVERIFY(!f.main->prog(5));
    f.main->subWindow(0)->close();
    QVERIFY(f.main->prog(0));
    QVERIFY(f.main->subWindow(0)->isMinimized());
  }
};

QTEST_MAIN(ProgramWindowTest)
#include "program_window_test.moc"
