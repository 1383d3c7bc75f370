#include <QtTest>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>

#include "DialogFixture.h"
#include "ScriptedPrompts.h"
#include "Statements.h"
#include "core/model/StatementKind.h"
#include "gui/dialogs/TfrmSubProg.h"

using namespace kavel;
using kavel::gui::TfrmSubProg;
using kavel::testing::row;

// The sub-program dialog: the file pick and its warnings, the hidden interrupt option, and the
// refusal of a call in a Sub that Main does not make.
class SubProgDialog : public QObject {
  Q_OBJECT

  test::DialogFixture f;
  testing::ScriptedPrompts prompts;
  TfrmSubProg* dlg = nullptr;

  void callMainMakes() {
    f.ctx.programs.main().rows().clear();
    f.ctx.programs.main().appendRow(row(kSubCall, kSubCall, 1, 0, 0, "Grab"));
  }

 private slots:
  void init() {
    prompts = {};
    f.ctx.programs = ProgramSet{};
    f.ctx.programs.main().path = "/p/Main.Kvl";
    f.ctx.io.interruptInUse = false;
    dlg = new TfrmSubProg(f.ctx, f.glyphs, nullptr, &prompts);
  }
  void cleanup() { delete dlg; }

  void newCallOpensForEditing() {
    f.edit(kSubCall, kSubCall);
    dlg->FormShow();
    QVERIFY(dlg->ckEdit->isChecked());
    QVERIFY(dlg->ckIntr->isHidden());
    QVERIFY(dlg->edtCmt->isHidden());
    QCOMPARE(dlg->lblCmt->text(), QString("File Name"));
    QCOMPARE(dlg->ckEdit->text(), QString("Edit"));
    dlg->btnOkClick();
    QCOMPARE(dlg->result(), int(QDialog::Accepted));
    QCOMPARE(f.ctx.edit.cmt, std::string());
    QVERIFY(dlg->editChosen());
  }

  void pickChecksTheFile_data() {
    QTest::addColumn<int>("program");
    QTest::addColumn<QString>("picked");
    QTest::addColumn<QString>("warning");
    QTest::addColumn<QString>("name");
    QTest::newRow("another file") << 0 << "/p/Grab.Kvl" << "" << "Grab";
    QTest::newRow("Main's own file") << 0 << "/p/Main.Kvl" << "Can't Open MAIN as SUB" << "Old";
    QTest::newRow("itself") << 2 << "/q/Turn.Kvl" << "Can't Open Sub Inside Itself" << "";
    QTest::newRow("Main's name elsewhere") << 0 << "/q/Main.Kvl" << "Can't Open Sub Inside Itself" << "";
    QTest::newRow("cancelled") << 0 << "" << "" << "Old";
  }
  void pickChecksTheFile() {
    QFETCH(int, program);
    QFETCH(QString, picked);
    QFETCH(QString, warning);
    QFETCH(QString, name);
    f.ctx.programs[2].path = "/p/Turn.Kvl";
    f.ctx.programs.current = program;
    f.edit(kSubCall, kSubCall, 3, 0, 0, "Old");
    dlg->FormShow();
    QVERIFY(!dlg->ckEdit->isChecked());
    if (!picked.isEmpty()) prompts.openNames.push_back(picked);
    dlg->btnProgClick();
    const auto texts = prompts.takeTexts();
    QCOMPARE(texts.empty() ? QString() : texts.front(), warning);
    QCOMPARE(dlg->pnlFname->text(), name);
  }

  void subMayCallOnlyWhatMainCalls() {
    callMainMakes();
    f.ctx.programs.current = 2;
    f.edit(kSubCall, kSubCall, 0, 0, 0, "Walk");
    dlg->FormShow();
    dlg->setResult(0);
    dlg->btnOkClick();
    QCOMPARE(prompts.takeTexts(), std::vector<QString>{"Can't Open Undefined Sub-Program"});
    QCOMPARE(dlg->result(), 0);  // stays open
    prompts.openNames.push_back("/p/Grab.Kvl");
    dlg->btnProgClick();
    dlg->btnOkClick();
    QCOMPARE(dlg->result(), int(QDialog::Accepted));
    QCOMPARE(f.ctx.edit.cmt, std::string("Grab"));
  }

  void interruptOptionIsUnlockedOnce() {
    f.edit(kSubCall, kSubCall, 2, 0, 0, "Tick");
    dlg->FormShow();
    dlg->lblCmtDblClick();
    QVERIFY(!dlg->ckIntr->isHidden());
    QVERIFY(dlg->ckEdit->isChecked());
    dlg->ckIntr->setChecked(true);
    dlg->btnOkClick();
    QVERIFY(f.ctx.io.interruptInUse);
    QVERIFY(dlg->interruptChosen());

    // While an interrupt routine exists another call cannot become one.
    f.edit(kSubCall, kSubCall, 3, 0, 0, "Other");
    dlg->FormShow();
    QVERIFY(dlg->ckIntr->isHidden());
    dlg->lblCmtDblClick();
    QVERIFY(dlg->ckIntr->isHidden());

    // The interrupt call itself shows the option ticked; unticking it ends the routine.
    f.edit(kSubCall, kSubCall, 30, 0, 0, "Tick");
    dlg->FormShow();
    QVERIFY(dlg->ckIntr->isChecked());
    QVERIFY(!dlg->ckIntr->isHidden());
    dlg->ckIntr->setChecked(false);
    dlg->btnOkClick();
    QCOMPARE(f.ctx.edit.val0, 0);
    QVERIFY(!f.ctx.io.interruptInUse);
  }

  void returnRowCarriesAComment() {
    f.edit(kReturn, kReturn, 0, 0, 0, "early");
    dlg->FormShow();
    QVERIFY(dlg->pnlFname->isHidden());
    QVERIFY(dlg->ckEdit->isHidden());
    QCOMPARE(dlg->edtCmt->text(), QString("early"));
    QCOMPARE(dlg->lblCmt->text(), QString("Comment"));
    dlg->edtCmt->setText("done");
    dlg->btnOkClick();
    QCOMPARE(f.ctx.edit.cmt, std::string("done"));
    QVERIFY(!dlg->editChosen());
  }
};

QTEST_MAIN(SubProgDialog)
#include "sub_prog_dialog_test.moc"
