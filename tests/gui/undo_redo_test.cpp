#include <QtTest>

#include <QAction>
#include <QCheckBox>
#include <QMenu>
#include <QToolButton>

#include <deque>
#include <functional>

#include "MainWindowFixture.h"
#include "Statements.h"
#include "gui/dialogs/DialogSet.h"
#include "gui/dialogs/TfrmCondition.h"
#include "gui/dialogs/TfrmSubProg.h"
#include "gui/editor/CodeEditor.h"
#include "gui/editor/Palette.h"
#include "gui/editor/RowView.h"
#include "core/model/StatementKind.h"

using namespace kavel;
using namespace kavel::testing;
using gui::TfrmProg;

namespace {

using Rows = std::vector<Statement>;

// What each dialog that opens next does; with none left it is cancelled.
struct Scripted {
  explicit Scripted(MainWindowFixture& f) : f(f) {
    f.prompts.edit = [this](DialogKind kind, gui::StatementDialog* dialog) {
      if (steps.empty()) return EditOutcome::Cancel;
      auto step = steps.front();
      steps.pop_front();
      return step(kind, dialog);
    };
  }
  MainWindowFixture& f;
  std::deque<std::function<EditOutcome(DialogKind, gui::StatementDialog*)>> steps;
};

// A dialog confirmed with the edit buffer filled as `fill` says.
auto ok(Context& ctx, std::function<void(EditBuffer&)> fill = {}) {
  return [&ctx, fill](DialogKind, gui::StatementDialog*) {
    if (fill) fill(ctx.edit);
    return EditOutcome::Ok;
  };
}

// The real condition chooser, choosing `kind`.
auto choose(int kind) {
  return [kind](DialogKind, gui::StatementDialog* d) {
    auto* chooser = qobject_cast<gui::TfrmCondition*>(d);
    if (!chooser) return EditOutcome::Unavailable;
    chooser->FormShow();
    chooser->btnConditionClick(kind);
    return chooser->result() == QDialog::Accepted ? EditOutcome::Ok : EditOutcome::Cancel;
  };
}

// The real sub-program dialog, worked by `work` and closed by its own OK.
auto subProg(std::function<void(gui::TfrmSubProg&)> work) {
  return [work](DialogKind, gui::StatementDialog* d) {
    auto* dialog = qobject_cast<gui::TfrmSubProg*>(d);
    if (!dialog) return EditOutcome::Unavailable;
    dialog->FormShow();
    work(*dialog);
    return dialog->result() == QDialog::Accepted ? EditOutcome::Ok : EditOutcome::Cancel;
  };
}

void setRows(TfrmProg* prog, std::initializer_list<Statement> rows) {
  prog->clearRows();
  for (const Statement& s : rows) prog->program().appendRow(s);
  prog->rowsChanged();
}

void insert(MainWindowFixture& f, const char* button, int beforeRow = -1) {
  f.main->pnlButton()->click(QString::fromLatin1(button));
  if (beforeRow < 0) {
    f.main->prog(f.ctx.programs.current)->layoutClick();
  } else {
    f.main->prog(f.ctx.programs.current)->iconClick(beforeRow);
  }
}

QString undoText(MainWindowFixture& f) { return f.main->action("mmUndo")->text(); }
QString redoText(MainWindowFixture& f) { return f.main->action("mmRedo")->text(); }

}  // namespace

class UndoRedoTest : public QObject {
  Q_OBJECT

