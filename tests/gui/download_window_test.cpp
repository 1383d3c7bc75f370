// The download window against the virtual board, offscreen: the whole transfer, a board that
// is not there, a loader that stops acknowledging, a refused banner, a bad file and Cancel.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

#include "ScriptedPrompts.h"
#include "VirtualBoardProcess.h"
#include "core/Context.h"
#include "gui/app/ClickLabel.h"
#include "gui/comm/SerialLink.h"
#include "gui/comm/TfrmDownLoad.h"

using namespace kavel;
using kavel::gui::TfrmDownLoad;
using kavel::testing::Answer;
using kavel::testing::ScriptedPrompts;
using kavel::testing::VirtualBoardProcess;

namespace {

const QString kHex = QStringLiteral(KAVEL_SOURCE_DIR "/tests/cli/data/hex/User.Hex");
const QString kHexLF = QStringLiteral(KAVEL_SOURCE_DIR "/tests/cli/data/hex/UserLF.Hex");
const QString kBadHex = QStringLiteral(KAVEL_SOURCE_DIR "/tests/cli/data/hex/BadChecksum.Hex");

QString m(int n) { return QStringLiteral("M%1").arg(n); }

// A board on a pseudo-terminal, the link open to it, the window shown as the command shows it.
struct Bench {
  explicit Bench(const std::vector<std::string>& boardOptions, int state = 1, const QString& hex = kHex)
      : board(boardOptions) {
    ctx.settings.LANG_NO_ = 1;
    ctx.settings.variant = 3;
    ctx.settings.MCU2620_ = 0;
    ctx.settings.PortName = board.path();
    ctx.messages.setLanguage(1);
    for (int n = 60; n <= 76; ++n) ctx.messages.setText(1, n, m(n).toStdString());
    link = std::make_unique<SerialLink>(ctx);
    win = std::make_unique<TfrmDownLoad>(ctx, *link, prompts, nullptr);
    if (state == 1) link->OpenPort(true);
    link->state().downloadState = state;
    win->setHexPath(hex);
    win->FormShow();
    win->show();
  }
  bool asked(int n) const {
    for (const auto& a : prompts.asked) {
      if (a.text == m(n)) return true;
    }
    return false;
  }
  VirtualBoardProcess board;
  Context ctx;
  ScriptedPrompts prompts;
  std::unique_ptr<SerialLink> link;
  std::unique_ptr<TfrmDownLoad> win;
};

}  // namespace

class DownloadWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void showsTheStateItStartsIn() {
    Bench found({"--mute"}, 1);
    QCOMPARE(found.win->lblMsg1()->text(), m(68));
    QVERIFY(found.win->lblMsg2()->text().isEmpty());
    QCOMPARE(found.win->btnStart()->text(), m(61));
    QVERIFY(found.win->progress()->isHidden());
    QVERIFY(found.win->ckAutoStart()->isChecked());
    QVERIFY(!found.win->ckAutoStart()->isEnabled());
    QCOMPARE(found.win->edtAckTout()->text(), QString::number(found.ctx.settings.Ack_Tout));
    QCOMPARE(found.win->windowTitle(), QString("Download"));
    Bench none({"--mute"}, 0);
    QCOMPARE(none.win->lblMsg1()->text(), m(66));
    QCOMPARE(none.win->lblMsg2()->text(), m(67));
  }

  void sendsTheImageAndClosesByItself_data() {
    QTest::addColumn<QString>("hex");
    QTest::newRow("CR LF") << kHex;
    QTest::newRow("LF only") << kHexLF;
  }
  void sendsTheImageAndClosesByItself() {
    QFETCH(QString, hex);
    Bench b({}, 1, hex);
    b.win->btnStartClick();
    QVERIFY(b.win->startRequest());
    QTRY_VERIFY_WITH_TIMEOUT(!b.win->isVisible(), 8000);
    QCOMPARE(b.win->result(), int(QDialog::Accepted));
    QVERIFY2(b.asked(73), "success is reported");
    QVERIFY(!b.asked(75));
    QCOMPARE(b.win->statusText(1), QString("WL Loader2520 Ver.1.05"));
    QCOMPARE(b.ctx.settings.LoaderText, std::string("WL Loader2520 Ver.1.05"));
    QVERIFY(b.win->memoRecv()->toPlainText().contains(":00000001FF"));
    QVERIFY(!b.win->memoRecv()->toPlainText().contains("Ack Tout!"));
    QCOMPARE(b.win->state(), 0);
  }

  void staysOpenInTheLargeForm() {
    Bench b({});
    b.win->sBarDblClick();
    QVERIFY(b.win->largeForm());
    QVERIFY(b.win->ckAutoStart()->isEnabled());
    b.win->btnStartClick();
    QTRY_VERIFY_WITH_TIMEOUT(b.asked(73), 8000);
    QVERIFY(b.win->isVisible());
    QCOMPARE(b.win->btnCancel()->text(), m(64));
    QCOMPARE(b.win->lblMsg2()->text(), m(70));
    QCOMPARE(b.win->state(), 3);
    b.win->btnCancelClick();
    QVERIFY(!b.win->isVisible());
  }

  void failuresStopTheTransferAndKeepTheWindow_data() {
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("hex");
    QTest::addColumn<bool>("ackTimeOut");
    QTest::newRow("no ack") << QStringList{"--no-ack-at", "3"} << kHex << true;
    QTest::newRow("error line") << QStringList{"--error-at", "3"} << kHex << false;
    QTest::newRow("hang-up") << QStringList{"--hangup-at", "3"} << kHex << false;
    QTest::newRow("bad checksum") << QStringList{} << kBadHex << false;
    QTest::newRow("missing file") << QStringList{} << QString("/nonexistent/User.Hex") << false;
  }
  void failuresStopTheTransferAndKeepTheWindow() {
    QFETCH(QStringList, options);
    QFETCH(QString, hex);
    QFETCH(bool, ackTimeOut);
    std::vector<std::string> opts;
    for (const QString& o : options) opts.push_back(o.toStdString());
    Bench b(opts, 1, hex);
    b.win->edtAckTout()->setText("300");
    b.win->btnStartClick();
    QTRY_VERIFY_WITH_TIMEOUT(b.asked(75), 8000);
    QVERIFY(!b.asked(73));
    QVERIFY(b.win->isVisible());
    QVERIFY(!b.win->sending());
    QVERIFY(!b.win->btnStart()->isEnabled());
    QVERIFY(b.win->btnChange()->isEnabled());
    QVERIFY(b.win->progress()->isHidden());
    QCOMPARE(b.win->lblMsg2()->text(), m(71));
    QCOMPARE(b.win->state(), 1);
    QCOMPARE(b.win->memoRecv()->toPlainText().contains("Ack Tout!"), ackTimeOut);
    if (hex == kBadHex) QVERIFY(b.win->statusText(1).startsWith("Can't open ... "));
    b.win->btnCancelClick();
    QVERIFY(!b.win->isVisible());
    QCOMPARE(b.ctx.settings.Ack_Tout, 300);
  }

  void cancelWhileSending() {
    Bench b({"--slow-ack", "150"});
    b.win->btnStartClick();
    QTRY_VERIFY_WITH_TIMEOUT(b.win->sending(), 5000);
    b.win->btnCancelClick();
    QVERIFY(b.asked(74));
    QVERIFY(!b.asked(75));
    QVERIFY(b.win->isVisible());
    QCOMPARE(b.win->state(), 1);
  }

  void refusedBannerClosesTheWindow() {
    Bench b({"--wrong-banner"});
    b.win->btnStartClick();
    QTRY_VERIFY_WITH_TIMEOUT(!b.win->isVisible(), 5000);
    QCOMPARE(b.prompts.asked.at(0).title, QString("Can't Download"));
    QVERIFY(b.prompts.asked.at(0).text.contains("QV7B Loader2620"));
    QVERIFY(!b.asked(73));
  }

  void noBoardAsksAndNoClosesTheWindow() {
    // The loader never asks for the file: no prompt within a second of "Reset".
    Bench b({"--no-prompt"});
    b.prompts.answers = {Answer::No};
    b.win->btnStartClick();
    QTRY_VERIFY_WITH_TIMEOUT(b.asked(76), 5000);
    QCOMPARE(b.prompts.asked.back().title, QString("Can't Download"));
    QVERIFY(!b.win->isVisible());
    QCOMPARE(b.win->state(), 0);

    // Yes keeps it, back in state 0 with the start button enabled.
    Bench yes({"--mute"}, 0);
    yes.prompts.answers = {Answer::Yes};
    yes.win->btnStartClick();
    QTRY_VERIFY_WITH_TIMEOUT(yes.asked(76), 20000);
    QVERIFY(yes.win->isVisible());
    QCOMPARE(yes.win->state(), 0);
    QVERIFY(yes.win->btnStart()->isEnabled());
  }

  void sendBoxHistory() {
    Bench b({"--mute"});
    b.win->cmbSend()->setEditText("Ver");
    b.win->cmbSendReturn();
    QCOMPARE(b.win->cmbSend()->count(), 1);
    b.win->cmbSendReturn();
    QCOMPARE(b.win->cmbSend()->count(), 1);
    b.win->btnSendClick();
    QCOMPARE(b.win->cmbSend()->count(), 1);
    b.win->lblViewDblClick();
    QCOMPARE(b.win->lblView()->text(), QString("Binary"));
    QVERIFY(b.link->state().binaryView);
    b.win->lblViewDblClick();
    QCOMPARE(b.win->lblView()->text(), QString("Text"));
  }

  // Enter in the terminal's send box files the text and moves on to Send; it never reaches
  // the default Start button (which would flash the board again). Enter on Send sends.
  void enterInTheTerminalNeverStartsTheDownload() {
    QTemporaryDir dir;
    const std::string log = (dir.path() + "/vboard.log").toStdString();
    Bench b({"--mute", "--verbose"});
    VirtualBoardProcess quiet({"--mute", "--verbose"}, log);
    b.link->ClosePort();
    b.ctx.settings.PortName = quiet.path();
    QVERIFY(b.link->OpenPort(true).ok);
    b.win->sBarDblClick();
    QCOMPARE(b.win->btnSend()->text(), QString("Send"));
    b.win->activateWindow();
    QLineEdit* edit = b.win->cmbSend()->lineEdit();
    edit->setFocus();
    edit->setText("Ver");
    QTest::keyClick(edit, Qt::Key_Return);
    QVERIFY2(!b.win->startRequest(), "Enter did not press Start");
    QCOMPARE(b.win->state(), 1);
    QCOMPARE(b.win->cmbSend()->count(), 1);
    QTRY_VERIFY(b.win->btnSend()->hasFocus());
    QTest::qWait(100);
    QVERIFY(VirtualBoardProcess::slurpLog(log).find("got \"") == std::string::npos);
    // Enter in a time-out box does nothing either.
    b.win->edtAckTout()->setFocus();
    QTest::keyClick(b.win->edtAckTout(), Qt::Key_Return);
    QVERIFY(!b.win->startRequest());
    b.win->btnSend()->setFocus();
    QTest::keyClick(b.win->btnSend(), Qt::Key_Return);
    QTRY_VERIFY(VirtualBoardProcess::slurpLog(log).find("got \"Ver") != std::string::npos);
    QVERIFY(!b.win->startRequest());

    b.ctx.settings.LANG_NO_ = 0;
    b.win->FormShow();
    QCOMPARE(b.win->btnSend()->text(), QString::fromUtf8("送信"));
  }

  // RTS control on and the board holding CTS: the terminal's text waits, "CTS Hold" shows in
  // the receive log, and the text goes out once CTS is released.
  void aTextWaitsForCtsWithANoteInTheLog() {
    class HeldPort final : public BoardPort {
     public:
      Millis releaseAt = 0;
      std::string written;
      OpenResult OpenPort() override {
        open_ = true;
        OpenResult r;
        r.ok = true;
        return r;
      }
      void ClosePort() override { open_ = false; }
      bool isOpen() const override { return open_; }
      int descriptor() const override { return -1; }
      SendStatus SendBytes(std::string_view bytes) override {
        written.append(bytes);
        return SendStatus::Sent;
      }
      ReadStatus readAvailable(std::string&) override { return ReadStatus::Nothing; }
      bool ctsHolds() const override { return steadyMillis() < releaseAt; }

     private:
      bool open_ = false;
    };
    Context ctx;
    ctx.settings.LANG_NO_ = 1;
    ctx.settings.RTS_Cont = true;
    auto owned = std::make_unique<HeldPort>();
    HeldPort& port = *owned;
    SerialLink link(ctx, std::move(owned));
    ScriptedPrompts prompts;
    TfrmDownLoad win(ctx, link, prompts, nullptr);
    QVERIFY(link.OpenPort(true).ok);
    link.state().downloadState = 1;
    win.setHexPath(kHex);
    win.FormShow();
    win.show();
    win.sBarDblClick();
    port.releaseAt = steadyMillis() + 300;
    win.cmbSend()->setEditText("Ver");
    win.btnSendClick();
    QVERIFY(win.memoRecv()->toPlainText().contains("CTS Hold"));
    QVERIFY(port.written.empty());
    QTRY_COMPARE_WITH_TIMEOUT(QString::fromStdString(port.written), QString("Ver\r\n"), 3000);
  }

  void theCommandFindsTheBoardAndClosesThePortAfterwards() {
    VirtualBoardProcess board;
    Context ctx;
    ctx.settings.PortName = board.path();
    SerialLink link(ctx);
    ScriptedPrompts prompts;
    TfrmDownLoad win(ctx, link, prompts, nullptr);
    win.DownLoad(kHex);
    QTRY_COMPARE_WITH_TIMEOUT(prompts.shown.size(), std::size_t{1}, 5000);
    QCOMPARE(prompts.shown[0], QString("frmDownLoad"));
    QVERIFY2(!link.isOpen(), "the port is closed when the window has closed");
    QVERIFY2(!win.hexFileKnown(), "a cancelled window forgets the file");
  }
};

QTEST_MAIN(DownloadWindowTest)
#include "download_window_test.moc"
