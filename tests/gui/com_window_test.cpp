// The communication settings dialog, offscreen, against the virtual board.

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include "ScriptedPrompts.h"
#include "VirtualBoardProcess.h"
#include "core/Context.h"
#include "gui/comm/SerialLink.h"
#include "gui/comm/TfrmCom.h"

using namespace kavel;
using kavel::gui::TfrmCom;
using kavel::testing::ScriptedPrompts;
using kavel::testing::VirtualBoardProcess;

class ComWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void textsFollowTheLanguageAndTheLineSettingsAreLocked() {
    struct Case {
      int language;
      const char* caption;
      const char* ok;
    };
    for (const Case& c : {Case{0, "通信設定", "設定"}, Case{1, "COMPORT SETUP", "OK"}, Case{2, "COMPORT SETUP", "OK"}}) {
      Context ctx;
      ctx.settings.LANG_NO_ = c.language;
      ctx.settings.PortName = "/dev/ttyS9";
      ctx.settings.BaudRate = 9600;
      SerialLink link(ctx);
      ScriptedPrompts prompts;
      TfrmCom com(ctx, link, prompts, nullptr);
      com.FormShow();
      QCOMPARE(com.windowTitle(), QString::fromUtf8(c.caption));
      QCOMPARE(com.findChild<QPushButton*>("btnOk")->text(), QString::fromUtf8(c.ok));
      QCOMPARE(com.cmbPort()->currentText(), QString("/dev/ttyS9"));
      QCOMPARE(com.cmbBaud()->currentText(), QString("9600"));
      QVERIFY(!com.cmbBaud()->isEnabled());
      QVERIFY(!com.edtRecvTout()->isEnabled());
      QVERIFY(com.cmbPort()->isEnabled());
      QVERIFY(com.ckRts()->isEnabled());
      QVERIFY(com.pnlProgress()->isHidden());

      QSignalSpy maintenance(&com, &TfrmCom::maintenanceRequested);
      com.FormDblClick();
      QCOMPARE(maintenance.count(), 1);
      QVERIFY(com.cmbBaud()->isEnabled());
      QVERIFY(com.edtRecvTout()->isEnabled());
      com.FormShow();
      QVERIFY2(!com.cmbBaud()->isEnabled(), "the switch lasts until the next show");
    }
  }

  void okAcceptsOnlyAPortThatOpens() {
    VirtualBoardProcess board;
    QVERIFY(!board.path().empty());
    Context ctx;
    ctx.settings.LANG_NO_ = 1;
    ctx.settings.PortName = "/dev/kavel-no-such-port";
    ctx.settings.RecvTout = 100;
    SerialLink link(ctx);
    ScriptedPrompts prompts;
    TfrmCom com(ctx, link, prompts, nullptr);
    com.FormShow();

    // A port that does not open: warned with the settings wording, old values back, still open.
    com.cmbPort()->setEditText("/dev/kavel-missing");
    com.FormDblClick();
    com.edtRecvTout()->setText("250");
    com.btnOkClick();
    QCOMPARE(prompts.asked.size(), std::size_t{1});
    QVERIFY(prompts.asked[0].text.contains("Can't connect to /dev/kavel-missing. Please select another port."));
    QCOMPARE(ctx.settings.PortName, std::string("/dev/kavel-no-such-port"));
    QCOMPARE(ctx.settings.RecvTout, 100);
    QCOMPARE(com.cmbPort()->currentText(), QString("/dev/kavel-no-such-port"));
    QCOMPARE(com.edtRecvTout()->text(), QString("100"));
    QCOMPARE(com.result(), int(QDialog::Rejected));
    QVERIFY(!link.isOpen());

    // The board's port opens: accepted, settings taken, the port left open; a box that holds no
    // number gives 100.
    com.cmbPort()->setEditText(QString::fromStdString(board.path()));
    com.edtRecvTout()->setText("soon");
    com.ckRts()->setChecked(true);
    com.btnOkClick();
    QCOMPARE(prompts.asked.size(), std::size_t{1});
    QCOMPARE(com.result(), int(QDialog::Accepted));
    QCOMPARE(ctx.settings.PortName, board.path());
    QCOMPARE(ctx.settings.RecvTout, 100);
    QVERIFY(ctx.settings.RTS_Cont);
    QVERIFY(link.isOpen());
    link.ClosePort();
  }

  void portSearchListsWhatOpensAndCancelStopsIt() {
    VirtualBoardProcess board;
    QVERIFY(!board.path().empty());
    Context ctx;
    ctx.settings.PortName = "COM3";
    SerialLink link(ctx);
    ScriptedPrompts prompts;
    TfrmCom com(ctx, link, prompts, nullptr);
    const std::string path = board.path();
    com.setPortSource([path] {
      return std::vector<PortInfo>{{"/dev/kavel-gone", "", "", ""}, {path, "Virtual board", "VB01", ""}};
    });
    com.FormShow();
    com.btnPortClick();
    QVERIFY(com.searching());
    QVERIFY(!com.pnlProgress()->isHidden());
    QTRY_VERIFY_WITH_TIMEOUT(!com.searching(), 3000);
    QVERIFY(com.pnlProgress()->isHidden());
    QCOMPARE(com.cmbPort()->count(), 1);
    QCOMPARE(com.cmbPort()->itemData(0).toString(), QString::fromStdString(path));
    QVERIFY(com.cmbPort()->itemText(0).contains("Virtual board"));
    QCOMPARE(com.cmbPort()->currentText(), QString("COM3"));
    QCOMPARE(ctx.settings.PortName, std::string("COM3"));
    QVERIFY(link.state().ReportOpenErrors);
    QVERIFY(!link.state().ProbeMode);
    QVERIFY(prompts.asked.empty());

    // Picking the listed port with its description still opens the device itself.
    com.cmbPort()->setCurrentIndex(0);
    com.btnOkClick();
    QCOMPARE(com.result(), int(QDialog::Accepted));
    QCOMPARE(ctx.settings.PortName, path);
    link.ClosePort();

    // Cancel during the search stops it and keeps the dialog; a second Cancel closes it.
    ctx.settings.PortName = "COM3";
    com.FormShow();
    com.setResult(QDialog::Rejected);
    com.setPortSource([] { return std::vector<PortInfo>(50, PortInfo{"/dev/kavel-gone", "", "", ""}); });
    com.btnPortClick();
    com.btnCancelClick();
    QTRY_VERIFY_WITH_TIMEOUT(!com.searching(), 3000);
    QCOMPARE(com.cmbPort()->count(), 0);
    QCOMPARE(com.cmbPort()->currentText(), QString("COM3"));
    com.show();
    com.btnCancelClick();
    QVERIFY(!com.isVisible());
  }

  // The port box offers this machine's ports and the stored one, never made-up names; the
  // search leaves a typed path alone; a speed the list lacks survives OK.
  void portBoxListsRealPortsAndKeepsWhatTheUserGave() {
    VirtualBoardProcess board;
    QVERIFY(!board.path().empty());
    Context ctx;
    ctx.settings.LANG_NO_ = 1;
    ctx.settings.PortName = board.path();
    ctx.settings.BaudRate = 14400;
    SerialLink link(ctx);
    ScriptedPrompts prompts;
    TfrmCom com(ctx, link, prompts, nullptr);
    com.setPortSource([] { return std::vector<PortInfo>{{"/dev/ttyUSB0", "FT232R USB UART", "A5", ""}}; });
    com.FormShow();
    QStringList ports;
    for (int i = 0; i < com.cmbPort()->count(); ++i) ports << com.cmbPort()->itemData(i).toString();
    QCOMPARE(ports, (QStringList{"/dev/ttyUSB0", QString::fromStdString(board.path())}));
    QCOMPARE(com.cmbPort()->currentText(), QString::fromStdString(board.path()));
    QCOMPARE(com.cmbBaud()->currentText(), QString("14400"));

    com.cmbPort()->setEditText("/dev/pts/typed-by-hand");
    com.btnPortClick();
    QTRY_VERIFY_WITH_TIMEOUT(!com.searching(), 3000);
    QCOMPARE(com.cmbPort()->currentText(), QString("/dev/pts/typed-by-hand"));

    com.cmbPort()->setEditText(QString::fromStdString(board.path()));
    com.btnOkClick();
    QCOMPARE(com.result(), int(QDialog::Accepted));
    QCOMPARE(ctx.settings.BaudRate, 14400);
    link.ClosePort();
  }
};

QTEST_MAIN(ComWindowTest)
#include "com_window_test.moc"
