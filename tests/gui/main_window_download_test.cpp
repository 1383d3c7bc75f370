// The main window's Download command and its message log, offscreen: which HEX file it takes,
// the question before an image older than its programs, "PwrOn Run" as the build window last
// had it, and the board's lines in the message log.

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QtTest>

#include <filesystem>
#include <fstream>

#include "MainWindowFixture.h"
#include "Statements.h"
#include "VirtualBoardProcess.h"
#include "core/model/StatementKind.h"
#include "core/comm/DownloadSession.h"
#include "gui/app/SidePanel.h"
#include "gui/app/Workbench.h"
#include "gui/build/TfrmBuild.h"
#include "gui/comm/SerialLink.h"
#include "gui/comm/TfrmDownLoad.h"
#include "gui/editor/TfrmProg.h"

using namespace kavel;
using kavel::testing::MainWindowFixture;
using kavel::testing::VirtualBoardProcess;
namespace fs = std::filesystem;

namespace {

const std::string kHexText = ":00000001FF\r\n";

/// A Main program saved as robot.Kvl with its image robot.Hex beside it; the image is
/// `imageAge` seconds older (negative: newer) than the program file.
std::string savedProgramWithImage(MainWindowFixture& f, int imageAge) {
  const std::string kvl = f.write("robot.Kvl", "");
  Program& main = f.ctx.programs.main();
  main.path = kvl;
  main.modified = false;
  const std::string hex = f.write("robot.Hex", kHexText);
  fs::last_write_time(hex, fs::last_write_time(kvl) - std::chrono::seconds(imageAge));
  return hex;
}

/// Waits until no search runs and no download window session is left.
bool downloadSettled(MainWindowFixture& f) {
  return QTest::qWaitFor([&] { return !f.main->workbench().link().probing() && !f.main->frmDownLoad()->session(); },
                         8000);
}

}  // namespace

class MainWindowDownloadTest : public QObject {
  Q_OBJECT

 private slots:
  void aStaleImageIsNotSentWithoutAsking() {
    struct Case {
      const char* what;
      int imageAge;        // seconds the image is older than the program file
      bool modified;       // Main changed in its window
      int choice;          // 0 build and download, 1 download anyway, 2 cancel; -1 no question
      bool downloads;
    } cases[] = {
        {"up to date", -60, false, -1, true},
        {"file changed after the build, cancelled", 60, false, 2, false},
        {"file changed after the build, sent anyway", 60, false, 1, true},
        {"changed in its window, cancelled", -60, true, 2, false},
    };
    for (const Case& c : cases) {
      MainWindowFixture f;
      savedProgramWithImage(f, c.imageAge);
      f.ctx.programs.main().modified = c.modified;
      if (c.choice >= 0) f.prompts.choices.push_back(c.choice);
      f.main->action("mmDownLoad")->trigger();
      QVERIFY2(f.prompts.choiceButtons.size() == (c.choice >= 0 ? 1u : 0u), c.what);
      if (c.choice >= 0) {
        QCOMPARE(f.prompts.choiceButtons[0], (QStringList{"Build and Download", "Download Anyway", "Cancel"}));
        QVERIFY2(f.prompts.asked[0].text.contains("robot.Hex"), qPrintable(f.prompts.asked[0].text));
        QVERIFY2(f.prompts.asked[0].text.contains(c.modified ? "changed in its window" : "its file changed"),
                 qPrintable(f.prompts.asked[0].text));
      }
      const bool started = f.main->frmDownLoad()->session() != nullptr;
      QVERIFY2(started == c.downloads, c.what);
      downloadSettled(f);
    }

    // Build and Download builds first.
    MainWindowFixture f;
    savedProgramWithImage(f, 60);
    f.ctx.programs.main().appendRow(kavel::testing::row(kWait, kWait, 500));
    f.prompts.choices.push_back(0);
    f.main->action("mmDownLoad")->trigger();
    QCOMPARE(f.prompts.shown, std::vector<QString>{"frmBuild"});
    QVERIFY(!f.main->frmDownLoad()->session());
  }

  void aCancelledDownloadWindowMakesTheNextDownloadAskForTheFile() {
    VirtualBoardProcess board({"--mute"});
    MainWindowFixture f;
    f.ctx.settings.PortName = board.path();
    savedProgramWithImage(f, -60);
    // The window "closes" at once, as cancelled.
    f.main->action("mmDownLoad")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(!f.prompts.shown.empty(), 8000);
    QCOMPARE(f.prompts.shown.back(), QString("frmDownLoad"));
    QVERIFY(downloadSettled(f));
    QVERIFY(f.main->frmDownLoad()->hexFileForgotten());
    f.prompts.openNames.push_back(QString::fromStdString(f.user + "robot.Hex"));
    f.main->action("mmDownLoad")->trigger();
    QVERIFY2(f.prompts.openNames.empty(), "the file was asked for again");
    QVERIFY(!f.main->frmDownLoad()->hexFileForgotten());
    downloadSettled(f);
  }

  void pwrOnRunFollowsTheBuildWindowForEveryDownload() {
    MainWindowFixture f;
    f.ctx.settings.PortName = "/dev/kavel-no-such-port";
    savedProgramWithImage(f, -60);
    for (const bool on : {true, false, true}) {
      f.main->frmBuild()->ckPwrOnRun->setChecked(on);
      f.main->action("mmDownLoad")->trigger();
      QCOMPARE(f.main->frmDownLoad()->powerOnRun(), on);
      QVERIFY(downloadSettled(f));
    }
  }

  void theMessageLogShowsTheBoardsLines() {
    VirtualBoardProcess board;
    MainWindowFixture f;
    f.ctx.settings.PortName = board.path();
    SerialLink& link = f.main->workbench().link();
    QVERIFY(link.OpenPort(true).ok);
    QCOMPARE(link.SendText("Ver"), SendStatus::Sent);
    QPlainTextEdit* memo = f.main->findChild<QPlainTextEdit*>("memoMsg");
    QVERIFY(memo);
    // Lines that came while the log was hidden appear when the maintenance switch shows it.
    QTest::qWait(300);
    f.main->revealMaintenance();
    QVERIFY(memo->isVisible());
    QTRY_VERIFY(memo->toPlainText().contains("Wrenlet CORE Ver.2.10 vboard"));
    QCOMPARE(link.SendText("Ver"), SendStatus::Sent);
    QTRY_COMPARE(memo->toPlainText().count("Wrenlet CORE"), 2);
    link.ClosePort();
  }
};

QTEST_MAIN(MainWindowDownloadTest)
#include "main_window_download_test.moc"
