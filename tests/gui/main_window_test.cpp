#include <QtTest>

#include <QAction>
#include <QDir>
#include <QLineEdit>
#include <QFile>
#include <QLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QToolButton>

#include <filesystem>

#include "MainWindowFixture.h"
#include "Statements.h"
#include "gui/comm/TfrmCom.h"
#include "gui/setup/TfrmSetup.h"
#include "gui/app/ClickLabel.h"
#include "gui/app/SidePanel.h"
#include "gui/editor/CodeEditor.h"
#include "gui/editor/Palette.h"
#include "gui/editor/RowView.h"
#include "core/model/StatementKind.h"

using namespace kavel;
using namespace kavel::testing;
using gui::TfrmProg;

namespace {

void setRows(TfrmProg* prog, std::initializer_list<Statement> rows) {
  prog->clearRows();
  for (const Statement& s : rows) prog->program().appendRow(s);
  prog->rowsChanged();
  prog->setModified(true);
}

QString en(const MainWindowFixture& f, int n) { return QString::fromStdString(f.ctx.messages.text(1, n)); }

const std::string kProgramFile =
    "Title:Main - [ A ] MORVANE Kavel for Wrenlet CORE  [ Ver.20190706 ]\r\n"
    "CN01:Ball\r\n"
    "[0000]:sno:08,cno:07,val:111111-110000-000000,cmt:\r\n"
    "[0001]:sno:21,cno:21,val:000050-000050-000000,cmt:\r\n"
    "[0002]:sno:29,cno:29,val:001500-000000-000000,cmt:wait\r\n";

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void startsWithItsTitleMenusPaletteAndMainWindow() {
    MainWindowFixture f;
    QCOMPARE(f.main->windowTitle(), QStringLiteral("MORVANE Kavel for Wrenlet CORE  [ Ver.20190706 ]"));
    QVERIFY(f.prog(0));
    QCOMPARE(f.main->subWindow(0)->windowTitle(), QStringLiteral("Main - [ NewFile-00 ]"));
    QCOMPARE(f.main->windowMenuItems(), QStringList{"Main"});
    struct Caption {
      const char* name;
      int message;
    };
    for (const Caption& c : {Caption{"mmNew", 2}, {"mmOpen", 3}, {"mmSave", 4}, {"mmPrint", 5}, {"mmQuit", 6},
                             {"mmBuild", 10}, {"mmGrid", 27}, {"mmDelQuery", 28}, {"mmFuncPnlPos", 29},
                             {"mmCodeView", 30}, {"mmVertical", 22}, {"mmCascade", 24}, {"mmJpn", 33}}) {
      QCOMPARE(f.main->action(c.name)->text(), en(f, c.message));
    }
    for (const Caption& c : {Caption{"btnNew", 47}, {"btnOpen", 48}, {"btnSave", 49}, {"btnBuild", 50},
                             {"btnDownLoad", 51}, {"btnMonitor", 52}}) {
      QCOMPARE(f.main->toolButton(c.name)->text(), en(f, c.message));
    }
    QCOMPARE(f.main->action("mmNew")->shortcut(), QKeySequence(QKeySequence::New));
    QVERIFY(!f.main->action("mmLineNo")->isVisible());
    QVERIFY(!f.main->action("mmLangEdit")->isVisible());
    QVERIFY(!f.main->action("mmWallpaper")->isVisible());
    QVERIFY(f.main->action("mmDelQuery")->isChecked());
    QVERIFY(!f.main->gridOn());
    QCOMPARE(f.main->panelText(1), QStringLiteral("Main"));
    QCOMPARE(f.main->panelText(2), QStringLiteral("Mode : ") + en(f, 17));
    QCOMPARE(f.main->sidePanel()->lblProduct()->text(), QStringLiteral("Wrenlet"));
    QCOMPARE(f.main->pnlButton()->button("btnMotor")->toolTip(), en(f, 80));
    QVERIFY(!f.main->toolButton("btnSave")->isEnabled());
    QCOMPARE(f.main->userPathText(), QString::fromStdString(f.user));
    QCOMPARE(f.prompts.languageQuestions, 0);
  }

  void theFirstRunAsksForTheLanguage() {
    MainWindowFixture f("[PRJ]\r\nTAB_Spc_=4\r\n", true);
    QCOMPARE(f.prompts.languageQuestions, 1);
    QCOMPARE(f.ctx.settings.LANG_NO_, 1);

    MainWindowFixture g("[PRJ]\r\nTAB_Spc_=4\r\n", false);
    (void)g;
    // The answer rules the captions.
    ScriptedPrompts japanese;
    japanese.language = 0;
    Context ctx;
    gui::MainOptions o;
    o.programFolder = std::string(KAVEL_BIN_DIR) + "/";
    o.iniPath = g.folder + "none.ini";
    o.prompts = &japanese;
    gui::TfrmMain main(ctx, o);
    QCOMPARE(ctx.settings.LANG_NO_, 0);
    // Kept at once: a crash before the program closes does not ask again.
    QVERIFY(MainWindowFixture::read(o.iniPath).find("LANG_NO_=0") != std::string::npos);
    QVERIFY(main.action("mmJpn")->isChecked());
    QCOMPARE(main.action("mmNew")->text(), QString::fromStdString(ctx.messages.text(0, 2)));
    QVERIFY(!main.action("mmNew")->text().isEmpty());
  }

  void closingWritesTheSettingsFile() {
    MainWindowFixture f;
    f.main->action("mmFuncPnlPos")->trigger();
    f.main->action("mmBuildHistory")->trigger();
    QVERIFY(f.main->close());
    const std::string ini = MainWindowFixture::read(f.iniPath);
    QVERIFY(ini.find("FuncPnl=4") != std::string::npos);
    QVERIFY(ini.find("BuildJob=2") != std::string::npos);
    QVERIFY(ini.find("LANG_NO_=1") != std::string::npos);
    QVERIFY(ini.find("WSCOLOR=0xC0DCC0") != std::string::npos);
  }

