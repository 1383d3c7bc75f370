// The download window (small, sending, and enlarged into the terminal) and the communication
// settings window against the virtual board, in English and Japanese. With KAVEL_SERIAL_SHOTS
// set to a folder the pictures are kept there, to look at the windows as a user sees them.

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QtTest>

#include <memory>

#include "ScriptedPrompts.h"
#include "VirtualBoardProcess.h"
#include "core/Context.h"
#include "gui/comm/SerialLink.h"
#include "gui/comm/TfrmCom.h"
#include "gui/comm/TfrmDownLoad.h"

using namespace kavel;
using kavel::gui::TfrmCom;
using kavel::gui::TfrmDownLoad;
using kavel::testing::ScriptedPrompts;
using kavel::testing::VirtualBoardProcess;

namespace {

const QString kHex = QStringLiteral(KAVEL_SOURCE_DIR "/tests/cli/data/hex/User.Hex");

void keep(const QImage& image, const QString& name) {
  QVERIFY(!image.isNull());
  const QString folder = qEnvironmentVariable("KAVEL_SERIAL_SHOTS");
  if (folder.isEmpty()) return;
  QDir().mkpath(folder);
  QVERIFY(image.save(folder + "/" + name + ".png"));
}

// A button shows its whole caption.
bool captionFits(const QPushButton* b) {
  return b->fontMetrics().horizontalAdvance(b->text()) + 8 <= b->width();
}

}  // namespace

class SerialWindowPictures : public QObject {
  Q_OBJECT

 private slots:
  void paintsTheSerialWindowsInBothLanguages_data() {
    QTest::addColumn<int>("language");
    QTest::newRow("English") << 1;
    QTest::newRow("Japanese") << 0;
  }

  void paintsTheSerialWindowsInBothLanguages() {
    QFETCH(int, language);
    const QString suffix = language == 0 ? "ja" : "en";
    VirtualBoardProcess board({"--slow-ack", "60"});
    QVERIFY(!board.path().empty());
    Context ctx;
    ctx.settings.LANG_NO_ = language;
    ctx.settings.variant = 3;
    ctx.settings.PortName = board.path();
    ctx.messages.load(0, KAVEL_BIN_DIR "/Japanese.Txt");
    ctx.messages.load(1, KAVEL_BIN_DIR "/English.Txt");
    ctx.messages.setLanguage(language);
    SerialLink link(ctx);
    ScriptedPrompts prompts;
    TfrmDownLoad win(ctx, link, prompts, nullptr);
    QVERIFY(link.OpenPort(true).ok);
    link.state().downloadState = 1;
    win.setHexPath(kHex);
    win.FormShow();
    win.show();
    QApplication::processEvents();
    keep(win.grab().toImage(), "download_" + suffix);

    win.btnStartClick();
    QVERIFY(QTest::qWaitFor([&] { return win.progress()->isVisible() && win.progress()->value() > 200; }, 8000));
    keep(win.grab().toImage(), "download_sending_" + suffix);
    QVERIFY(QTest::qWaitFor([&] { return !win.isVisible(); }, 8000));

    QVERIFY(link.OpenPort(true).ok);
    link.state().downloadState = 1;
    win.FormShow();
    win.show();
    win.sBarDblClick();
    win.cmbSend()->setEditText("Ver");
    win.cmbSendReturn();
    win.btnSendClick();
    // Whatever the board answers (its program, or its loader when "R" had not reached it yet).
    QVERIFY(QTest::qWaitFor([&] { return !win.memoRecv()->toPlainText().trimmed().isEmpty(); }, 5000));
    QApplication::processEvents();
    QVERIFY(captionFits(win.btnSend()));
    keep(win.grab().toImage(), "download_terminal_" + suffix);
    win.btnCancelClick();

    TfrmCom com(ctx, link, prompts, nullptr);
    com.setPortSource([] {
      return std::vector<PortInfo>{{"/dev/ttyUSB0", "FT232R USB UART", "A50285BI", ""},
                                   {"/dev/ttyACM0", "Arduino Uno", "", ""}};
    });
    com.show();
    QApplication::processEvents();
    QVERIFY(com.cmbPort()->count() == 3);
    keep(com.grab().toImage(), "com_" + suffix);
    com.FormDblClick();
    QApplication::processEvents();
    keep(com.grab().toImage(), "com_maintenance_" + suffix);
  }
};

QTEST_MAIN(SerialWindowPictures)
#include "serial_window_pictures_test.moc"
