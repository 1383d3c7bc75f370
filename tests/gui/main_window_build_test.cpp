// The Build command of the main window: the save step by BuildJob in both editing styles, the
// build window shown from the command (driven through its handlers while "shown"), the
// hand-over to Download, and the Build Path item. The tool chain is a copy of the sample build
// folder in the test's own program folder.

#include <QtTest>

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTextBlock>

#include <filesystem>

#include "MainWindowFixture.h"
#include "Statements.h"
#include "core/model/StatementKind.h"
#include "gui/app/TfrmMsgBox.h"
#include "gui/build/TfrmBuild.h"
#include "gui/comm/TfrmDownLoad.h"
#include "gui/editor/RowView.h"

using namespace kavel;
using namespace kavel::testing;
using gui::TfrmBuild;
using gui::TfrmProg;
namespace fs = std::filesystem;

namespace {

void setRows(TfrmProg* prog, std::initializer_list<Statement> rows) {
  prog->clearRows();
  for (const Statement& s : rows) prog->program().appendRow(s);
  prog->rowsChanged();
  prog->setModified(true);
}

QString en(const MainWindowFixture& f, int n) { return QString::fromStdString(f.ctx.messages.text(1, n)); }

QStringList titles(const ScriptedPrompts& p) {
  QStringList out;
  for (const auto& a : p.asked) out << a.title;
  return out;
}

QStringList userFiles(const MainWindowFixture& f, const QString& pattern) {
  return QDir(QString::fromStdString(f.user)).entryList({pattern}, QDir::Files, QDir::Name);
}

// A main window whose build batch file is a private copy of the sample build folder.
struct BuildFixture : MainWindowFixture {
  BuildFixture() {
    const fs::path build = fs::path(folder) / "Build" / "Build_V190617";
    fs::create_directories(build.parent_path());
    fs::copy(KAVEL_BIN_DIR "/Build/Build_V190617", build, fs::copy_options::recursive);
    batFile = (build / "BuildPath.Bat").string();
    ctx.settings.BatFile_ = batFile;
    ctx.settings.MCU2620_ = 1;
  }

  /// While the build window is "shown": optionally frees "DownLoad" and sets it, presses
  /// Build, waits for the tool chain, then closes the window as the user would with Cancel or
  /// Close (a download closes it by itself).
  void pressBuildWhenShown(bool download) {
    prompts.onShow = [this, download](QDialog& dialog) {
      auto* w = qobject_cast<TfrmBuild*>(&dialog);
      QVERIFY(w);
      w->FormShow();
      w->sBarDblClick();
      w->ckDownLoad->setChecked(download);
      w->btnBuildClick();
      QVERIFY(QTest::qWaitFor([w] { return !w->running(); }, 30000));
      buildResult = w->BuildResult;
      errorPane = w->memoErr->toPlainText();
      if (!download || w->BuildResult == 0) w->btnCancelClick();
    };
  }

  std::string batFile;
  int buildResult = -1;
  QString errorPane;
};

}  // namespace

class MainWindowBuildTest : public QObject {
  Q_OBJECT

 private slots:
  void buildsAnUnsavedProgramFromTheWindowAndHandsOverToDownload() {
    BuildFixture f;
    f.main->action("mmBuildOverWrite")->trigger();
    TfrmProg* main = f.prog(0);
    setRows(main, {row(kWait, kWait, 500), row(kGreenLedOn, kGreenLedOn, 1, 1)});
    f.pressBuildWhenShown(true);
    const char* pathBefore = std::getenv("PATH");

    f.main->toolButton("btnBuild")->click();

    QCOMPARE(f.prompts.shown, std::vector<QString>{"frmBuild"});
    QCOMPARE(f.buildResult, 1);
    // The build gave Main its NewFile- name and saved it without asking; the image and the
    // generated source lie beside it; then Download was started.
    QCOMPARE(f.ctx.programs.main().path, f.user + "NewFile-00.Kvl");
    QVERIFY(!main->program().modified);
    QCOMPARE(userFiles(f, "NewFile-00.*"), (QStringList{"NewFile-00.Hex", "NewFile-00.Kvl", "NewFile-00.c"}));
    QCOMPARE(titles(f.prompts).value(0), QStringLiteral("Complete!"));
    // The download window took over the image the build made (no board answers here).
    QCOMPARE(f.main->frmDownLoad()->hexPath(), QString::fromStdString(f.user + "NewFile-00.Hex"));
    QCOMPARE(f.main->frmBuild()->BuildResult, 0);
    QCOMPARE(QString(std::getenv("PATH")), QString(pathBefore));
  }