  // Every choice is in the file as soon as it is made, not only after the program closed.
  void settingsAreWrittenWhenTheyChange() {
    MainWindowFixture f;
    const auto ini = [&f] { return MainWindowFixture::read(f.iniPath); };
    const struct {
      std::function<void()> choose;
      std::string written;
    } cases[] = {
        {[&f] { f.main->action("mmJpn")->trigger(); }, "LANG_NO_=0"},
        {[&f] { f.main->action("mmBuildHistory")->trigger(); }, "BuildJob=2"},
        {[&f] { f.main->action("mmFuncPnlPos")->trigger(); }, "FuncPnl=4"},
        {[&f] {
           f.prompts.answers = {Answer::Yes};
           f.ctx.settings.DatPath_ = f.folder;
           f.main->pnlUserPathDblClick();
         },
         "DefPath_=" + f.folder + "\r\n"},
        {[&f] {
           f.prompts.onShow = [](QDialog& dialog) {
             auto* setup = qobject_cast<gui::TfrmSetup*>(&dialog);
             QVERIFY(setup);
             setup->edtCN[0]->setText(QStringLiteral("Arm"));
             setup->btnOkClick();
           };
           // Ticking the Setup option opens the setup window at once.
           f.main->action("mmSetupButton")->trigger();
         },
         "CN1=Arm\r\n"},
    };
    for (const auto& c : cases) {
      c.choose();
      QVERIFY2(ini().find(c.written) != std::string::npos, (c.written + " in\n" + ini()).c_str());
    }
    QVERIFY(f.prompts.asked.size() <= 1);  // the home-folder question only

    // A file that cannot be written: "Ini:NG", the reason told once, the choice stays in effect.
    f.prompts.asked.clear();
    std::filesystem::remove(f.iniPath);
    std::filesystem::create_directory(f.iniPath);
    f.main->action("mmEng")->trigger();
    QCOMPARE(f.main->panelText(0), QStringLiteral("Ini:NG"));
    QCOMPARE(f.prompts.asked.size(), std::size_t(1));
    QVERIFY2(f.prompts.asked[0].text.contains(QString::fromStdString(f.iniPath)), qPrintable(f.prompts.asked[0].text));
    f.main->action("mmBuildConfirm")->trigger();
    QCOMPARE(f.prompts.asked.size(), std::size_t(1));
    QCOMPARE(f.ctx.settings.LANG_NO_, 1);
    // Writable again: the next change writes everything that waited.
    std::filesystem::remove(f.iniPath);
    f.main->action("mmBuildOverWrite")->trigger();
    QVERIFY(ini().find("LANG_NO_=1") != std::string::npos && ini().find("BuildJob=0") != std::string::npos);
    QVERIFY(f.main->panelText(0).endsWith(":OK"));
  }

  void nonsenseSettingsGiveDefaults() {
    MainWindowFixture f(
        "[PRJ]\r\nTAB_Spc_=-4\r\nBuildJob=7\r\n[FRM]\r\nFuncPnl=9\r\nPRODUCT=/no/such/picture.jpg\r\n"
        "WSCOLOR=green\r\nLOGOIMG=\r\n[LANGUAGE]\r\nLANG_NO_=1\r\nLANG_1__=/no/such/English.Txt\r\n");
    QCOMPARE(f.ctx.settings.TAB_Spc_, 2);
    QCOMPARE(f.ctx.settings.FuncPnl, 3);
    QCOMPARE(f.ctx.settings.WSCOLOR, 0xC0DCC0u);
    QCOMPARE(f.ctx.settings.BuildJob, 1);
    QVERIFY(!f.main->sidePanel()->hasProductPicture());
    QVERIFY(!f.main->sidePanel()->hasLogoPicture());
    QCOMPARE(f.main->action("mmNew")->text(), QStringLiteral("&New"));  // the default message file
    QVERIFY(!f.main->action("mmFuncPnlPos")->isChecked());
    // The user hears which values were not taken, once, at start.
    QCOMPARE(f.prompts.asked.size(), std::size_t{1});
    const QString& said = f.prompts.asked[0].text;
    for (const char* value : {"[PRJ] TAB_Spc_=-4 is not from 0 to 32; 2 is used instead.",
                              "[PRJ] BuildJob=7 is not from 0 to 2; 1 is used instead.",
                              "[FRM] FuncPnl=9 is not 3 or 4; 3 is used instead.",
                              "[FRM] WSCOLOR=green is not a colour"}) {
      QVERIFY2(said.contains(value), qPrintable(said));
    }
  }

  void aSettingsFileThatIsNoTextIsNeverWritten() {
    // Before, closing appended ASCII sections to a UTF-16 settings file.
    MainWindowFixture f(std::string("\xFF\xFE[\0L\0A\0N\0G\0U\0A\0G\0E\0]\0", 22), false);
    const std::string before = MainWindowFixture::read(f.iniPath);
    f.main->show();
    QVERIFY(f.prompts.asked.front().text.contains("cannot be read"));
    QVERIFY(f.main->close());
    QCOMPARE(MainWindowFixture::read(f.iniPath), before);
    QCOMPARE(f.main->panelText(0), QStringLiteral("Ini:NG"));
  }