 private slots:
  void everyKindOfEditIsAStepUndoneAndRedoneThroughTheEditMenu() {
    MainWindowFixture f;
    Scripted s(f);
    TfrmProg* main = f.prog();
    QVERIFY(!f.main->action("mmUndo")->isEnabled());
    QVERIFY(!f.main->action("mmRedo")->isEnabled());
    QCOMPARE(undoText(f), QStringLiteral("&Undo"));

    // Each edit as the user makes it, with the name its step gets.
    struct Edit {
      QString name;
      std::function<void()> run;
    };
    const std::vector<Edit> edits = {
        {"Insert Wait", [&] { s.steps = {ok(f.ctx, [](EditBuffer& b) { b.val0 = 700; })}; insert(f, "btnWait"); }},
        {"Insert If (condition)", [&] {
           s.steps = {choose(kTimer), ok(f.ctx, [](EditBuffer& b) { b.val0 = 2000; })};
           insert(f, "btnIf");
         }},
        {"Insert Wait", [&] { s.steps = {ok(f.ctx)}; insert(f, "btnWait", 3); }},  // into the Else branch
        {"Edit Row 1", [&] { s.steps = {ok(f.ctx, [](EditBuffer& b) { b.val0 = 900; })}; main->valueClick(0); }},
        {"Change Condition", [&] {
           s.steps = {choose(kSensorTest), ok(f.ctx, [](EditBuffer& b) { b.val0 = 40; })};
           main->changeCondition(1);
         }},
        {"Delete Row 3", [&] { f.prompts.answers = {Answer::Yes}; main->deleteRows(2); }},  // the Else alone
        {"Cut", [&] { main->cutRows(1); }},
        {"Paste", [&] { main->pasteRows(0); }},
        {"Paste", [&] { main->pasteRows(main->rowCount()); }},
    };
    std::vector<Rows> states{main->program().rows()};
    for (const Edit& e : edits) {
      e.run();
      QVERIFY2(main->program().rows() != states.back(), qPrintable(e.name));
      states.push_back(main->program().rows());
      QCOMPARE(undoText(f), QStringLiteral("&Undo ") + e.name);
    }
    QVERIFY(main->program().modified);

    for (std::size_t i = edits.size(); i-- > 0;) {
      QCOMPARE(undoText(f), QStringLiteral("&Undo ") + edits[i].name);
      f.main->action("mmUndo")->trigger();
      QCOMPARE(main->program().rows(), states[i]);
      QCOMPARE(redoText(f), QStringLiteral("&Redo ") + edits[i].name);
    }
    QVERIFY(!f.main->action("mmUndo")->isEnabled());
    QVERIFY(!main->program().modified);  // back at the new, empty program
    QCOMPARE(main->panelText(1), QString());

    for (std::size_t i = 0; i < edits.size(); ++i) {
      f.main->action("mmRedo")->trigger();
      QCOMPARE(main->program().rows(), states[i + 1]);
    }
    QVERIFY(!f.main->action("mmRedo")->isEnabled());
    QCOMPARE(main->panelText(1), QStringLiteral("Modified"));
    QCOMPARE(main->rowText(0), main->rowText(main->rowCount() - 3));  // both pastes of the cut If
  }

  void theModifiedMarkFollowsTheSavedState() {
    MainWindowFixture f;
    Scripted s(f);
    TfrmProg* main = f.prog();
    setRows(main, {row(kWait, kWait, 100), row(kWait, kWait, 200)});
    QVERIFY(f.main->saveProgramAs(QString::fromStdString(f.user + "Robot.Kvl")));
    const auto edit = [&](int value) {
      s.steps = {ok(f.ctx, [value](EditBuffer& b) { b.val0 = value; })};
      main->valueClick(0);
    };
    const auto saved = [&] {
      return !main->program().modified && main->panelText(1) == QStringLiteral("Saved") &&
             !f.main->toolButton("btnSave")->isEnabled();
    };
    QVERIFY(saved());

    edit(300);
    QVERIFY(main->program().modified);
    QVERIFY(f.main->toolButton("btnSave")->isEnabled());
    f.main->mmUndoClick();
    QVERIFY(saved());
    f.main->mmRedoClick();
    QVERIFY(!saved());

    // Saved with 300: undoing leaves the saved state, redoing comes back to it.
    QVERIFY(f.main->saveProgramAs(QString::fromStdString(f.user + "Robot.Kvl")));
    f.main->mmUndoClick();
    QVERIFY(!saved());
    f.main->mmRedoClick();
    QVERIFY(saved());

    // A new edit after undoing past the save: no step leads back to the saved rows.
    f.main->mmUndoClick();
    edit(400);
    f.main->mmUndoClick();
    QVERIFY(!saved());
    QCOMPARE(main->program().rows()[0].val0, 100);

    // A dialog confirmed without a change, or an insertion cancelled, is no step.
    QVERIFY(f.main->saveProgramAs(QString::fromStdString(f.user + "Robot.Kvl")));
    edit(100);
    s.steps.clear();
    insert(f, "btnTimer");
    QVERIFY(saved());
    QVERIFY(!f.main->action("mmUndo")->isEnabled());
    QCOMPARE(redoText(f), QStringLiteral("&Redo Edit Row 1"));  // neither dropped the step ahead

    // A change besides the rows (the I/O setup) is not taken back by undo.
    edit(500);
    main->setModified(true);
    f.main->mmUndoClick();
    QVERIFY(main->program().modified);
  }

