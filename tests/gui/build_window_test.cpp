// The build window run from its handlers, offscreen, against a copy of the sample build folder:
// the tool chain runs in a real QProcess and the test waits for it by polling the event loop.

#include <QtTest>

#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSplitter>
#include <QTextBlock>

#include <filesystem>
#include <fstream>
#include <memory>
#include <unistd.h>

#include "ScriptedPrompts.h"
#include "Statements.h"
#include "TempFolder.h"
#include "core/Context.h"
#include "core/build/BuildFolderLock.h"
#include "core/model/ProgramFile.h"
#include "core/model/StatementKind.h"
#include "core/text/TextFile.h"
#include "gui/build/TfrmBuild.h"

using kavel::Context;
using kavel::Statement;
using kavel::gui::BuildWindowServices;
using kavel::gui::TfrmBuild;
using kavel::testing::ScriptedPrompts;
using kavel::testing::row;
namespace fs = std::filesystem;

namespace {

QString msg(const Context& ctx, int n) { return QString::fromStdString(ctx.messages(n)); }

std::string slurp(const std::string& path) {
  std::string bytes;
  kavel::text::readFileBytes(path, bytes);
  return bytes;
}

// A fresh copy of the sample build folder and a Main program saved beside it.
struct Bench {
  explicit Bench(const char* name) : temp(std::string("kavel-build-window-") + name), dir(temp.path()) {
    fs::create_directories(dir / "Build");
    fs::copy(KAVEL_BIN_DIR "/Build/Build_V190617", dir / "Build" / "Build_V190617", fs::copy_options::recursive);
    ctx.messages.load(1, KAVEL_SOURCE_DIR "/data/English.Txt");
    ctx.messages.setLanguage(1);
    ctx.settings.BatFile_ = (dir / "Build" / "Build_V190617" / "BuildPath.Bat").string();
    ctx.settings.DatPath_ = dir.string() + "/";
    ctx.settings.MCU2620_ = 1;
  }

  void saveMain(const std::vector<Statement>& rows) {
    kavel::Program p(0);
    for (const Statement& s : rows) p.appendRow(s);
    const std::string file = (dir / "robot.Kvl").string();
    kavel::ProgramFileContext fc{ctx.settings, ctx.io, ctx.setup, ctx.messages, kavel::mainWindowTitle()};
    QVERIFY(kavel::writeProgramFile(p, file, fc));
    QVERIFY(kavel::readProgramFile(ctx.programs.main(), file, fc).ok);
    ctx.programs.current = 0;
  }

  std::string buildFile(const std::string& name) const { return (dir / "Build" / "Build_V190617" / name).string(); }

  kavel::testing::TempFolder temp;
  fs::path dir;
  Context ctx;
  ScriptedPrompts prompts;
};

QStringList titles(const ScriptedPrompts& p) {
  QStringList out;
  for (const auto& a : p.asked) out << a.title;
  return out;
}

}  // namespace

class BuildWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void shownForANewBuild() {
    Bench b("shown");
    b.saveMain({row(kavel::kWait, kavel::kWait, 500)});
    TfrmBuild w(b.ctx, b.prompts);
    w.FormShow();
    QCOMPARE(w.windowTitle(), QString("Kavel Build"));
    QCOMPARE(w.btnBuild->text(), msg(b.ctx, 53));
    QCOMPARE(w.btnCancel->text(), msg(b.ctx, 54));
    QVERIFY(w.ckDownLoad->isChecked());
    QVERIFY(!w.ckDownLoad->isEnabled());
    QVERIFY(w.ckPwrOnRun->isHidden());
    QVERIFY(w.memoErr->isHidden());
    QVERIFY(w.pBar->isHidden());
    QCOMPARE(w.pnlFileName->text(), QString("robot.Kvl"));
    QCOMPARE(w.sBarPanel1->text(), QString("18F2620"));
    QCOMPARE(w.sBarPanel2->text(), QString::fromStdString(b.buildFile("")));