  void closingAsksForEveryModifiedProgramMainFirst() {
    MainWindowFixture f;
    setRows(f.prog(0), {row(kWait, kWait, 100)});
    TfrmProg* sub = f.main->openProgramWindow(2);
    setRows(sub, {row(kWait, kWait, 200)});
    f.main->openProgramWindow(0);

    // No for Main, Cancel at Sub-2: the application stays, Sub-2 current.
    f.prompts.answers = {Answer::No, Answer::Cancel};
    QVERIFY(!f.main->close());
    auto texts = f.prompts.takeTexts();
    QCOMPARE(texts.size(), std::size_t{2});
    QVERIFY(texts[0].startsWith(QStringLiteral("Main - [ NewFile-00 ]")));
    QVERIFY(texts[0].contains(QStringLiteral("\n\"Yes\"")));  // the line break before the quoted Yes
    QVERIFY(texts[1].startsWith(QStringLiteral("Sub-2 [ SubFile-02 ]")));
    QCOMPARE(f.ctx.programs.current, 2);

    // Yes whose save dialog is cancelled stops closing as well.
    f.prompts.answers = {Answer::Yes};
    QVERIFY(!f.main->close());
    QCOMPARE(f.prompts.takeTexts().size(), std::size_t{1});

    // Yes with a file name saves Main; No drops Sub-2; the window closes.
    const QString path = QString::fromStdString(f.user + "Closing.Kvl");
    f.prompts.answers = {Answer::Yes, Answer::No};
    f.prompts.saveNames = {path};
    QVERIFY(f.main->close());
    QVERIFY(QFile::exists(path));
    QVERIFY(MainWindowFixture::read(path.toStdString()).find("[0001]:sno:29,cno:29,val:000100") != std::string::npos);
  }

  void newOpenAndSave() {
    MainWindowFixture f;
    TfrmProg* main = f.prog(0);
    setRows(main, {row(kMotorForward, kMotorForward, 50), row(kWait, kWait, 1500, 0, 0, "wait")});

    QCOMPARE(f.main->action("mmSave")->shortcut(), QKeySequence(QKeySequence::Save));
    f.prompts.saveNames = {QString::fromStdString(f.user + "A")};
    QVERIFY(f.main->mmSaveClick());
    QCOMPARE(f.prompts.saveProposals.back(), QString::fromStdString(f.user + "NewFile-00"));
    QVERIFY(QFile::exists(QString::fromStdString(f.user + "A.Kvl")));
    QCOMPARE(f.main->subWindow(0)->windowTitle(), QStringLiteral("Main - [ A ]"));
    QCOMPARE(main->panelText(1), en(f, 77));
    QCOMPARE(main->panelText(2), QString::fromStdString(f.user + "A.Kvl"));
    QVERIFY(!f.main->toolButton("btnSave")->isEnabled());

    // New on a modified program asks; No keeps everything, the path included.
    main->setModified(true);
    f.prompts.answers = {Answer::No};
    f.main->mmNewClick();
    QCOMPARE(f.prompts.asked.back().text, en(f, 42));
    QCOMPARE(main->program().size(), std::size_t{2});
    QCOMPARE(main->program().path, f.user + "A.Kvl");
    f.prompts.answers = {Answer::Yes};
    f.main->mmNewClick();
    QVERIFY(main->program().rows().empty());
    QVERIFY(!main->program().modified);
    QVERIFY(main->program().path.empty());
    QCOMPARE(f.main->subWindow(0)->windowTitle(), QStringLiteral("Main - [ NewFile-00 ]"));
    QVERIFY(main->panelText(1).isEmpty());

    // Open brings the rows back; the next save proposes the file's own name.
    f.prompts.openNames = {QString::fromStdString(f.user + "A.Kvl")};
    f.main->mmOpenClick();
    QCOMPARE(main->program().size(), std::size_t{2});
    QCOMPARE(main->program().rows()[1].cmt, std::string("wait"));
    QVERIFY(!main->program().modified);
    f.prompts.saveNames = {};
    f.main->mmSaveClick();
    QCOMPARE(f.prompts.saveProposals.back(), QString::fromStdString(f.user + "A"));

    // Open on a modified program asks first; No changes nothing.
    main->setModified(true);
    f.prompts.answers = {Answer::No};
    f.prompts.openNames = {QString::fromStdString(f.user + "A.Kvl")};
    f.main->mmOpenClick();
    QCOMPARE(f.prompts.asked.back().text, en(f, 43));
    QCOMPARE(f.prompts.openNames.size(), std::size_t{1});
  }

  void commandsThatCloseSubWindowsOfferToSaveThemFirst() {
    MainWindowFixture f;
    setRows(f.prog(0), {row(kSubCall, kSubCall, 2, 0, 0, "Grab")});
    f.prog(0)->setModified(false);
    TfrmProg* sub = f.main->openProgramWindow(2);
    setRows(sub, {row(kWait, kWait, 200)});
    f.main->openProgramWindow(0);

    // New in Main: Cancel at Sub-2's question stops New; nothing is cleared.
    f.prompts.answers = {Answer::Cancel};
    f.main->mmNewClick();
    QVERIFY(f.prompts.asked.back().text.startsWith(QStringLiteral("Sub-2 [ ")));
    QCOMPARE(f.ctx.programs.main().size(), std::size_t{1});
    QVERIFY(f.main->prog(2));

    // Switching to C code: Yes saves Sub-2 before its window goes.
    const QString path = QString::fromStdString(f.user + "Grab.Kvl");
    f.prompts.answers = {Answer::Yes};
    f.prompts.saveNames = {path};
    f.main->mmCodeClick();
    QVERIFY(QFile::exists(path));
    QVERIFY(!f.main->prog(2));
    QCOMPARE(f.ctx.settings.EdtStyle, 1);
  }

  void historyNamesCountUp() {
    MainWindowFixture f;
    f.main->action("mmBuildHistory")->trigger();
    setRows(f.prog(0), {row(kWait, kWait, 100)});
    f.prompts.saveNames = {QString::fromStdString(f.user + "Robot.Kvl")};
    QVERIFY(f.main->mmSaveClick());
    const QRegularExpression first(QStringLiteral("^Robot_#001-\\d{6}-\\d{6}\\.Kvl$"));
    QStringList files = QDir(QString::fromStdString(f.user)).entryList(QDir::Files);
    QCOMPARE(files.size(), 1);
    QVERIFY2(first.match(files.front()).hasMatch(), qPrintable(files.front()));

    f.prompts.saveNames = {QString::fromStdString(f.user) + files.front()};
    QVERIFY(f.main->mmSaveClick());
    files = QDir(QString::fromStdString(f.user)).entryList({"Robot_#002-*.Kvl"}, QDir::Files);
    QCOMPARE(files.size(), 1);
  }