  void aFailedBuildBringsTheProgramBackAndDoesNotDownload() {
    BuildFixture f;
    TfrmProg* main = f.prog(0);
    setRows(main, {row(kWait, kWait, 500), row(kCCode, kCCode, 0, 0, 0, "no_such_name = 1;")});
    main->program().path = f.user + "broken.Kvl";
    f.ctx.settings.BuildJob = 0;
    f.pressBuildWhenShown(true);
    f.main->mmBuildClick();
    QCOMPARE(f.buildResult, 0);
    QCOMPARE(titles(f.prompts), QStringList{"Warning!"});
    QVERIFY2(f.errorPane.contains("no_such_name"), qPrintable(f.errorPane));
    QVERIFY(userFiles(f, "broken.Hex").isEmpty());
    QCOMPARE(f.main->mdiArea()->activeSubWindow(), f.main->subWindow(0));
    QCOMPARE(f.main->frmBuild()->BuildResult, 0);
  }

  void nothingHappensWithoutRows() {
    BuildFixture f;
    f.main->mmBuildClick();
    QVERIFY(f.prompts.shown.empty());
    QVERIFY(f.prompts.asked.empty());
  }

  void saveStepByBuildJob_data() {
    QTest::addColumn<int>("job");
    QTest::addColumn<bool>("answer");       // the mode question's answer (BuildJob 1)
    QTest::addColumn<int>("updateTo");      // -1: Update not pressed
    QTest::addColumn<bool>("saved");
    QTest::addColumn<QString>("mainFile");  // pattern of Main's file afterwards
    QTest::addColumn<QString>("subFile");
    QTest::addColumn<int>("questions");

    QTest::newRow("0 overwrites") << 0 << false << -1 << true << "robot.Kvl" << "SubFile-03.Kvl" << 0;
    QTest::newRow("1 declined") << 1 << false << -1 << false << "" << "" << 1;
    QTest::newRow("1 accepted") << 1 << true << -1 << true << "robot.Kvl" << "grab.Kvl" << 2;
    QTest::newRow("1 switched to history") << 1 << true << 2 << true << "robot_#001-*.Kvl" << "grab_#001-*.Kvl" << 1;
    QTest::newRow("2 history names") << 2 << false << -1 << true << "robot_#001-*.Kvl" << "grab_#001-*.Kvl" << 0;
  }

