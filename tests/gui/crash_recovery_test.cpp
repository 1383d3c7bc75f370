#include <QtTest>

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <csignal>
#include <fstream>
#include <iostream>

#include "MainWindowFixture.h"
#include "Statements.h"
#include "gui/app/AutoSave.h"
#include "gui/editor/CodeEditor.h"
#include "core/model/StatementKind.h"
#include "core/shell/RecoveryFile.h"
#include "core/shell/RecoveryFolder.h"

using namespace kavel;
using namespace kavel::testing;

namespace {

// The environment variable that turns this test program into the session that gets killed.
constexpr const char* kChildFolder = "KAVEL_TEST_CRASHED_SESSION";

const std::string kSettings = "[PRJ]\r\nDefPath_=@USER@\r\nDatPath_=@USER@\r\n[LANGUAGE]\r\nLANG_NO_=1\r\n";

QString en(const MainWindowFixture& f, int n) { return QString::fromStdString(f.ctx.messages.text(1, n)); }

// The rows every session of this test edits: a While around a motor and a wait row.
Program robot() {
  return programOf({row(kWhile, kUnconditional), row(kMotorForward, kMotorForward, 50, 40),
                    row(kWait, kWait, 1500, 0, 0, "\xE5\xBE\x85\xE3\x81\xA4"), row(kEnd, kClosesWhile)});
}

void editMain(gui::TfrmProg* prog, const std::string& path) {
  Program& p = prog->program();
  p.rows() = robot().rows();
  p.path = path;
  p.titleName = "robot";
  prog->rowsChanged();
  prog->setModified(true);
}

QStringList copiesIn(const std::string& folder) {
  return QDir(QString::fromStdString(recoveryFolderFor(folder + "kavelide.ini"))).entryList({"*.krec"}, QDir::Files);
}

// A recovery copy of a session that ended long ago (no lock file).
void plantCopy(const std::string& folder, const std::string& name, const std::string& bytes) {
  const std::string dir = recoveryFolderFor(folder + "kavelide.ini");
  QDir().mkpath(QString::fromStdString(dir));
  std::ofstream(dir + name, std::ios::binary) << bytes;
}

}  // namespace

class CrashRecoveryTest : public QObject {
  Q_OBJECT

 private slots:
  // Run only as the child of killedSessionIsOfferedAndRestored: a real main window whose Main
  // is changed and whose autosave then runs; it waits to be killed.
  void crashedSession() {
    const QByteArray folder = qgetenv(kChildFolder);
    if (folder.isEmpty()) QSKIP("runs only as the session that gets killed");
    Context ctx;
    ScriptedPrompts prompts;
    gui::MainOptions options;
    options.programFolder = std::string(KAVEL_BIN_DIR) + "/";
    options.iniPath = folder.toStdString() + "kavelide.ini";
    options.prompts = &prompts;
    gui::TfrmMain main(ctx, options);
    main.show();
    editMain(main.prog(0), folder.toStdString() + "User/robot.Kvl");
    QVERIFY(QTest::qWaitFor([&] { return !copiesIn(folder.toStdString()).isEmpty(); }, 20000));
    std::cout << "AUTOSAVED" << std::endl;
    QTest::qWait(600000);
  }

