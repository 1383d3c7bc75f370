// The motor balance window against the virtual board, offscreen: reading and saving the
// balance, the buttons, a board that does not answer, and the main window's command.

#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QtTest>

#include <memory>

#include "MainWindowFixture.h"
#include "ScriptedPrompts.h"
#include "VirtualBoardProcess.h"
#include "core/Context.h"
#include "gui/app/Workbench.h"
#include "gui/comm/SerialLink.h"
#include "gui/monitor/TfrmMotBal.h"

using namespace kavel;
using kavel::gui::TfrmMotBal;
using kavel::testing::MainWindowFixture;
using kavel::testing::ScriptedPrompts;
using kavel::testing::VirtualBoardProcess;

namespace {

QString m(int n) { return QStringLiteral("M%1").arg(n); }

// A board on a pseudo-terminal, the port open to it, the window as the command shows it.
struct Bench {
  explicit Bench(const std::vector<std::string>& boardOptions = {}) : board(boardOptions) {
    ctx.settings.LANG_NO_ = 1;
    ctx.settings.PortName = board.path();
    ctx.messages.setLanguage(1);
    for (const int n : {51, 56, 64, 66, 67}) ctx.messages.setText(1, n, m(n).toStdString());
    link = std::make_unique<SerialLink>(ctx);
    link->OpenPort(true);
    win = std::make_unique<TfrmMotBal>(ctx, *link, prompts, nullptr);
    win->show();  // the first show reads the board's values
  }
  QString panels() const {
    return win->pnlLeft()->text() + "|" + win->pnlRight()->text() + "|" + win->pnlThird()->text();
  }
  bool answered() const { return !win->waiting() && !win->pnlThird()->text().isEmpty(); }

  VirtualBoardProcess board;
  Context ctx;
  ScriptedPrompts prompts;
  std::unique_ptr<SerialLink> link;
  std::unique_ptr<TfrmMotBal> win;
};

}  // namespace

class MotorBalanceWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void firstShowReadsTheBoard() {
    Bench b;
    QVERIFY(b.link->state().motorBalanceListening);
    QCOMPARE(b.win->windowTitle(), QStringLiteral("Motor Balance"));
    QCOMPARE(b.win->btnClose()->text(), m(64));
    QCOMPARE(b.win->btnRead()->text(), m(56));
    QCOMPARE(b.win->btnSave()->text(), m(51));
    QVERIFY(b.win->waiting());
    QTRY_VERIFY_WITH_TIMEOUT(b.answered(), 3000);
    QCOMPARE(b.panels(), QStringLiteral("0|0|10"));  // the board's own values at start
    QCOMPARE(b.win->tBar()->value(), 0);
    QVERIFY(b.prompts.asked.empty());
    // Showing it again while open changes nothing.
    b.win->tBar()->setValue(-7);
    b.win->FormShow();
    QCOMPARE(b.win->tBar()->value(), -7);
    QVERIFY(!b.win->waiting());
  }

  void savesAndShowsWhatTheBoardKeeps() {
    Bench b;
    QTRY_VERIFY_WITH_TIMEOUT(b.answered(), 3000);
    b.win->tBar()->setValue(-30);
    QCOMPARE(b.panels(), QStringLiteral("-30|0|10"));
    b.win->btnSaveClick();
    QCOMPARE(b.panels(), QStringLiteral("||"));  // emptied until the board answers
    QTRY_VERIFY_WITH_TIMEOUT(b.answered(), 3000);
    QCOMPARE(b.panels(), QStringLiteral("-30|0|10"));
    QCOMPARE(b.win->tBar()->value(), -30);

    // The board kept it: another window reads it back.
    b.win->btnStepClick(60);  // -30 + 60: right motor reduced by 30
    b.win->btnUpClick();
    b.win->btnSaveClick();
    QTRY_VERIFY_WITH_TIMEOUT(b.answered(), 3000);
    b.win->btnMotorClick();
    QCOMPARE(b.panels(), QStringLiteral("0|0|11"));
    b.win->btnReadClick();
    QTRY_VERIFY_WITH_TIMEOUT(b.answered(), 3000);
    QCOMPARE(b.panels(), QStringLiteral("0|-30|11"));
    QCOMPARE(b.win->tBar()->value(), 30);
    QVERIFY(b.prompts.asked.empty());
  }

  void buttonsKeepTheirRanges() {
    Bench b;
    QTRY_VERIFY_WITH_TIMEOUT(b.answered(), 3000);
    struct Step {
      int delta, want;
    } steps[] = {{10, 10}, {1, 11}, {-1, 10}, {-10, 0}, {-10, -10}};
    for (const auto& s : steps) {
      b.win->btnStepClick(s.delta);
      QCOMPARE(b.win->tBar()->value(), s.want);
    }
    b.win->tBar()->setValue(235);
    b.win->btnStepClick(10);
    QCOMPARE(b.win->tBar()->value(), 240);
    QCOMPARE(b.win->pnlRight()->text(), QStringLiteral("-240"));
    for (int i = 0; i < 15; ++i) b.win->btnUpClick();
    QCOMPARE(b.win->pnlThird()->text(), QStringLiteral("20"));
    for (int i = 0; i < 25; ++i) b.win->btnDownClick();
    QCOMPARE(b.win->pnlThird()->text(), QStringLiteral("1"));
    // A reply with a third field of 000 shows 1.
    b.win->BalanceReply(QStringLiteral("B:000,025,000"));
    QCOMPARE(b.panels(), QStringLiteral("0|-25|1"));
    QCOMPARE(b.win->tBar()->value(), 25);
  }

  void aSilentBoardIsReported() {
    Bench b({"--mute"});
    QTRY_VERIFY_WITH_TIMEOUT(!b.win->waiting(), 3000);
    QCOMPARE(b.prompts.asked.size(), std::size_t{1});
    QCOMPARE(b.prompts.asked[0].title, QStringLiteral("Information"));
    QCOMPARE(b.prompts.asked[0].text, m(66) + "\r\n" + m(67));
    QVERIFY(b.prompts.asked[0].icon == kavel::testing::PromptIcon::Warning);
    QCOMPARE(b.panels(), QStringLiteral("||"));
    b.win->btnCloseClick();
    QVERIFY(!b.link->state().motorBalanceListening);
  }

  void theMainWindowOpensThePortOnlyForTheWindow() {
    VirtualBoardProcess board;
    MainWindowFixture f;
    f.ctx.settings.PortName = board.path();
    SerialLink& link = f.main->workbench().link();
    bool openWhileShown = false;
    f.prompts.onShow = [&](QDialog& dialog) {
      openWhileShown = link.isOpen() && &dialog == f.main->frmMotBal();
    };
    f.main->action("mmMotBalance")->trigger();
    QCOMPARE(f.prompts.shown, std::vector<QString>{"frmMotBal"});
    QVERIFY(openWhileShown);
    QVERIFY(!link.isOpen());
    QVERIFY(f.prompts.asked.empty());

    // No board on the port: the failure is shown and the window is not.
    f.prompts.shown.clear();
    f.ctx.settings.PortName = "/dev/kavel-no-such-port";
    f.main->action("mmMotBalance")->trigger();
    QVERIFY(f.prompts.shown.empty());
    QCOMPARE(f.prompts.asked.size(), std::size_t{1});
    QCOMPARE(f.prompts.asked[0].title, QStringLiteral("Warning!"));
    QVERIFY(f.prompts.asked[0].text.contains("/dev/kavel-no-such-port"));
  }
};

QTEST_MAIN(MotorBalanceWindowTest)
#include "motor_balance_window_test.moc"