  void saveStepByBuildJob() {
    QFETCH(int, job);
    QFETCH(bool, answer);
    QFETCH(int, updateTo);
    QFETCH(bool, saved);
    QFETCH(QString, mainFile);
    QFETCH(QString, subFile);
    QFETCH(int, questions);

    BuildFixture f;
    const char* jobItems[] = {"mmBuildOverWrite", "mmBuildConfirm", "mmBuildHistory"};
    f.main->action(jobItems[job])->trigger();
    TfrmProg* main = f.prog(0);
    setRows(main, {row(kSubCall, kSubCall, 3, 0, 0, "grab"), row(kWait, kWait, 100)});
    main->program().path = f.user + "robot.Kvl";
    TfrmProg* sub = f.main->openProgramWindow(3);
    setRows(sub, {row(kWait, kWait, 300)});
    // Sub-3 has a file unless BuildJob 0 must name it.
    if (job != 0) sub->program().path = f.user + "grab.Kvl";
    f.prompts.mode = [answer, updateTo](gui::TfrmMsgBox& box) {
      if (updateTo >= 0) {
        box.rbMode[static_cast<std::size_t>(updateTo)]->setChecked(true);
        box.btnUpdateClick();
      }
      return answer;
    };
    // BuildJob 0: the command names the current program (Sub-3) before the save step.
    f.prompts.onShow = [](QDialog& dialog) { dialog.reject(); };
    f.main->mmBuildClick();

    QCOMPARE(int(f.prompts.modeTags.size()), questions);
    for (int tag : f.prompts.modeTags) QCOMPARE(tag, 0);
    QCOMPARE(f.prompts.shown.size(), std::size_t(saved ? 1 : 0));
    QCOMPARE(f.main->panelText(2), QStringLiteral("Mode : ") + en(f, 16 + f.ctx.settings.BuildJob));
    if (!saved) {
      // Subs are saved first: the declined one stays modified and current.
      QCOMPARE(f.ctx.programs.current, 3);
      QVERIFY(sub->program().modified);
      QVERIFY(main->program().modified);
      QVERIFY(userFiles(f, "*.Kvl").isEmpty());
      return;
    }
    QVERIFY(!sub->program().modified);
    QVERIFY(!main->program().modified);
    QCOMPARE(userFiles(f, mainFile).size(), 1);
    QCOMPARE(userFiles(f, subFile).size(), 1);
    // Main's call names the Sub's file as saved, and Main was saved with that name.
    const QString subBase = QFileInfo(userFiles(f, subFile).front()).completeBaseName();
    QCOMPARE(QString::fromStdString(f.ctx.programs.main().rows()[0].cmt), subBase);
    const std::string mainText = MainWindowFixture::read(f.user + userFiles(f, mainFile).front().toStdString());
    QVERIFY2(mainText.find("cmt:" + subBase.toStdString()) != std::string::npos, mainText.c_str());
  }

  // A SubCall whose Sub was never saved names no file: the build asks to save the Sub like any
  // other program (its window opened again when it was closed), then builds it under that name.
  void aSubThatWasNeverSavedIsSavedFirst_data() {
    QTest::addColumn<bool>("windowOpen");
    QTest::addColumn<bool>("withRows");
    QTest::newRow("open, with rows") << true << true;
    QTest::newRow("open, empty") << true << false;
    QTest::newRow("closed") << false << false;
  }

  void aSubThatWasNeverSavedIsSavedFirst() {
    QFETCH(bool, windowOpen);
    QFETCH(bool, withRows);
    BuildFixture f;
    TfrmProg* main = f.prog(0);
    setRows(main, {row(kSubCall, kSubCall, 2, 0, 0, ""), row(kWait, kWait, 100)});
    main->program().path = f.user + "robot.Kvl";
    if (windowOpen) {
      TfrmProg* sub = f.main->openProgramWindow(2);
      if (withRows) setRows(sub, {row(kWait, kWait, 222)});
    }
    f.main->openProgramWindow(0);
    f.prompts.mode = [](gui::TfrmMsgBox&) { return true; };

    // Cancelled: no build, the Sub is the current program.
    f.main->mmBuildClick();
    QVERIFY(f.prompts.shown.empty());
    QCOMPARE(f.ctx.programs.current, 2);
    QVERIFY(!f.prompts.saveProposals.empty());
    QCOMPARE(f.prompts.saveProposals.back(), QString::fromStdString(f.user + "SubFile-02"));

    f.prompts.saveNames = {QString::fromStdString(f.user + "grab.Kvl")};
    f.pressBuildWhenShown(false);
    f.main->openProgramWindow(0);  // an empty Sub as the current program builds nothing
    f.main->mmBuildClick();
    QCOMPARE(f.buildResult, 1);
    QVERIFY2(!titles(f.prompts).contains("File Error"), qPrintable(titles(f.prompts).join(", ")));
    QVERIFY(fs::exists(f.user + "grab.Kvl"));
    QCOMPARE(QString::fromStdString(f.ctx.programs.main().rows()[0].cmt), QStringLiteral("grab"));
    const std::string userC = MainWindowFixture::read(f.user + "robot.c");
    QVERIFY2(userC.find("// Program Name : grab.C\r\n") != std::string::npos, userC.c_str());
    QCOMPARE(userC.find("wait_ms(222);") != std::string::npos, withRows);
    // The build let go of the Sub: its window does not stay behind without its rows.
    QVERIFY(!f.main->prog(2));
  }