  void killedSessionIsOfferedAndRestored() {
    MainWindowFixture f(kSettings, false);
    const std::string folder = f.folder;
    f.main.reset();  // this test's own window is not the one that crashes

    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(kChildFolder, QString::fromStdString(folder));
    env.insert("KAVEL_AUTOSAVE_MS", "200");
    env.insert("QT_QPA_PLATFORM", "offscreen");
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), {"crashedSession"});
    QVERIFY(child.waitForStarted());
    QByteArray out;
    QVERIFY(QTest::qWaitFor([&] {
      child.waitForReadyRead(100);
      out += child.readAllStandardOutput();
      return out.contains("AUTOSAVED") || child.state() == QProcess::NotRunning;
    }, 60000));
    QVERIFY2(out.contains("AUTOSAVED"), out.constData());
    ::kill(static_cast<pid_t>(child.processId()), SIGKILL);
    QVERIFY(child.waitForFinished(10000));
    QCOMPARE(copiesIn(folder).size(), 1);

    // The next start offers the copy in one question and restores it on Yes.
    f.prompts.answers = {Answer::Yes};
    gui::MainOptions options;
    options.programFolder = std::string(KAVEL_BIN_DIR) + "/";
    options.iniPath = f.iniPath;
    options.prompts = &f.prompts;
    f.main = std::make_unique<gui::TfrmMain>(f.ctx, options);
    f.main->show();

    QCOMPARE(f.prompts.asked.size(), std::size_t(1));
    const QString question = f.prompts.asked[0].text;
    QVERIFY2(question.startsWith(en(f, 103)), qPrintable(question));
    QVERIFY2(question.contains("Main - [ robot ]  (" + QString::fromStdString(folder) + "User/robot.Kvl)"),
             qPrintable(question));

    const Program& main = f.ctx.programs.main();
    QVERIFY(main.rows() == robot().rows());
    QVERIFY(main.modified);
    QCOMPARE(main.path, folder + "User/robot.Kvl");
    QCOMPARE(f.prog(0)->windowTitle(), QStringLiteral("Main - [ robot ]"));
    // The restored program is modified: it has a copy again, of this session.
    QCOMPARE(copiesIn(folder).size(), 1);

    // Save puts it where it came from; a normal close then leaves no copy behind.
    f.prompts.saveNames.push_back(QString::fromStdString(folder + "User/robot.Kvl"));
    QVERIFY(f.main->mmSaveClick());
    QCOMPARE(f.prompts.saveProposals.back(), QString::fromStdString(folder + "User/robot"));
    f.main->close();
    QVERIFY(copiesIn(folder).isEmpty());
    QVERIFY(QFile::exists(QString::fromStdString(folder + "User/robot.Kvl")));
  }

  void theAutosaveFollowsTheModifiedMarkAndNeverTouchesTheUsersFile() {
    MainWindowFixture f(kSettings);
    gui::AutoSave* autosave = f.main->autoSave();
    QVERIFY(autosave);
    const std::string own = f.write("robot.Kvl", "the user's file");
    editMain(f.prog(0), own);
    autosave->saveNow();
    const QStringList copies = copiesIn(f.folder);
    QCOMPARE(copies.size(), 1);
    const RecoveryRead read = readRecoveryFile(autosave->folder().pathFor(0));
    QCOMPARE(read.verdict, RecoveryRead::Verdict::Ok);
    QCOMPARE(read.file.originalPath, own);
    QVERIFY(read.file.text.find("[0002]:sno:21,cno:21,val:000050-000040-000000") != std::string::npos);
    QCOMPARE(MainWindowFixture::read(own), std::string("the user's file"));

    // A Sub window's changes get their own copy; closing the Sub takes it away.
    gui::TfrmProg* sub = f.main->openProgramWindow(3);
    editMain(sub, "");
    autosave->saveNow();
    QCOMPARE(copiesIn(f.folder).size(), 2);
    f.main->closeProgramWindow(3);
    autosave->saveNow();
    QCOMPARE(copiesIn(f.folder).size(), 1);

    // Saved: the copy goes at once.
    QVERIFY(f.main->saveProgramAs(QString::fromStdString(own)));
    QVERIFY(copiesIn(f.folder).isEmpty());

    // The C-code style keeps Main's text.
    f.main->mmCodeClick();
    f.prog(0)->memoCode()->appendPlainText("// changed");
    autosave->saveNow();
    const RecoveryRead code = readRecoveryFile(autosave->folder().pathFor(0));
    QCOMPARE(code.file.content, RecoveryFile::Content::CCode);
    QVERIFY(code.file.text.find("// changed\r\n") != std::string::npos);
  }

  void aCCodeCopyBringsTheCCodeStyleBack() {
    MainWindowFixture f(kSettings, false);
    RecoveryFile copy;
    copy.content = RecoveryFile::Content::CCode;
    copy.originalPath = f.user + "robot.c";
    copy.text = "void user_main(void)\r\n{\r\n  led(1);\r\n}\r\n";
    plantCopy(f.folder, "1-ended_0.krec", recoveryFileBytes(copy));
    f.prompts.answers = {Answer::Yes};
    f.main->show();
    QCOMPARE(f.ctx.settings.EdtStyle, 1);
    QCOMPARE(f.prog(0)->codeLines(), (std::vector<std::string>{"void user_main(void)", "{", "  led(1);", "}"}));
    QVERIFY(f.ctx.programs.main().modified);
    QCOMPARE(f.ctx.programs.main().path, f.user + "robot.c");
  }

  void noDiscardsTheCopies() {
    MainWindowFixture f(kSettings, false);
    RecoveryFile copy;
    copy.window = 2;
    copy.text = "Title:Sub-2 [ New ] MORVANE Kavel for Wrenlet CORE  [ Ver.20190706 ]\r\n[0001]:sno:29,cno:29,val:000500-000000-000000,cmt:\r\n";
    plantCopy(f.folder, "1-ended_2.krec", recoveryFileBytes(copy));
    f.prompts.answers = {Answer::No};
    f.main->show();
    QCOMPARE(f.prompts.asked.size(), std::size_t(1));
    QVERIFY(f.prompts.asked[0].text.contains("Sub-2 [ New ]"));
    QVERIFY(!f.main->prog(2));
    QVERIFY(copiesIn(f.folder).isEmpty());
  }

  void damagedAndForeignCopiesAreNamedWithTheirReasonAndNeverLoaded() {
    struct Case {
      const char* what;
      std::vector<std::pair<std::string, std::string>> copies;  // file name, bytes
      int questions;                                             // 0 none, else asked once
      QStringList says;                                          // message numbers as text
      int left;                                                  // copies left afterwards
    };
    RecoveryFile good;
    good.text = "Title:Main - [ New ] MORVANE Kavel for Wrenlet CORE  [ Ver.20190706 ]\r\n[0001]:sno:20,cno:20,val:000000-000000-000000,cmt:\r\n";
    const std::string goodBytes = recoveryFileBytes(good);
    std::string later = goodBytes;
    later.replace(later.find("Version: 1"), 10, "Version: 9");
    const std::string torn = goodBytes.substr(0, goodBytes.size() - 5);

    MainWindowFixture probe(kSettings, false);
    const Case cases[] = {
        {"only a damaged copy: told, then removed", {{"1-a_0.krec", torn}}, 1, {en(probe, 137)}, 0},
        {"only another version's copy: kept, not asked", {{"1-a_0.krec", later}}, 0, {}, 1},
        {"good Main with a damaged Sub", {{"1-a_0.krec", goodBytes}, {"1-a_4.krec", torn}}, 1,
         {en(probe, 103), "Sub-4: " + en(probe, 137)}, 0},
        {"good Main with another version's Sub", {{"1-a_0.krec", goodBytes}, {"1-b_5.krec", later}}, 1,
         {en(probe, 103), "Sub-5: " + en(probe, 153)}, 1},
    };
    for (const Case& c : cases) {
      MainWindowFixture f(kSettings, false);
      for (const auto& [name, bytes] : c.copies) plantCopy(f.folder, name, bytes);
      f.prompts.answers = {Answer::Yes};
      f.main->show();
      QVERIFY2(f.prompts.asked.size() == static_cast<std::size_t>(c.questions), c.what);
      for (const QString& s : c.says) QVERIFY2(f.prompts.asked[0].text.contains(s), c.what);
      // A damaged copy never puts a single row anywhere; a good Main copy restores its one row.
      QVERIFY2(!f.main->prog(4) && !f.main->prog(5), c.what);
      const bool goodMain = c.copies.front().second == goodBytes;
      QVERIFY2(f.ctx.programs.main().size() == (goodMain ? 1u : 0u), c.what);
      QVERIFY2(copiesIn(f.folder).size() == c.left + (goodMain ? 1 : 0), c.what);  // + the restored Main's new copy
    }
  }
};

QTEST_MAIN(CrashRecoveryTest)
#include "crash_recovery_test.moc"