  void rowsChangedPastTheHistoryAreNeverUndone() {
    // The build reads Main again from its file straight into the program set; an edit after it
    // must not take that back with it.
    MainWindowFixture f;
    Scripted s(f);
    TfrmProg* main = f.prog();
    setRows(main, {row(kWait, kWait, 1), row(kWait, kWait, 2)});
    s.steps = {ok(f.ctx, [](EditBuffer& b) { b.val0 = 3; })};
    main->valueClick(0);
    main->program().rows()[0].val0 = 5;
    s.steps = {ok(f.ctx, [](EditBuffer& b) { b.val0 = 9; })};
    main->valueClick(1);
    f.main->mmUndoClick();
    QCOMPARE(main->program().rows()[0].val0, 5);
    QCOMPARE(main->program().rows()[1].val0, 2);
    QVERIFY(!f.main->action("mmUndo")->isEnabled());
  }

  void theShortcutsReachTheCurrentWindow() {
    MainWindowFixture f;
    TfrmProg* main = f.prog();
    setRows(main, {row(kWait, kWait, 1), row(kWait, kWait, 2), row(kWait, kWait, 3)});
    f.main->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f.main.get()));
    gui::RowView* view = main->rowView();
    view->setFocus();
    f.main->action("mmDelQuery")->trigger();  // no question
    main->deleteRows(1);
    const Rows after = main->program().rows();
    struct Key {
      Qt::KeyboardModifiers modifiers;
      Qt::Key key;
      std::size_t rows;
    } keys[] = {
        {Qt::ControlModifier, Qt::Key_Z, 3},
        {Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_Z, 2},
        {Qt::ControlModifier, Qt::Key_Z, 3},
        {Qt::ControlModifier, Qt::Key_Y, 2},
    };
    for (const Key& k : keys) {
      QTest::keyClick(view, k.key, k.modifiers);
      QCOMPARE(main->program().size(), k.rows);
    }
    QCOMPARE(main->program().rows(), after);
  }

  void theNamesFollowTheLanguageInTheMenuAndThePopup() {
    MainWindowFixture f;
    TfrmProg* main = f.prog();
    setRows(main, {row(kWait, kWait, 1), row(kWait, kWait, 2)});
    f.main->action("mmDelQuery")->trigger();
    main->deleteRows(1);
    main->preparePopup(0);
    QCOMPARE(main->pmUndo()->text(), QStringLiteral("&Undo Delete Row 2"));
    QVERIFY(main->pmUndo()->isEnabled());
    QVERIFY(!main->pmRedo()->isEnabled());

    f.main->mmJpnClick();
    QCOMPARE(f.main->action("mnuEditItem")->text(), QStringLiteral("編集 (&E)"));
    QCOMPARE(undoText(f), QStringLiteral("元に戻す 2 行目の削除 (&U)"));
    QCOMPARE(redoText(f), QStringLiteral("やり直し (&R)"));
    main->pmUndo()->trigger();
    QCOMPARE(main->program().size(), std::size_t{2});
    main->preparePopup(0);
    QCOMPARE(main->pmRedo()->text(), QStringLiteral("やり直し 2 行目の削除 (&R)"));
    QVERIFY(main->pmRedo()->isEnabled());
  }

  void undoClosesTheSubWindowsItsStepOpened() {
    MainWindowFixture f;
    Scripted s(f);
    TfrmProg* main = f.prog();
    s.steps = {subProg([](gui::TfrmSubProg& d) { d.btnOkClick(); })};
    insert(f, "btnSubProg");
    QVERIFY(f.prog(1));
    f.main->openProgramWindow(0);
    QCOMPARE(undoText(f), QStringLiteral("&Undo Insert Sub Program Call"));

    f.main->mmUndoClick();
    QVERIFY(main->program().rows().empty());
    QVERIFY(!f.prog(1));
    QCOMPARE(f.main->windowMenuItems(), QStringList{"Main"});
    f.main->mmRedoClick();
    QCOMPARE(main->program().size(), std::size_t{1});
    QVERIFY(!f.prog(1));  // a call without its window is what Open leaves too

    // A Sub window with unsaved rows is offered for saving; Cancel keeps the step in place.
    TfrmProg* sub = f.main->openProgramWindow(1);
    setRows(sub, {row(kWait, kWait, 5)});
    sub->setModified(true);
    f.main->openProgramWindow(0);
    f.prompts.answers = {Answer::Cancel};
    f.main->mmUndoClick();
    QCOMPARE(main->program().size(), std::size_t{1});
    QVERIFY(f.prog(1));
    f.prompts.answers = {Answer::No};
    f.main->mmUndoClick();
    QVERIFY(main->program().rows().empty());
    QVERIFY(!f.prog(1));
    QCOMPARE(f.ctx.programs.current, 0);
  }

  void theInterruptRoutineFollowsUndoAndRedo() {
    MainWindowFixture f;
    Scripted s(f);
    TfrmProg* main = f.prog();
    setRows(main, {row(kSubCall, kSubCall, 2, 0, 0, "Tick")});
    s.steps = {subProg([](gui::TfrmSubProg& d) {
      d.lblCmtDblClick();
      d.ckIntr->setChecked(true);
      d.ckEdit->setChecked(false);
      d.btnOkClick();
    })};
    main->valueClick(0);
    QCOMPARE(main->program().rows()[0].val0, 30);
    QVERIFY(f.ctx.io.interruptInUse);
    f.main->mmUndoClick();
    QCOMPARE(main->program().rows()[0].val0, 2);
    QVERIFY(!f.ctx.io.interruptInUse);
    f.main->mmRedoClick();
    QVERIFY(f.ctx.io.interruptInUse);
  }

  void savingASubRenamesMainsCallsInAStepOfItsOwn() {
    MainWindowFixture f;
    TfrmProg* main = f.prog();
    setRows(main, {row(kSubCall, kSubCall, 4, 0, 0, "Old"), row(kWait, kWait)});
    main->setModified(false);
    TfrmProg* sub = f.main->openProgramWindow(4);
    setRows(sub, {row(kWait, kWait, 300)});
    QVERIFY(f.main->saveProgramAs(QString::fromStdString(f.user + "Grab.Kvl")));
    f.main->openProgramWindow(0);
    QCOMPARE(undoText(f), QStringLiteral("&Undo Sub Program File Names"));
    f.main->mmUndoClick();
    QCOMPARE(main->program().rows()[0].cmt, std::string("Old"));
    QVERIFY(!main->program().modified);
    QVERIFY(!f.prog(4));  // the window held Grab, which Main no longer calls
  }

  void theCCodeStyleUsesTheEditorsOwnUndo() {
    MainWindowFixture f;
    f.main->mmCodeClick();
    TfrmProg* main = f.prog();
    const auto skeleton = main->codeLines();
    QVERIFY(!f.main->action("mmUndo")->isEnabled());
    gui::CodeEditor* editor = main->memoCode();
    editor->moveCursor(QTextCursor::End);
    editor->insertPlainText(QStringLiteral("x = 1;"));
    QVERIFY(main->program().modified);
    QVERIFY(f.main->action("mmUndo")->isEnabled());
    QCOMPARE(undoText(f), QStringLiteral("&Undo"));
    f.main->mmUndoClick();
    QCOMPARE(main->codeLines(), skeleton);
    QVERIFY(!main->program().modified);
    QCOMPARE(main->panelText(1), QStringLiteral("Saved"));
    QVERIFY(f.main->action("mmRedo")->isEnabled());
    f.main->mmRedoClick();
    QVERIFY(main->program().modified);
    QVERIFY(main->memoCode()->toPlainText().endsWith(QStringLiteral("x = 1;")));
  }
};

QTEST_MAIN(UndoRedoTest)
#include "undo_redo_test.moc"