  // A click on a compiler error: the build pane shows and marks the line, the status panel the
  // number that line shows, and the Sub's window (closed by the build) the row that made it.
  void anErrorLeadsToItsRow() {
    BuildFixture f;
    TfrmProg* sub = f.main->openProgramWindow(3);
    setRows(sub, {row(kWait, kWait, 300), row(kCCode, kCCode, 0, 0, 0, "no_such_name = 1;")});
    sub->program().path = f.user + "grab.Kvl";
    TfrmProg* main = f.prog(0);
    setRows(main, {row(kWait, kWait, 100), row(kSubCall, kSubCall, 3, 0, 0, "grab")});
    main->program().path = f.user + "robot.Kvl";
    f.main->openProgramWindow(0);
    f.ctx.settings.BuildJob = 0;
    QString shown;
    int marked = -1;
    QString markedText;
    f.prompts.onShow = [&](QDialog& dialog) {
      auto* w = qobject_cast<TfrmBuild*>(&dialog);
      w->FormShow();
      w->btnBuildClick();
      QVERIFY(QTest::qWaitFor([w] { return !w->running(); }, 30000));
      const QStringList lines = w->memoErr->toPlainText().split('\n');
      int at = -1;
      for (int i = 0; i < lines.size(); ++i) {
        if (lines[i].contains("Error:") && lines[i].contains("no_such_name")) at = i;
      }
      QVERIFY2(at >= 0, qPrintable(w->memoErr->toPlainText()));
      QTextCursor click(w->memoErr->document()->findBlockByNumber(at));
      click.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, 3);
      w->memoErr->setTextCursor(click);
      shown = w->sBarPanel2->text();
      marked = w->markedLine();
      markedText = w->memoBuild->document()->findBlockByNumber(marked).text();
      QCOMPARE(w->memoBuild->textCursor().blockNumber(), marked);
      w->btnCancelClick();
    };
    f.main->mmBuildClick();
    QVERIFY2(markedText.endsWith("  no_such_name = 1;"), qPrintable(markedText));
    QCOMPARE(shown, markedText.section('|', 0, 0));
    QCOMPARE(shown, QString("%1").arg(marked + 1, 3, 10, QChar('0')));
    TfrmProg* again = f.main->prog(3);
    QVERIFY(again);
    QCOMPARE(again->program().size(), std::size_t{2});
    QCOMPARE(again->rowView()->selected(), 1);
    QCOMPARE(f.main->mdiArea()->activeSubWindow(), f.main->subWindow(3));
  }

  void theCStyleRefusesASourceChangedOnDisk() {
    BuildFixture f;
    f.main->mmCodeClick();
    const std::string path = f.write("robot.c",
                                      "#include \"M_Main.h\"\r\nvoid user_main(void)\r\n{\r\n  wait_ms(10);\r\n}\r\n"
                                      "void user_sub_30(void)\r\n{\r\n}\r\n");
    f.prompts.openNames = {QString::fromStdString(path)};
    f.main->mmOpenClick();
    f.ctx.io.interruptInUse = false;

    // Changed by another editor after it was opened: no build.
    fs::last_write_time(path, fs::last_write_time(path) + std::chrono::seconds(5));
    f.prompts.asked.clear();
    f.main->mmBuildClick();
    QCOMPARE(f.prompts.asked.size(), std::size_t(1));
    QCOMPARE(f.prompts.asked[0].text, QStringLiteral("robot.c Modified. Please Reload File."));
    QCOMPARE(f.prompts.asked[0].title, en(f, 44));
    QVERIFY(f.prompts.shown.empty());
    QVERIFY(f.ctx.io.interruptInUse);

    // Reloaded and edited: asked (BuildJob 1), saved, built; Main's file is the user's, the
    // image lies beside it.
    f.prompts.openNames = {QString::fromStdString(path)};
    f.main->mmOpenClick();
    f.prog(0)->setModified(true);
    f.prompts.mode = [](gui::TfrmMsgBox&) { return true; };
    f.prompts.asked.clear();
    f.pressBuildWhenShown(false);
    f.main->mmBuildClick();
    QCOMPARE(f.prompts.modeTags, std::vector<int>{0});
    QCOMPARE(f.buildResult, 1);
    QVERIFY(!f.prog(0)->program().modified);
    QVERIFY(fs::exists(f.user + "robot.Hex"));
    QVERIFY(!fs::exists(f.user + "robot.c.c"));
  }

  // The window as the user sees it after a build, in both languages; with KAVEL_WINDOW_SHOTS
  // set to a folder the pictures are kept there.
  void theWindowAfterASuccessfulAndAFailedBuild_data() {
    QTest::addColumn<bool>("japanese");
    QTest::addColumn<bool>("fails");
    QTest::newRow("en ok") << false << false;
    QTest::newRow("en error") << false << true;
    QTest::newRow("ja ok") << true << false;
    QTest::newRow("ja error") << true << true;
  }

  void theWindowAfterASuccessfulAndAFailedBuild() {
    QFETCH(bool, japanese);
    QFETCH(bool, fails);
    BuildFixture f;
    if (japanese) f.main->mmJpnClick();
    TfrmProg* main = f.prog(0);
    setRows(main, {row(kWait, kWait, 500), row(kCCode, kCCode, 0, 0, 0, fails ? "no_such_name = 1;" : "wait_ms(1);")});
    main->program().path = f.user + "robot.Kvl";
    f.ctx.settings.BuildJob = 0;
    QImage picture;
    f.prompts.onShow = [&](QDialog& dialog) {
      auto* w = qobject_cast<TfrmBuild*>(&dialog);
      w->show();
      w->sBarDblClick();
      w->ckDownLoad->setChecked(false);
      w->btnBuildClick();
      QVERIFY(QTest::qWaitFor([w] { return !w->running(); }, 30000));
      QApplication::processEvents();
      QVERIFY(w->memoErr->isVisible());
      QVERIFY(w->height() > 460);
      QCOMPARE(w->btnCancel->text(), QString::fromStdString(f.ctx.messages(fails ? 54 : 55)));
      if (fails) {
        // The picture shows where the error leads: the marked line of the upper pane.
        const int at = static_cast<int>(w->memoErr->toPlainText().split('\n').indexOf(QRegularExpression(".*:Error: .*")));
        QVERIFY(at >= 0);
        QTextCursor click(w->memoErr->document()->findBlockByNumber(at));
        click.movePosition(QTextCursor::EndOfBlock);
        w->memoErr->setTextCursor(click);
        QVERIFY(w->markedLine() >= 0);
        QApplication::processEvents();
      }
      picture = w->grab().toImage();
      w->btnCancelClick();
    };
    f.main->mmBuildClick();
    QVERIFY(!picture.isNull());
    const QString folder = qEnvironmentVariable("KAVEL_WINDOW_SHOTS");
    if (!folder.isEmpty()) {
      QDir().mkpath(folder);
      QVERIFY(picture.save(QString("%1/build_%2_%3.png").arg(folder, japanese ? "ja" : "en", fails ? "error" : "ok")));
    }
  }

  void theBuildPathItemChoosesAnotherBatchFile() {
    BuildFixture f;
    const fs::path other = fs::path(f.folder) / "Other";
    fs::copy(fs::path(f.batFile).parent_path(), other, fs::copy_options::recursive);
    f.prompts.openNames = {QString::fromStdString((other / "BuildPath.Bat").string())};
    f.main->action("mmBuildPathFolder")->trigger();
    QCOMPARE(f.ctx.settings.BatFile_, (other / "BuildPath.Bat").string());
    QCOMPARE(f.main->action("mmBuildPathFolder")->text(), QString::fromStdString(other.string() + "/"));
    const std::string ini = MainWindowFixture::read(f.iniPath);
    QVERIFY2(ini.find("BatFile_=" + (other / "BuildPath.Bat").string()) != std::string::npos, ini.c_str());

    // Cancelled: nothing changes.
    f.main->action("mmBuildPathFolder")->trigger();
    QCOMPARE(f.ctx.settings.BatFile_, (other / "BuildPath.Bat").string());
  }
};

QTEST_MAIN(MainWindowBuildTest)
#include "main_window_build_test.moc"