    // The hidden gesture: a double click on the status bar frees "DownLoad" and shows "PwrOn Run".
    w.sBarDblClick();
    QVERIFY(w.ckDownLoad->isEnabled());
    QVERIFY(!w.ckPwrOnRun->isHidden());
  }

  void buildsAProgramWhileTheWindowStaysResponsive() {
    Bench b("success");
    b.saveMain({row(kavel::kWait, kavel::kWait, 500), row(kavel::kGreenLedOn, kavel::kGreenLedOn, 1, 1)});
    const char* pathBefore = std::getenv("PATH");
    TfrmBuild w(b.ctx, b.prompts);
    w.show();
    w.sBarDblClick();
    w.ckDownLoad->setChecked(false);  // no download: the window stays and offers Close
    w.btnBuildClick();
    QVERIFY(w.running());
    QVERIFY(!w.btnBuild->isEnabled());
    QVERIFY(!w.btnCancel->isEnabled());
    QVERIFY(!w.pBar->isHidden());
    QTRY_VERIFY_WITH_TIMEOUT(!w.running(), 30000);

    QCOMPARE(titles(b.prompts), QStringList{"Complete!"});
    QCOMPARE(b.prompts.asked[0].text, msg(b.ctx, 58));
    QCOMPARE(w.BuildResult, 1);
    QCOMPARE(w.btnCancel->text(), msg(b.ctx, 55));
    QVERIFY(w.btnBuild->isEnabled());
    QVERIFY(w.pBar->isHidden());
    QVERIFY(!w.memoErr->isHidden());
    QVERIFY(w.memoErr->toPlainText().contains("Errors    : 0"));
    QVERIFY(w.memoBuild->toPlainText().contains("|void user_main(void)"));
    QCOMPARE(slurp((b.dir / "robot.Hex").string()), slurp(b.buildFile("User.Hex")));
    QCOMPARE(slurp((b.dir / "robot.c").string()), slurp(b.buildFile("User.c")));
    QCOMPARE(QString(std::getenv("PATH")), QString(pathBefore));

    // The status bar switches the error pane between M_Type.h and err.txt.
    w.sBarDblClick();
    QVERIFY(w.memoErr->toPlainText().startsWith("#define MCU_2620"));
    w.sBarDblClick();
    QVERIFY(w.memoErr->toPlainText().contains("Errors    : 0"));

    QSignalSpy done(&w, &QDialog::finished);
    w.btnCancelClick();
    QCOMPARE(done.count(), 1);
    QCOMPARE(w.result(), int(QDialog::Accepted));
  }

  void successWithDownloadClosesWithOk() {
    Bench b("download");
    b.saveMain({row(kavel::kWait, kavel::kWait, 500)});
    TfrmBuild w(b.ctx, b.prompts);
    w.show();
    w.btnBuildClick();
    QTRY_VERIFY_WITH_TIMEOUT(!w.running(), 30000);
    QCOMPARE(w.result(), int(QDialog::Accepted));
    QVERIFY(w.ckDownLoad->isChecked());
    QCOMPARE(w.BuildResult, 1);
  }

  void programKeptAsCSourceIsCopiedAndNumbered() {
    Bench b("csource");
    b.ctx.settings.EdtStyle = 1;
    const std::string source = (b.dir / "robot.c").string();
    std::ofstream(source, std::ios::binary)
        << "#include \"M_Main.h\"\r\n#include \"M_I2C.h\"\r\nvoid user_main(void)\r\n{\r\n\twait_ms(10);\r\n}\r\n";
    b.ctx.programs.main().path = source;
    TfrmBuild w(b.ctx, b.prompts);
    w.show();
    QVERIFY(w.Splitter1->isHidden());
    w.sBarDblClick();
    w.ckDownLoad->setChecked(false);
    w.btnBuildClick();
    QTRY_VERIFY_WITH_TIMEOUT(!w.running(), 30000);
    QCOMPARE(titles(b.prompts), QStringList{"Complete!"});
    QCOMPARE(slurp(b.buildFile("User.c")), slurp(source));
    QVERIFY(w.memoBuild->toPlainText().startsWith("0001|#include \"M_Main.h\"\n0002|"));
    QVERIFY(w.memoBuild->toPlainText().contains("0005|  wait_ms(10);"));
    QVERIFY(fs::exists(b.dir / "robot.Hex"));
    QVERIFY2(slurp(source).find("void user_main") != std::string::npos, "the user's source is never overwritten");
    QVERIFY(!w.memoErr->isHidden());
  }

  void compileErrorIsLocatedFromTheErrorPane() {
    Bench b("error");
    b.saveMain({row(kavel::kWait, kavel::kWait, 500), row(kavel::kCCode, kavel::kCCode, 0, 0, 0, "no_such_name = 1;")});
    std::vector<std::pair<int, int>> rowsShown;
    BuildWindowServices services;
    services.showProgramRow = [&rowsShown](int program, int r) { rowsShown.emplace_back(program, r); };
    TfrmBuild w(b.ctx, b.prompts, services);
    w.show();
    w.btnBuildClick();
    QTRY_VERIFY_WITH_TIMEOUT(!w.running(), 30000);
    QCOMPARE(titles(b.prompts), QStringList{"Warning!"});
    QCOMPARE(b.prompts.asked[0].text, msg(b.ctx, 59));
    QCOMPARE(w.BuildResult, 0);
    QVERIFY(!w.ckDownLoad->isChecked());
    QCOMPARE(w.btnCancel->text(), msg(b.ctx, 54));
    QCOMPARE(w.sBarPanel1->text(), QString("18F2620"));  // showing err.txt is no click

    const QStringList lines = w.memoErr->toPlainText().split('\n');
    int at = -1;
    for (int i = 0; i < lines.size(); ++i) {
      if (lines[i].contains("Error:") && lines[i].contains("no_such_name")) at = i;
    }
    QVERIFY2(at >= 0, qPrintable(w.memoErr->toPlainText()));
    const QString number = lines[at].section(':', 1, 1);
    QTextCursor cursor(w.memoErr->document()->findBlockByNumber(at));
    cursor.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, 3);
    w.memoErr->setTextCursor(cursor);
    QCOMPARE(w.sBarPanel1->text(), QString("%1:  4").arg(at + 1, 6));
    // The panel shows the number the build pane shows on the line the error names; the pane
    // marks that line, and the row that produced it (Main's row 1) is shown.
    const QString prefix = QString("%1").arg(number.toInt(), 3, 10, QChar('0'));
    QCOMPARE(w.sBarPanel2->text(), prefix);
    QVERIFY(w.memoBuild->toPlainText().contains(prefix + "|  no_such_name = 1;"));
    QCOMPARE(w.markedLine(), number.toInt() - 1);
    QCOMPARE(w.memoBuild->document()->findBlockByNumber(w.markedLine()).text(), prefix + "|  no_such_name = 1;");
    QCOMPARE(rowsShown, (std::vector<std::pair<int, int>>{{0, 1}}));
    // A line that is no error changes only the caret position.
    const int plain = static_cast<int>(lines.indexOf(QRegularExpression("Errors .*")));
    QVERIFY(plain >= 0);
    w.memoErr->setTextCursor(QTextCursor(w.memoErr->document()->findBlockByNumber(plain)));
    QVERIFY(w.sBarPanel2->text().isEmpty());
    QCOMPARE(rowsShown.size(), std::size_t{1});

    QSignalSpy done(&w, &QDialog::finished);
    w.btnCancelClick();
    QCOMPARE(w.result(), int(QDialog::Rejected));
  }

  void missingFolderAsksForTheBuildPath() {
    Bench b("missing");
    b.saveMain({row(kavel::kWait, kavel::kWait, 500)});
    b.ctx.settings.BatFile_ = (b.dir / "gone" / "BuildPath.Bat").string();
    int changed = 0;
    BuildWindowServices services;
    services.programFolder = b.dir.string() + "/";
    services.buildPathChanged = [&changed] { ++changed; };
    TfrmBuild w(b.ctx, b.prompts, services);
    w.FormShow();
    b.prompts.openNames.push_back(QString::fromStdString(b.buildFile("BuildPath.Bat")));
    w.btnBuildClick();
    QVERIFY(!w.running());
    QCOMPARE(b.prompts.asked.size(), std::size_t(1));
    QCOMPARE(b.prompts.asked[0].text, msg(b.ctx, 57));
    QCOMPARE(b.prompts.asked[0].title, msg(b.ctx, 44));
    QCOMPARE(changed, 1);
    QCOMPARE(b.ctx.settings.BatFile_, b.buildFile("BuildPath.Bat"));
    QCOMPARE(w.sBarPanel2->text(), QString::fromStdString(b.buildFile("")));

    // Cancelled: BatFile_ stays at the sample folder of the program folder.
    b.ctx.settings.BatFile_ = (b.dir / "gone" / "BuildPath.Bat").string();
    w.FormShow();
    w.btnBuildClick();
    QCOMPARE(b.ctx.settings.BatFile_, b.dir.string() + "/Build/Build_V190617/BuildPath.Bat");
    QCOMPARE(changed, 1);
  }

  void saveStepCanStopTheBuild() {
    Bench b("save");
    b.saveMain({row(kavel::kWait, kavel::kWait, 500)});
    int asked = 0;
    BuildWindowServices services;
    services.saveBeforeBuild = [&asked] { return ++asked > 1; };
    TfrmBuild w(b.ctx, b.prompts, services);
    w.FormShow();
    w.btnBuildClick();
    QCOMPARE(asked, 1);
    QVERIFY(!w.running());
    QVERIFY(!fs::exists(b.buildFile("User.c")));
    w.btnBuildClick();
    QVERIFY(w.running());
    QTRY_VERIFY_WITH_TIMEOUT(!w.running(), 30000);
  }

  void batchFileThatCannotStartOrNeverEnds() {
    Bench b("stuck");
    b.saveMain({row(kavel::kWait, kavel::kWait, 500)});
    fs::remove(b.buildFile("cl2620.Bat"));
    TfrmBuild w(b.ctx, b.prompts);
    w.show();
    w.btnBuildClick();
    QVERIFY(!w.running());
    QCOMPARE(titles(b.prompts), (QStringList{"Kavel Build", "Warning!"}));
    QCOMPARE(b.prompts.asked[0].text, QString("Prosess Error!"));
    QCOMPARE(w.BuildResult, 0);

    // Never ends: the progress bar moves, the window keeps working, closing it stops the run.
    std::ofstream(b.buildFile("cl2620.Bat")) << "echo waiting\nsleep 60\n";
    b.prompts.asked.clear();
    w.FormShow();
    w.btnBuildClick();
    QTRY_VERIFY_WITH_TIMEOUT(w.pBar->value() >= 20, 10000);
    QVERIFY(w.running());
    w.reject();
    QVERIFY2(w.isVisible(), "the window stays to show what the tool chain wrote");
    QTRY_VERIFY_WITH_TIMEOUT(!w.running(), 10000);
    QCOMPARE(titles(b.prompts), QStringList{"Warning!"});
    QVERIFY(w.memoErr->toPlainText().contains("waiting"));
  }

  void anotherBuildInTheFolderIsWaitedFor() {
    // Before, a window build and a console build in one folder swapped their programs.
    Bench b("busy");
    b.saveMain({row(kavel::kWait, kavel::kWait, 500)});
    auto other = std::make_unique<kavel::BuildFolderLock>();
    QCOMPARE(other->tryAcquire(b.buildFile(""), "kavel build"), kavel::BuildFolderLock::State::Held);
    TfrmBuild w(b.ctx, b.prompts);
    w.show();
    w.sBarDblClick();
    w.ckDownLoad->setChecked(false);
    w.btnBuildClick();
    QVERIFY(w.waitingForFolder());
    QVERIFY(w.sBarPanel2->text().contains(
        QString("Waiting for another build in this folder to end (kavel build, process %1)").arg(::getpid())));
    QVERIFY(w.btnCancel->isEnabled());
    QVERIFY(!w.btnBuild->isEnabled());
    QVERIFY2(!fs::exists(b.buildFile("User.c")), "nothing is written while the other build runs");
    // KAVEL_WINDOW_SHOTS names a folder for a picture of the waiting window.
    if (const QString folder = qEnvironmentVariable("KAVEL_WINDOW_SHOTS"); !folder.isEmpty()) {
      w.grab().save(folder + "/build_waiting.png");
    }

    other.reset();  // the other build ends
    QTRY_VERIFY_WITH_TIMEOUT(!w.waitingForFolder(), 5000);
    QTRY_VERIFY_WITH_TIMEOUT(!w.running(), 30000);
    QCOMPARE(w.BuildResult, 1);
    QVERIFY(fs::exists(b.dir / "robot.Hex"));

    // Cancel stops the waiting; a folder held past the time-out is named.
    other = std::make_unique<kavel::BuildFolderLock>();
    QCOMPARE(other->tryAcquire(b.buildFile(""), "kavel build"), kavel::BuildFolderLock::State::Held);
    b.prompts.asked.clear();
    w.FormShow();
    w.btnBuildClick();
    QVERIFY(w.waitingForFolder());
    w.reject();
    QVERIFY(!w.running());
    QVERIFY(w.isVisible());
    QVERIFY(w.btnBuild->isEnabled());
    QVERIFY(b.prompts.asked.empty());

    w.setFolderWait(300);
    w.btnBuildClick();
    QTRY_VERIFY_WITH_TIMEOUT(!w.running(), 5000);
    QCOMPARE(b.prompts.asked.size(), std::size_t{1});
    QVERIFY2(b.prompts.asked[0].text.contains("is still in use by another build (kavel build"),
             qPrintable(b.prompts.asked[0].text));
    QVERIFY(w.btnBuild->isEnabled());
  }

  void anOldImageThatStaysFailsTheBuild() {
    // A User.Hex that cannot be removed would pass for this build's image.
    Bench b("stale");
    b.saveMain({row(kavel::kWait, kavel::kWait, 500)});
    fs::create_directory(b.buildFile("User.Hex"));
    TfrmBuild w(b.ctx, b.prompts);
    w.show();
    w.btnBuildClick();
    QTRY_VERIFY_WITH_TIMEOUT(!w.running(), 30000);
    QCOMPARE(w.BuildResult, 0);
    QCOMPARE(titles(b.prompts), (QStringList{"Kavel Build", "Warning!"}));
    QVERIFY(b.prompts.asked[0].text.contains("The old User.Hex in the build folder"));
    QVERIFY(!fs::exists(b.dir / "robot.Hex"));
  }
};

QTEST_MAIN(BuildWindowTest)
#include "build_window_test.moc"
