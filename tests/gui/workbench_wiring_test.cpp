#include <QtTest>

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QTableWidget>
#include <QToolButton>

#include <deque>
#include <functional>

#include "MainWindowFixture.h"
#include "Statements.h"
#include "core/model/StatementKind.h"
#include "core/setup/SetupBoxes.h"
#include "gui/app/Workbench.h"
#include "gui/build/TfrmCode.h"
#include "gui/dialogs/DialogSet.h"
#include "gui/dialogs/TfrmSubProg.h"
#include "gui/editor/CodeEditor.h"
#include "gui/editor/Palette.h"
#include "gui/setup/TfrmSetup.h"

using namespace kavel;
using namespace kavel::testing;
using gui::TfrmProg;
using gui::TfrmSubProg;

namespace {

// The sub-program dialog as the user works it: shown, `work` done, closed by its own OK.
void scriptSubProg(MainWindowFixture& f, std::function<void(TfrmSubProg&)> work) {
  f.prompts.edit = [work](DialogKind kind, gui::StatementDialog* d) {
    auto* dialog = qobject_cast<TfrmSubProg*>(d);
    if (kind != DialogKind::SubProg || !dialog) return EditOutcome::Unavailable;
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

// Inserts a SubCall at the end of Main from the palette.
void insertCall(MainWindowFixture& f) {
  f.main->pnlButton()->click(QStringLiteral("btnSubProg"));
  f.prog(0)->layoutClick();
}

const std::string kSubFile =
    "Title:Sub-1 [ Grab ] MORVANE Kavel for Wrenlet CORE  [ Ver.20190706 ]\r\n"
    "[0000]:sno:29,cno:29,val:001500-000000-000000,cmt:wait\r\n"
    "[0001]:sno:21,cno:21,val:000050-000050-000000,cmt:\r\n";

}  // namespace

// The statement dialogs, the I/O setup window and the library browser as the main window and
// the program windows use them.
class WorkbenchWiringTest : public QObject {
  Q_OBJECT

 private slots:
  void aNewCallFromThePaletteOpensSubOne() {
    MainWindowFixture f;
    scriptSubProg(f, [](TfrmSubProg& d) {
      QVERIFY(d.ckEdit->isChecked());  // a new call opens its Sub
      d.btnOkClick();
    });
    insertCall(f);
    const auto& rows = f.ctx.programs.main().rows();
    QCOMPARE(rows.size(), std::size_t{1});
    QCOMPARE(rows[0].cno, kSubCall);
    QCOMPARE(rows[0].val0, 1);
    QCOMPARE(rows[0].cmt, std::string());
    QVERIFY(f.prog(1));
    QCOMPARE(f.ctx.programs.current, 1);
    QVERIFY(f.ctx.programs.main().modified);

    // A second new call gets the next number.
    f.main->openProgramWindow(0);
    insertCall(f);
    QCOMPARE(f.ctx.programs.main().rows()[1].val0, 2);
    QVERIFY(f.prog(2));
  }

  void pickingAnExistingSubFileReadsIt() {
    MainWindowFixture f;
    const std::string grab = f.write("Grab.Kvl", kSubFile);
    f.prompts.openNames = {QString::fromStdString(grab)};
    scriptSubProg(f, [](TfrmSubProg& d) {
      d.btnProgClick();
      d.btnOkClick();
    });
    insertCall(f);
    const Statement& call = f.ctx.programs.main().rows().at(0);
    QCOMPARE(call.val0, 1);
    QCOMPARE(call.cmt, std::string("Grab"));
    QVERIFY(f.prog(1));
    QCOMPARE(f.ctx.programs[1].size(), std::size_t{2});
    QCOMPARE(f.ctx.programs[1].rows()[0].val0, 1500);

    // A second call of the same file shares its number.
    f.main->openProgramWindow(0);
    f.prompts.openNames = {QString::fromStdString(grab)};
    insertCall(f);
    QCOMPARE(f.ctx.programs.main().rows().at(1).val0, 1);
  }

  void aFailedReadLeavesMainUntouched() {
    MainWindowFixture f;
    TfrmProg* main = f.prog(0);
    setRows(main, {row(kWait, kWait, 100), row(kWait, kWait, 200)});
    main->program().path = f.user + "Main.Kvl";
    const std::array<std::string, 10> names = f.ctx.io.cnName;
    const SetupRecord setup = f.ctx.setup;
    const std::string bad = f.write("Bad.Kvl", "[General]\nkey=value\n");
    f.prompts.openNames = {QString::fromStdString(bad)};
    scriptSubProg(f, [](TfrmSubProg& d) {
      d.btnProgClick();
      d.btnOkClick();
    });
    insertCall(f);
    QVERIFY(!f.prompts.asked.empty());
    QCOMPARE(f.prompts.asked.back().icon, PromptIcon::Warning);
    const auto& rows = f.ctx.programs.main().rows();
    QCOMPARE(rows.size(), std::size_t{3});
    QCOMPARE(rows[0].val0, 100);
    QCOMPARE(rows[1].val0, 200);
    QCOMPARE(rows[2].cmt, std::string("Bad"));
    QCOMPARE(f.ctx.programs.main().path, f.user + "Main.Kvl");
    QVERIFY(f.ctx.io.cnName == names);
    QVERIFY(f.ctx.setup.setupValue == setup.setupValue);
    QCOMPARE(f.ctx.setup.setupComment, setup.setupComment);
    QVERIFY(f.ctx.programs[1].rows().empty());
  }

  void withNoFreeNumberTheCallIsRefused() {
    MainWindowFixture f;
    TfrmProg* main = f.prog(0);
    main->clearRows();
    for (int n = 1; n <= 29; ++n) main->program().appendRow(row(kSubCall, kSubCall, n, 0, 0, "S" + std::to_string(n)));
    main->rowsChanged();
    scriptSubProg(f, [](TfrmSubProg& d) { d.btnOkClick(); });
    f.prompts.asked.clear();
    insertCall(f);
    QCOMPARE(f.prompts.asked.size(), std::size_t{1});
    QVERIFY2(f.prompts.asked.back().text.contains(QStringLiteral("No Sub program number is free")),
             qPrintable(f.prompts.asked.back().text));
    QCOMPARE(f.ctx.programs.main().size(), std::size_t{29});  // the new row went
    QVERIFY(!f.prog(30));

    // Renaming an existing call frees its own number for the new file.
    const std::string other = f.write("Other.Kvl", kSubFile);
    f.prompts.openNames = {QString::fromStdString(other)};
    scriptSubProg(f, [](TfrmSubProg& d) {
      d.btnProgClick();
      d.ckEdit->setChecked(true);
      d.btnOkClick();
    });
    f.prompts.asked.clear();
    main->valueClick(4);
    QVERIFY(f.prompts.asked.empty());
    const Statement& renamed = f.ctx.programs.main().rows()[4];
    QCOMPARE(renamed.val0, 5);
    QCOMPARE(renamed.cmt, std::string("Other"));
    QCOMPARE(f.ctx.programs[5].size(), std::size_t{2});
  }

  void returnStoresZerosAndTheComment() {
    MainWindowFixture f;
    TfrmProg* sub = f.main->openProgramWindow(3);
    setRows(sub, {row(kReturn, kReturn, 7, 8, 9, "old")});
    scriptSubProg(f, [](TfrmSubProg& d) {
      d.edtCmt->setText(QStringLiteral("done"));
      d.btnOkClick();
    });
    sub->valueClick(0);
    const Statement& r = f.ctx.programs[3].rows()[0];
    QCOMPARE(r.cno, kReturn);
    QCOMPARE(r.val0, 0);
    QCOMPARE(r.val1, 0);
    QCOMPARE(r.val2, 0);
    QCOMPARE(r.cmt, std::string("done"));
    QVERIFY(f.ctx.programs[3].modified);
  }

  void theDialogsAskThroughTheWorkbenchPrompts() {
    MainWindowFixture f;
    // Main's own file as the Sub: the warning comes through the scripted prompts, not a box.
    f.ctx.programs.main().path = f.user + "Main.Kvl";
    f.prompts.openNames = {QString::fromStdString(f.user + "Main.Kvl")};
    f.ctx.edit = EditBuffer{kSubCall, 0, kSubCall, 0, 0, 0, {}};
    TfrmSubProg* dialog = f.main->dialogs().subProg();
    dialog->FormShow();
    dialog->btnProgClick();
    QCOMPARE(f.prompts.asked.back().text, QStringLiteral("Can't Open MAIN as SUB"));
  }

  void theSetupWindowChangesThePalette() {
    MainWindowFixture f;
    f.prog(0)->setModified(false);
    QVERIFY(f.main->pnlButton()->button("btnUss")->isHidden());
    QVERIFY(!f.main->toolButton("btnCLib")->isVisible());  // statement style
    f.prompts.onShow = [](QDialog& d) {
      auto* setup = qobject_cast<gui::TfrmSetup*>(&d);
      QVERIFY(setup);
      for (SetupBox b : {SetupBox::ckAdv, SetupBox::ckUss}) {
        setup->box[static_cast<std::size_t>(b)]->setChecked(true);
        setup->boxClick(b);
      }
      setup->btnOkClick();
    };
    f.main->btnSetupClick();
    QCOMPARE(f.prompts.shown, std::vector<QString>{QStringLiteral("TfrmSetup")});
    QVERIFY(f.ctx.io.useUss);
    QVERIFY(!f.main->pnlButton()->button("btnUss")->isHidden());
    QVERIFY(!f.main->pnlButton()->button("btnCode")->isHidden());
    QVERIFY(f.main->action("mmSetupButton")->isChecked());
    QVERIFY(f.main->toolButton("btnSetup")->isVisible());
    QVERIFY(f.ctx.programs.main().modified);

    // Cancel changes nothing and marks nothing.
    f.prog(0)->setModified(false);
    f.prompts.onShow = [](QDialog& d) { qobject_cast<gui::TfrmSetup*>(&d)->btnCancelClick(); };
    f.main->toolButton("btnSetup")->click();
    QVERIFY(!f.ctx.programs.main().modified);

    // "Default Setup", then Cancel: the reset stays, and the palette follows it.
    f.prompts.mode = [](gui::TfrmMsgBox&) { return true; };
    f.prompts.onShow = [](QDialog& d) {
      auto* setup = qobject_cast<gui::TfrmSetup*>(&d);
      setup->btnDefClick();
      setup->btnCancelClick();
    };
    f.main->btnSetupClick();
    QVERIFY(!f.ctx.io.useUss && !f.ctx.io.advancedMode);
    QVERIFY(f.main->pnlButton()->button("btnUss")->isHidden());
    QVERIFY(f.main->pnlButton()->button("btnCode")->isHidden());
    QVERIFY(f.main->toolButton("btnSetup")->isVisible());  // the Setup option is still ticked

    // Ticking the Setup option opens the window at once.
    f.main->action("mmSetupButton")->setChecked(false);
    f.main->mmSetupButtonClick();
    const std::size_t shown = f.prompts.shown.size();
    f.main->action("mmSetupButton")->setChecked(true);
    f.main->mmSetupButtonClick();
    QCOMPARE(f.prompts.shown.size(), shown + 1);
  }

  void inTheCCodeStyleTheSetupRenewsTheHeader() {
    MainWindowFixture f;
    f.main->mmCodeClick();
    TfrmProg* main = f.prog(0);
    std::vector<std::string> lines = main->codeLines();
    lines.push_back("// my own line");
    main->setCodeLines(lines);
    f.prompts.onShow = [](QDialog& d) {
      auto* setup = qobject_cast<gui::TfrmSetup*>(&d);
      setup->findChild<QLineEdit*>(QStringLiteral("edtCmt"))->setText(QStringLiteral("arm"));
      setup->btnOkClick();
    };
    f.main->btnSetupClick();
    const std::vector<std::string> after = main->codeLines();
    const auto has = [&after](const std::string& prefix) {
      return std::any_of(after.begin(), after.end(), [&](const std::string& l) { return l.rfind(prefix, 0) == 0; });
    };
    QVERIFY(has("// SetupVal:"));
    QVERIFY(std::find_if(after.begin(), after.end(), [](const std::string& l) {
              return l.find(",cmt:arm") != std::string::npos;
            }) != after.end());
    QCOMPARE(after.back(), std::string("// my own line"));
    QCOMPARE(std::count(after.begin(), after.end(), std::string("void user_main(void)")), 1);
  }

  void theLibraryBrowserInsertsAtTheCaret() {
    MainWindowFixture f;
    f.main->mmCodeClick();
    TfrmProg* main = f.prog(0);
    main->memoCode()->setPlainText(QStringLiteral("void user_main(void)\n{\n\n}"));
    QTextCursor caret = main->memoCode()->textCursor();
    caret.setPosition(23);
    main->memoCode()->setTextCursor(caret);
    gui::TfrmCode* lib = f.main->dialogs().code();
    f.main->toolButton("btnCLib")->click();
    QVERIFY(lib->isVisible());
    QVERIFY(lib->isBrowser());
    QVERIFY(lib->sGridFunc->rowCount() > 1);
    lib->btnCodeClick();
    const QString text = main->memoCode()->toPlainText();
    QVERIFY2(text.startsWith(QStringLiteral("void user_main(void)\n{\nwait_ms(")), qPrintable(text));
    QVERIFY(text.endsWith(QStringLiteral(");\n}")));

    f.main->toolButton("btnCLib")->click();  // a second click closes it
    QVERIFY(!lib->isVisible());
    f.main->toolButton("btnCLib")->click();
    QVERIFY(lib->isVisible());
    main->setModified(false);
    f.main->mmKavelClick();  // back to statements: the browser goes
    QVERIFY(!lib->isVisible());
  }
};

QTEST_MAIN(WorkbenchWiringTest)
#include "workbench_wiring_test.moc"