  void savingASubNamesItInMainsCalls() {
    MainWindowFixture f;
    setRows(f.prog(0), {row(kSubCall, kSubCall, 4, 0, 0, "Old"), row(kWait, kWait), row(kSubCall, kSubCall, 2, 0, 0, "Other")});
    f.prog(0)->setModified(false);
    TfrmProg* sub = f.main->openProgramWindow(4);
    setRows(sub, {row(kWait, kWait, 300)});
    f.prompts.saveNames = {QString::fromStdString(f.user + "Grab.Kvl")};
    QVERIFY(f.main->mmSaveClick());
    const auto& rows = f.ctx.programs.main().rows();
    QCOMPARE(rows[0].cmt, std::string("Grab"));
    QCOMPARE(rows[2].cmt, std::string("Other"));
    QCOMPARE(f.prog(0)->rowText(0), QStringLiteral("Sub-4: Grab"));
    QVERIFY(f.ctx.programs.main().modified);  // Main's file must be saved with the new name
    QCOMPARE(f.main->subWindow(4)->windowTitle(), QStringLiteral("Sub-4 [ Grab ]"));
  }

  void filesThatAreNotProgramsLeaveTheProgramAlone_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("says");
    QTest::newRow("empty") << QByteArray() << "is empty";
    QTest::newRow("binary") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) << "binary";
    QTest::newRow("other text") << QByteArray("[General]\nkey=value\n") << "Title:";
    QTest::newRow("truncated") << QByteArray(kProgramFile.c_str()) + "[0003]:sno:29,cno:29,val:0015" << "cut short";
  }

  void filesThatAreNotProgramsLeaveTheProgramAlone() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, says);
    MainWindowFixture f;
    TfrmProg* main = f.prog(0);
    setRows(main, {row(kWait, kWait, 100), row(kWait, kWait, 200)});
    const auto before = main->program().rows();
    const QString title = f.main->subWindow(0)->windowTitle();
    const std::string path = f.write("bad.Kvl", bytes.toStdString());
    f.prompts.answers = {Answer::Yes};  // discard the changes
    f.prompts.openNames = {QString::fromStdString(path)};
    f.main->mmOpenClick();
    QCOMPARE(f.prompts.asked.size(), std::size_t{2});
    QVERIFY2(f.prompts.asked.back().text.contains(says), qPrintable(f.prompts.asked.back().text));
    QCOMPARE(f.prompts.asked.back().icon, PromptIcon::Warning);
    QCOMPARE(main->program().rows(), before);
    QCOMPARE(f.main->subWindow(0)->windowTitle(), title);
    QVERIFY(main->program().modified);
  }

  void aDamagedFileOpensWhatReadsOnlyWhenTheUserSaysSo() {
    // The rows before the damaged line open after the user has read what cannot; the window
    // is then marked modified, so that Save is what overwrites the file.
    const std::string damaged = kProgramFile + "[0003]:sno:29,cno:29,val:0015";
    for (const Answer answer : {Answer::No, Answer::Yes}) {
      MainWindowFixture f;
      TfrmProg* main = f.prog(0);
      setRows(main, {row(kWait, kWait, 100)});
      main->setModified(false);
      const std::string path = f.write("cut.Kvl", damaged);
      f.prompts.answers = {answer};
      const bool opened = f.main->openProgramFile(QString::fromStdString(path));
      QCOMPARE(f.prompts.asked.size(), std::size_t{1});
      const Asked& asked = f.prompts.asked[0];
      QCOMPARE(asked.buttons, PromptButtons::YesNo);
      QVERIFY2(asked.text.contains(QString::fromStdString("Line 6 of " + path + ": the row is cut short")),
               qPrintable(asked.text));
      QVERIFY2(asked.text.contains("Open the 2 rows before that line?"), qPrintable(asked.text));
      if (answer == Answer::No) {
        QVERIFY(!opened);
        QCOMPARE(main->program().size(), std::size_t{1});
        QVERIFY(!main->program().modified);
        continue;
      }
      QVERIFY(opened);
      QCOMPARE(main->program().size(), std::size_t{2});
      QVERIFY(main->program().modified);
      QCOMPARE(main->program().path, path);
      QCOMPARE(f.read(path), damaged);
    }

    // Named on the command line: the same question, before the window shows the rows.
    MainWindowFixture g({}, false);
    const std::string path = g.write("cut.Kvl", damaged);
    MainWindowFixture h({}, false, path);
    h.prompts.answers = {Answer::Yes};
    h.main->show();
    QCOMPARE(h.prompts.asked.size(), std::size_t{1});
    QCOMPARE(h.ctx.programs.main().size(), std::size_t{2});
    QVERIFY(h.ctx.programs.main().modified);
  }

  void fileNamesThatAreNoUtf8AreOpenedAndSavedUnderTheirOwnBytes() {
    // Before, Qt's text for such a name held U+FFFD: the file was not found, and a save went to
    // a new file under the changed name.
    MainWindowFixture g({}, false);
    const std::string path = g.write("caf\xE9.Kvl", kProgramFile);
    MainWindowFixture f({}, true, path);
    QCOMPARE(f.ctx.programs.main().size(), std::size_t{2});
    QCOMPARE(f.ctx.programs.main().path, path);
    QVERIFY(!f.ctx.programs.main().modified);

    // The file dialog hands the name over as Qt shows it.
    setRows(f.prog(0), {row(kWait, kWait, 700)});
    QVERIFY(f.main->saveProgramAs(QFile::decodeName(QByteArray::fromStdString(path))));
    QCOMPARE(f.ctx.programs.main().path, path);
    QVERIFY(f.read(path).find("val:000700") != std::string::npos);
    int files = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(g.user)) ++files;
    QCOMPARE(files, 1);
    QVERIFY(f.main->openProgramFile(QFile::decodeName(QByteArray::fromStdString(path))));
    // Qt's clean-up of the folder cannot name this file.
    std::filesystem::remove(path);
  }

  void aFileThatDoesNotOpenShowsInTheStatusBar() {
    MainWindowFixture f;
    TfrmProg* main = f.prog(0);
    setRows(main, {row(kWait, kWait, 100)});
    main->setModified(false);
    const std::string path = f.user + "missing.Kvl";
    QVERIFY(!f.main->openProgramFile(QString::fromStdString(path)));
    QCOMPARE(main->panelText(2), QString::fromStdString("Can't Open ... " + path));
    QCOMPARE(main->program().size(), std::size_t{1});
    QVERIFY(f.prompts.asked.empty());
  }

  void aFailedOpenIntoAnEmptyWindowStaysInTheStatusBar() {
    MainWindowFixture f;
    TfrmProg* main = f.prog(0);
    const std::string path = f.user + "missing.Kvl";
    QVERIFY(!f.main->openProgramFile(QString::fromStdString(path)));
    QCOMPARE(main->panelText(2), QString::fromStdString("Can't Open ... " + path));
  }

  void decliningTheOldVersionQuestionLeavesANewEmptyWindow() {
    MainWindowFixture f;
    TfrmProg* main = f.prog(0);
    const std::string a = f.write("A.Kvl", kProgramFile);
    QVERIFY(f.main->openProgramFile(QString::fromStdString(a)));
    std::string old = kProgramFile;
    old.replace(old.find("Ver.20190706"), 12, "Ver.20100101");
    const std::string b = f.write("Old.Kvl", old);
    f.prompts.answers = {Answer::No};
    QVERIFY(!f.main->openProgramFile(QString::fromStdString(b)));
    QCOMPARE(f.prompts.asked.size(), std::size_t{1});
    QVERIFY(main->program().rows().empty());
    QVERIFY(main->program().path.empty());
    QVERIFY(f.main->subWindow(0)->windowTitle().startsWith(QStringLiteral("Main - [ NewFile-")));
    QVERIFY(main->panelText(2).isEmpty());
    f.main->mmSaveClick();
    QVERIFY(f.prompts.saveProposals.back().startsWith(QString::fromStdString(f.user + "NewFile-")));
  }

  void theCCodeStyleAlwaysShowsTheWayBack() {
    // Any non-zero style is the C-code style; with the Setup option off by SetupDef 1 the
    // edit-style menu must still be there, since the option cannot be ticked in this style.
    MainWindowFixture f(
        "[PRJ]\r\nDefPath_=@USER@\r\nDatPath_=@USER@\r\nEdtStyle=2\r\nSetupDef=1\r\n[LANGUAGE]\r\nLANG_NO_=1\r\n");
    QVERIFY(f.prog(0)->codeStyle());
    QVERIFY(f.main->action("mmCode")->isChecked());
    QVERIFY(!f.main->action("mmSetupButton")->isEnabled());
    QVERIFY(f.main->action("mmEditStyleItem")->isVisible());
    f.main->mmKavelClick();
    QCOMPARE(f.ctx.settings.EdtStyle, 0);
    QVERIFY(!f.prog(0)->codeStyle());
  }

  void openingIntoASubAsksForTheSubWindowItCloses() {
    MainWindowFixture f;
    const std::string grab = f.write("Grab.Kvl", kProgramFile);
    setRows(f.prog(0), {row(kSubCall, kSubCall, 2, 0, 0, grab), row(kSubCall, kSubCall, 3)});
    TfrmProg* two = f.main->openProgramWindow(2);
    setRows(two, {row(kWait, kWait, 200)});
    TfrmProg* three = f.main->openProgramWindow(3);
    f.prompts.answers = {Answer::Cancel};
    QVERIFY(!f.main->openProgramFile(QString::fromStdString(grab)));
    QVERIFY(f.prompts.asked.back().text.startsWith(QStringLiteral("Sub-2 [ ")));
    QVERIFY(f.main->prog(2));
    QCOMPARE(two->program().size(), std::size_t{1});
    QVERIFY(three->program().rows().empty());

    f.prompts.answers = {Answer::No};
    QVERIFY(f.main->openProgramFile(QString::fromStdString(grab)));
    QVERIFY(!f.main->prog(2));
    QCOMPARE(three->program().size(), std::size_t{2});
  }

  void theMaintenanceMemoOpensDockedAtTheBottom() {
    MainWindowFixture f;
    f.main->revealMaintenance();
    const QWidget* memo = f.main->sidePanel()->memoMsg();
    QVERIFY(!memo->isHidden());
    QVERIFY2(memo->geometry().top() > f.main->sidePanel()->lblProduct()->geometry().bottom(),
             qPrintable(QStringLiteral("memo at %1,%2").arg(memo->x()).arg(memo->y())));
  }

  void aProgramFileOnTheCommandLineOpensAsMain() {
    const std::string sample = std::string(KAVEL_SOURCE_DIR) + "/tests/gui/data/every_kind.Kvl";
    MainWindowFixture f({}, true, sample);
    const Program& p = f.ctx.programs.main();
    QCOMPARE(p.size(), std::size_t{23});
    QVERIFY(!p.modified);
    QCOMPARE(f.ctx.settings.DatPath_, std::string(KAVEL_SOURCE_DIR) + "/tests/gui/data/");
    QCOMPARE(f.main->subWindow(0)->windowTitle(), QStringLiteral("Main - [ every_kind ]"));
    // Its C-code row switched on advanced mode: the third palette column shows.
    QVERIFY(!f.main->pnlButton()->button("btnCode")->isHidden());
    QVERIFY(f.main->toolButton("btnSetup")->isVisible());
  }

  void switchingTheEditingStyle() {
    MainWindowFixture f;
    TfrmProg* main = f.prog(0);
    setRows(main, {row(kWait, kWait, 100)});
    f.prompts.saveNames = {QString::fromStdString(f.user + "robot.Kvl")};
    QVERIFY(f.main->mmSaveClick());
    main->program().appendRow(row(kWait, kWait, 200));
    main->rowsChanged();
    main->setModified(true);

    // Cancel keeps the rows, the style and the ticks; so does Yes when the save dialog is
    // cancelled. The question is the one of closing: Save, Don't Save or Cancel.
    for (Answer answer : {Answer::Cancel, Answer::Yes}) {
      f.prompts.answers = {answer};
      f.prompts.asked.clear();
      f.main->action("mmCode")->trigger();
      QCOMPARE(f.prompts.asked.size(), std::size_t{1});
      QCOMPARE(f.prompts.asked[0].buttons, PromptButtons::YesNoCancel);
      QVERIFY(f.prompts.asked[0].text.startsWith(QStringLiteral("Main - [ robot ]")));
      QCOMPARE(f.ctx.settings.EdtStyle, 0);
      QCOMPARE(main->program().size(), std::size_t{2});
      QVERIFY(main->program().modified);
      QVERIFY(f.main->action("mmKavel")->isChecked());
      QVERIFY(!f.main->action("mmCode")->isChecked());
    }

    // Don't Save: the changes go, and the editor holds a new C program, not robot.Kvl.
    f.prompts.answers = {Answer::No};
    f.main->action("mmCode")->trigger();
    QCOMPARE(f.ctx.settings.EdtStyle, 1);
    QCOMPARE(MainWindowFixture::read(f.user + "robot.Kvl").find("val:000200"), std::string::npos);
    QCOMPARE(f.main->subWindow(0)->windowTitle(), QStringLiteral("Main - [ NewFile-00 ]"));
    QCOMPARE(main->panelText(2), QString());
    QVERIFY(main->program().path.empty());
    if (const QString folder = qEnvironmentVariable("KAVEL_WINDOW_SHOTS"); !folder.isEmpty()) {
      QDir().mkpath(folder);
      QVERIFY(f.main->grab().save(folder + "/main_switched_to_c.png"));
    }
    QVERIFY(f.main->action("mmCode")->isChecked());
    QVERIFY(main->memoCode()->isVisible());
    QVERIFY(!main->rowView()->isVisible());
    QVERIFY(!f.main->sidePanel()->isVisible());
    QVERIFY(f.main->toolButton("btnCLib")->isVisible());
    QVERIFY(!f.main->action("mmGrid")->isEnabled());
    const auto lines = main->codeLines();
    QVERIFY(std::find(lines.begin(), lines.end(), "void user_main(void)") != lines.end());
    QVERIFY(std::find(lines.begin(), lines.end(), "  ;") != lines.end());  // TAB_Spc_ spaces
    QVERIFY(!main->program().modified);

    // Tab inserts spaces to the next stop, Enter repeats the indentation.
    gui::CodeEditor* editor = main->memoCode();
    editor->setFocus();
    editor->moveCursor(QTextCursor::End);
    QTest::keyClick(editor, Qt::Key_Return);
    QTest::keyClick(editor, Qt::Key_Tab);
    QTest::keyClicks(editor, "x;");
    QTest::keyClick(editor, Qt::Key_Return);
    QTest::keyClicks(editor, "y;");
    const auto typed = main->codeLines();
    QCOMPARE(typed[typed.size() - 2], std::string("  x;"));
    QCOMPARE(typed.back(), std::string("  y;"));
    QVERIFY(main->program().modified);
    QCOMPARE(main->panelText(0), QStringLiteral("%1:  5").arg(typed.size(), 6));

    // Saved as C text with CR LF line ends.
    f.prompts.saveNames = {QString::fromStdString(f.user + "prog")};
    QVERIFY(f.main->mmSaveClick());
    const std::string written = MainWindowFixture::read(f.user + "prog.c");
    QVERIFY(written.find("void user_main(void)\r\n{\r\n") != std::string::npos);
    QCOMPARE(f.main->subWindow(0)->windowTitle(), QStringLiteral("Main - [ prog.c ]"));

    // Back to statements: asks when modified; Yes saves the C text first.
    QTest::keyClicks(editor, " z;");
    QVERIFY(main->program().modified);
    f.prompts.answers = {Answer::Yes};
    f.prompts.saveNames = {QString::fromStdString(f.user + "prog.c")};
    f.main->action("mmKavel")->trigger();
    QVERIFY(MainWindowFixture::read(f.user + "prog.c").find("  y; z;\r\n") != std::string::npos);
    QCOMPARE(f.ctx.settings.EdtStyle, 0);
    QVERIFY(main->rowView()->isVisible());
    QVERIFY(f.main->sidePanel()->isVisible());
    QVERIFY(main->program().rows().empty());
    QVERIFY(!f.main->toolButton("btnCLib")->isVisible());
    QCOMPARE(f.main->subWindow(0)->windowTitle(), QStringLiteral("Main - [ NewFile-00 ]"));
    QCOMPARE(main->panelText(2), QString());
  }

  void openingACFileReadsItsSetupHeader() {
    MainWindowFixture f;
    f.prompts.answers = {Answer::Yes};
    f.main->mmCodeClick();
    const std::string path = f.write("robot.c",
                                      "//---\r\n// SetupVal:111111-110000-000000,cmt:mine\r\n// CN01:Left eye\r\n"
                                      "#include \"M_Main.h\"\r\nvoid user_main(void)\r\n{\r\n}\r\n");
    f.prompts.openNames = {QString::fromStdString(path)};
    f.main->mmOpenClick();
    QCOMPARE(f.prog(0)->codeLines().size(), std::size_t{7});
    QCOMPARE(f.ctx.io.cnName[0], std::string("Left eye"));
    QCOMPARE(f.ctx.setup.setupComment, std::string("mine"));
    QCOMPARE(f.main->subWindow(0)->windowTitle(), QStringLiteral("Main - [ robot.c ]"));
    QVERIFY(!f.ctx.programs.main().modified);
  }

  void windowMenuAndArrangement() {
    MainWindowFixture f;
    f.main->openProgramWindow(5);
    f.main->openProgramWindow(2);
    QCOMPARE(f.main->windowMenuItems(), (QStringList{"Main", "Sub-2", "Sub-5"}));
    f.main->mmVerticalClick();
    const int w = f.main->subWindow(0)->width();
    QCOMPARE(f.main->subWindow(2)->width(), w);
    QCOMPARE(f.main->subWindow(2)->height(), f.main->mdiArea()->viewport()->height());
    QVERIFY(f.main->subWindow(0)->x() != f.main->subWindow(2)->x());
    f.main->mmHorizontalClick();
    QCOMPARE(f.main->subWindow(5)->width(), f.main->mdiArea()->viewport()->width());
    f.main->subWindow(0)->showMinimized();
    f.main->mmCascadeClick();
    QVERIFY(!f.main->subWindow(0)->isMinimized());

    // The Window menu's item shows the program again.
    f.main->subWindow(5)->showMinimized();
    for (QAction* a : f.main->findChildren<QAction*>()) {
      if (a->text() == QStringLiteral("Sub-5")) a->trigger();
    }
    QVERIFY(!f.main->subWindow(5)->isMinimized());
    QCOMPARE(f.ctx.programs.current, 5);
    f.main->closeProgramWindow(5);
    QCOMPARE(f.main->windowMenuItems(), (QStringList{"Main", "Sub-2"}));
  }

  void optionsAndTheLanguage() {
    MainWindowFixture f;
    TfrmProg* main = f.prog(0);
    setRows(main, {row(kWhile, 1), row(kEnd, kClosesWhile)});

    f.main->action("mmFuncPnlPos")->trigger();
    f.main->centralWidget()->layout()->activate();
    QCOMPARE(f.ctx.settings.FuncPnl, 4);
    QVERIFY(f.main->sidePanel()->x() > f.main->mdiArea()->x());
    QCOMPARE(f.main->paletteWidthIfLeft(), 0);
    f.main->imgLogoDblClick();
    f.main->centralWidget()->layout()->activate();
    QCOMPARE(f.ctx.settings.FuncPnl, 3);
    QVERIFY(f.main->sidePanel()->x() < f.main->mdiArea()->x());

    f.main->mmJpnClick();
    QCOMPARE(f.ctx.settings.LANG_NO_, 0);
    QCOMPARE(f.main->action("mmNew")->text(), QString::fromStdString(f.ctx.messages.text(0, 2)));
    QCOMPARE(main->rowText(0), QString::fromUtf8("\u7121\u6761\u4ef6\u30eb\u30fc\u30d7"));
    QCOMPARE(main->panelText(1), QString::fromStdString(f.ctx.messages.text(0, 78)));
    f.main->mmEngClick();
    QCOMPARE(main->rowText(0), QStringLiteral("Infinite Loop"));

    // Download without a program file asks for the HEX file; a cancelled choice stops it.
    f.prompts.asked.clear();
    f.main->action("mmDownLoad")->trigger();
    QVERIFY(f.prompts.asked.empty());
    QVERIFY(f.prompts.shown.empty());
    f.main->action("mmVersion")->trigger();
    QCOMPARE(f.prompts.shown, std::vector<QString>{"frmHelp"});
  }

  void theCommunicationWindowRevealsTheLanguageEditor() {
    MainWindowFixture f;
    // The maintenance gesture of the settings dialog reaches the main window's hidden items.
    f.prompts.onShow = [](QDialog& dialog) {
      if (auto* com = qobject_cast<kavel::gui::TfrmCom*>(&dialog)) com->FormDblClick();
    };
    QVERIFY(!f.main->action("mmLangEdit")->isVisible());
    QVERIFY(f.main->sidePanel()->memoMsg()->isHidden());
    f.main->action("mmCom")->trigger();
    QCOMPARE(f.prompts.shown, std::vector<QString>{"frmCom"});
    QVERIFY(f.main->action("mmLangEdit")->isVisible());
    QVERIFY(!f.main->sidePanel()->memoMsg()->isHidden());

    f.prompts.onShow = {};
    f.main->action("mmLangEdit")->trigger();
    QCOMPARE(f.prompts.shown.back(), QStringLiteral("frmLanguage"));
    QVERIFY2(!f.main->action("mmLangEdit")->isVisible(), "hidden again once shown");
  }

  void homeFolderCommands() {
    MainWindowFixture f;
    const std::string other = f.folder + "Other/";
    QDir().mkpath(QString::fromStdString(other));
    f.ctx.settings.DatPath_ = other;

    f.prompts.answers = {Answer::No};
    f.main->pnlUserPathDblClick();
    QCOMPARE(f.ctx.settings.DefPath_, f.user);
    QVERIFY(f.prompts.asked.back().text.endsWith(QString::fromStdString(other)));
    f.prompts.answers = {Answer::Yes};
    f.main->pnlUserPathDblClick();
    QCOMPARE(f.ctx.settings.DefPath_, other);

    f.main->mmSaveFolderShow();
    QVERIFY(f.main->action("mmInitDefPath")->isVisible());
    QVERIFY(f.main->action("mmSetDefPath")->text().endsWith(QString::fromStdString(" >> " + other)));
    f.main->mmInitDefPathClick();
    QCOMPARE(f.ctx.settings.DefPath_, std::string(KAVEL_BIN_DIR) + "/User_WL/");
    QCOMPARE(f.ctx.settings.DatPath_, f.ctx.settings.DefPath_);
    QVERIFY(!f.main->action("mmInitDefPath")->isVisible());
  }

  void hiddenPictureAndColourCommands() {
    MainWindowFixture f;
    f.main->lblProductDblClick();
    for (const char* name : {"mmProductImage", "mmWallpaper", "mmLogoImage", "mmWsColor"}) {
      QVERIFY(f.main->action(name)->isVisible());
    }
    f.prompts.colour = QColor(0x10, 0x20, 0x30);
    f.main->mmWsColorClick();
    QCOMPARE(f.ctx.settings.WSCOLOR, 0x302010u);
    QCOMPARE(f.prog(0)->workspaceColour(), QColor(0x10, 0x20, 0x30));
    f.main->lblProductDblClick();
    QVERIFY(!f.main->action("mmWsColor")->isVisible());
  }

  void printingIntoAPdfFile() {
    MainWindowFixture f;
    TfrmProg* main = f.prog(0);
    main->clearRows();
    for (int i = 0; i < 70; ++i) main->program().appendRow(row(kWait, kWait, 100 * (i + 1), 0, 0, "step"));
    main->rowsChanged();
    f.main->action("mmGrid")->trigger();

    // A cancelled print dialog prints nothing.
    f.main->mmPrintClick();
    const QString pdf = QString::fromStdString(f.folder + "rows.pdf");
    QVERIFY(!QFile::exists(pdf));

    f.prompts.pdfPath = pdf;
    f.main->mmPrintClick();
    const std::string bytes = MainWindowFixture::read(pdf.toStdString());
    QVERIFY(bytes.starts_with("%PDF"));
    const auto pages = [](const std::string& b) {
      int n = 0;
      for (std::size_t at = b.find("/Type /Page"); at != std::string::npos; at = b.find("/Type /Page", at + 1)) {
        if (b.compare(at, 12, "/Type /Pages") != 0) ++n;
      }
      return n;
    };
    QVERIFY2(pages(bytes) > 1, "70 rows do not fit one page");

    // The C-code style prints Main's text.
    f.prompts.answers = {Answer::Yes};
    f.main->mmCodeClick();
    const QString code = QString::fromStdString(f.folder + "code.pdf");
    f.prompts.pdfPath = code;
    f.main->mmPrintClick();
    QCOMPARE(pages(MainWindowFixture::read(code.toStdString())), 1);
  }

  void theCodeViewFollowsTheProgram() {
    MainWindowFixture f;
    TfrmProg* main = f.prog(0);
    setRows(main, {row(kWait, kWait, 500)});
    f.main->action("mmCodeView")->trigger();
    QVERIFY(main->codeViewVisible());
    QString text = main->memoView()->toPlainText();
    QVERIFY2(text.contains(QStringLiteral("void user_main(void)")), qPrintable(text));
    QVERIFY(text.contains(QStringLiteral("wait_ms(500);")));
    QVERIFY(text.contains(QStringLiteral("|")));  // line-number prefixes

    // Every change regenerates it.
    main->program().appendRow(row(kWait, kWait, 750));
    main->rowsChanged();
    main->setModified(true);
    QVERIFY(main->memoView()->toPlainText().contains(QStringLiteral("wait_ms(750);")));
    QVERIFY(main->memoView()->toPlainText().contains(QStringLiteral("// Program Name : NewFile-00.C")));

    // Saved under a name, and again under another: the view names the file the window holds.
    for (const char* name : {"robot", "robot2"}) {
      f.prompts.saveNames = {QString::fromStdString(f.user + name + ".Kvl")};
      QVERIFY(f.main->mmSaveClick());
      text = main->memoView()->toPlainText();
      QVERIFY2(text.contains(QStringLiteral("// Program Name : %1.C").arg(name)), qPrintable(text));
    }

    // A Sub's view shows the Sub.
    TfrmProg* sub = f.main->openProgramWindow(3);
    setRows(sub, {row(kWait, kWait, 40)});
    f.main->action("mmCodeView")->trigger();
    QVERIFY(sub->memoView()->toPlainText().contains(QStringLiteral("void user_sub_3(void)")));
    QVERIFY(main->codeViewVisible());
    f.main->openProgramWindow(0);
    f.main->action("mmCodeView")->trigger();
    QVERIFY(!main->codeViewVisible());
  }

  void theCSkeletonCarriesTheHeaderBlock() {
    MainWindowFixture f;
    f.prompts.answers = {Answer::Yes};
    f.main->mmCodeClick();
    const auto lines = f.prog(0)->codeLines();
    QVERIFY(lines.size() > 20);
    QCOMPARE(QString::fromStdString(lines[1]), QStringLiteral("// Title: Main - [ NewFile-00 ]"));
    QVERIFY(std::find(lines.begin(), lines.end(), "#include \"M_Main.h\"") != lines.end());
    QVERIFY(std::find(lines.begin(), lines.end(), "// CN01:Ball") != lines.end());
    QCOMPARE(lines.back(), "//" + std::string(80, '-'));
  }

  void newAsksTheSetupModeWhenSetToAsk() {
    MainWindowFixture f("[PRJ]\r\nSetupDef=2\r\n[LANGUAGE]\r\nLANG_NO_=1\r\n");
    f.ctx.io.cnName[0] = "Mine";
    f.prompts.mode = [](gui::TfrmMsgBox&) { return false; };  // No: the setup stays
    f.main->mmNewClick();
    QCOMPARE(f.prompts.modeTags, std::vector<int>{1});
    QCOMPARE(f.ctx.io.cnName[0], std::string("Mine"));
    f.prompts.mode = [](gui::TfrmMsgBox&) { return true; };  // Yes: reset to the defaults
    f.main->mmNewClick();
    QCOMPARE(f.ctx.io.cnName[0], std::string("Ball"));
  }

  void resizingKeepsTheProgramWindowInside() {
    MainWindowFixture f;
    f.main->setWindowState(Qt::WindowNoState);
    f.main->resize(1200, 900);
    QMdiSubWindow* sub = f.main->subWindow(0);
    sub->showNormal();
    QApplication::processEvents();
    const int areaW = f.main->mdiArea()->viewport()->width();
    sub->resize(areaW + 100, 100);
    f.main->FormResize();
    QCOMPARE(sub->width(), areaW / 9 * 8);
    QCOMPARE(sub->height(), f.main->mdiArea()->viewport()->height() / 7 * 6);
  }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
