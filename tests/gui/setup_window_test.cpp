#include <QtTest>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

#include "DialogFixture.h"
#include "ScriptedPrompts.h"
#include "core/setup/IoSetup.h"
#include "core/setup/SetupCodec.h"
#include "gui/app/TfrmMsgBox.h"
#include "gui/setup/TfrmSetup.h"

using namespace kavel;
using kavel::gui::TfrmSetup;

// The I/O setup window: connector popups, the option boxes' rules, OK's order and Cancel.
class SetupWindow : public QObject {
  Q_OBJECT

  test::DialogFixture f;
  testing::ScriptedPrompts prompts;
  gui::TfrmMsgBox* msgBox = nullptr;
  TfrmSetup* win = nullptr;

  QCheckBox* box(SetupBox b) const { return win->box[static_cast<std::size_t>(b)]; }
  void click(SetupBox b) {
    box(b)->setChecked(!box(b)->isChecked());
    win->boxClick(b);
  }

 private slots:
  void init() {
    prompts = {};
    f.ctx.io = IoSetup{};
    f.ctx.setup = SetupRecord{};
    f.ctx.settings.variant = 1;
    f.ctx.settings.MCU2620_ = 0;
    msgBox = new gui::TfrmMsgBox(f.ctx);
    win = new TfrmSetup(f.ctx, prompts, *msgBox, nullptr);
  }
  void cleanup() {
    delete win;
    delete msgBox;
  }

  void showsTheDecodedSetup() {
    f.ctx.setup = {8, {311111, 432031, 1002}, "robot"};
    f.ctx.io.cnName[0] = "Ball";
    win->FormShow();
    QCOMPARE(win->windowTitle(), QString("MORVANE Kavel for Wrenlet CORE Setup"));
    QCOMPARE(win->edtCmt->text(), QString("robot"));
    QCOMPARE(win->lblCmt->text(), QString("Comment"));
    QCOMPARE(win->pnlCN[0]->text(), QString("PING-In"));
    QCOMPARE(win->frmCN[0]->title(), QString("CN01 PING-In"));
    QCOMPARE(win->edtCN[0]->text(), QString("Ball"));
    QCOMPARE(win->pnlCN[6]->text(), QString("Servo"));
    QCOMPARE(win->edtCN[6]->palette().color(QPalette::Base), QColor(0xC0, 0xDC, 0xC0));
    QCOMPARE(win->frmCN[8]->title(), QString("CN09 Out (H)"));
    QCOMPARE(win->edtCN[1]->palette().color(QPalette::Base), QColor(0xA6, 0xCA, 0xF0));
    QVERIFY(win->ckAdv->isChecked());
    QVERIFY(!win->pnlAdv->isHidden());
    QVERIFY(box(SetupBox::ckID)->isChecked());
    QVERIFY(win->cmbID->isEnabled());
    QCOMPARE(win->cmbID->currentIndex(), 1);
    QVERIFY(box(SetupBox::ckUss)->isChecked());
    QVERIFY(box(SetupBox::ckMcb)->isChecked());
    QVERIFY(box(SetupBox::ckZBTM)->isHidden());
    QVERIFY(box(SetupBox::ckMCU2620)->isHidden());  // variants 0..2
    QVERIFY(!box(SetupBox::ckLcd)->isHidden());
  }

  // Placed at the right edge of the screen (beside the Setup button), the window widens with
  // Advanced Mode and must not leave the screen.
  void advancedModeKeepsTheWindowOnTheScreen() {
    win->FormShow();
    win->show();
    QVERIFY(QTest::qWaitForWindowExposed(win));
    const QRect area = win->screen()->availableVirtualGeometry();
    win->move(area.right() + 1 - win->frameGeometry().width(), area.top() + 40);
    QApplication::processEvents();
    const int narrow = win->width();
    click(SetupBox::ckAdv);
    QVERIFY(QTest::qWaitFor([&] { return win->width() > narrow; }));
    QApplication::processEvents();
    QVERIFY2(area.contains(win->frameGeometry()),
             qPrintable(QStringLiteral("%1,%2 %3x%4").arg(win->x()).arg(win->y()).arg(win->width()).arg(win->height())));
    if (const QString folder = qEnvironmentVariable("KAVEL_WINDOW_SHOTS"); !folder.isEmpty()) {
      QDir().mkpath(folder);
      QVERIFY(win->grab().save(folder + "/setup_advanced.png"));
    }
  }

  void popupFollowsTheNeighbours() {
    win->FormShow();
    auto offered = [&](int cn, int mode) {
      win->preparePopup(cn);
      const QAction* a = win->pmMode[static_cast<std::size_t>(mode)];
      if (!a->isVisible()) return QString("hidden");
      return QString(a->isEnabled() ? "shown" : "shown disabled");
    };
    QCOMPARE(offered(9, PingIn), QString("shown disabled"));  // CN10 is not PING yet
    QCOMPARE(offered(10, PingIn), QString("shown"));
    QCOMPARE(offered(3, PingIn), QString("hidden"));
    QCOMPARE(offered(8, Servo), QString("shown"));
    QCOMPARE(offered(6, Servo), QString("hidden"));
    QCOMPARE(offered(4, Input2Wire), QString("hidden"));
    win->chooseMode(10, PingIn);
    QCOMPARE(win->edtCN[9]->text(), QString("PING"));
    QCOMPARE(offered(9, PingIn), QString("shown"));
    win->chooseMode(9, PingIn);
    QCOMPARE(offered(10, Input), QString("shown disabled"));  // the block ends at CN10
    win->pnlAdvDblClick();
    QCOMPARE(offered(4, Input2Wire), QString("shown"));
    QVERIFY(!box(SetupBox::ckZBTM)->isHidden());
  }

  void outLOnCn9KeepsTypedNames() {
    win->FormShow();
    win->chooseMode(9, Input);
    win->chooseMode(9, OutL);
    QCOMPARE(win->edtCN[8]->text(), QString("RED3"));
    win->edtCN[8]->setText("Lamp");
    win->btnOkClick();  // the typed name goes into the setup
    win->FormShow();
    win->chooseMode(9, OutL);
    QCOMPARE(win->edtCN[8]->text(), QString("Lamp"));
  }

  void boxesFollowTheirRules() {
    win->FormShow();
    click(SetupBox::ckAdv);
    QVERIFY(!win->pnlAdv->isHidden());
    click(SetupBox::ckID);
    QVERIFY(win->cmbID->isEnabled());
    win->cmbID->setCurrentIndex(3);
    win->cmbIDCloseUp(3);
    click(SetupBox::ckDir);
    QCOMPARE(win->cmbID->currentIndex(), 0);  // a module makes the board the master again
    click(SetupBox::ckBno);
    QVERIFY(!box(SetupBox::ckDir)->isChecked());
    click(SetupBox::ckCLS);
    win->cmbIDCloseUp(2);
    QVERIFY(!box(SetupBox::ckBno)->isChecked());
    QVERIFY(!box(SetupBox::ckCLS)->isChecked());
    click(SetupBox::ckMcb);
    click(SetupBox::ckAdv);  // off: every option goes
    QVERIFY(win->pnlAdv->isHidden());
    QVERIFY(!box(SetupBox::ckMcb)->isChecked());
    QVERIFY(!box(SetupBox::ckID)->isChecked());
    QVERIFY(!win->cmbID->isEnabled());
  }

  void okStoresAndCancelKeepsPopupEdits() {
    win->FormShow();
    click(SetupBox::ckAdv);
    click(SetupBox::ckMcb);
    win->chooseMode(7, Servo);
    win->edtCmt->setText("arm");
    win->edtCN[0]->setText("Ball");
    win->btnOkClick();
    QCOMPARE(win->result(), int(QDialog::Accepted));
    QVERIFY(f.ctx.io.useMcb);
    QVERIFY(f.ctx.io.servoInUse);
    QCOMPARE(f.ctx.io.cnName[0], std::string("Ball"));
    QCOMPARE(f.ctx.setup.setupComment, std::string("arm"));
    QCOMPARE(f.ctx.setup.setupKind, 7);
    QCOMPARE(f.ctx.setup.setupValue[1], 410010);
    QCOMPARE(f.ctx.setup.setupValue[2], 2);
    QVERIFY(win->wantsSetupButton());

    win->FormShow();
    win->chooseMode(1, Thermistor);
    click(SetupBox::ckUss);
    win->edtCN[1]->setText("typed");
    win->btnCancelClick();
    QCOMPARE(win->result(), int(QDialog::Rejected));
    QCOMPARE(f.ctx.io.cnMode[0], int(Thermistor));  // the popup edits the setup directly
    QCOMPARE(f.ctx.io.cnName[0], std::string("Thermistor"));
    QVERIFY(!f.ctx.io.useUss);
    QCOMPARE(f.ctx.io.cnName[1], std::string());
    QCOMPARE(f.ctx.setup.setupValue[2], 2);
  }

  void variantWithLcdAndDefaultSetup() {
    f.ctx.settings.variant = 3;
    f.ctx.setup = {7, {222222, 220010, 2}, "x"};
    win->FormShow();
    QVERIFY(box(SetupBox::ckLcd)->isHidden());
    QVERIFY(box(SetupBox::ckLcd)->isChecked());
    QVERIFY(!box(SetupBox::ckMCU2620)->isHidden());
    prompts.mode = [](gui::TfrmMsgBox&) { return false; };
    win->btnDefClick();
    QCOMPARE(f.ctx.io.cnMode[0], int(OutH));  // No: nothing reset
    prompts.mode = [](gui::TfrmMsgBox&) { return true; };
    win->btnDefClick();
    QCOMPARE(prompts.modeTags, (std::vector<int>{1, 1}));
    QCOMPARE(win->pnlCN[0]->text(), QString("Input"));
    QCOMPARE(win->edtCN[0]->text(), QString("Ball"));
    QVERIFY(!win->ckAdv->isChecked());
    QCOMPARE(win->edtCmt->text(), QString());
    win->btnOkClick();
    QVERIFY(f.ctx.io.useLcd);
    QCOMPARE(f.ctx.setup.setupValue, (std::array<int, 3>{111111, 110000, 4}));
  }
};

QTEST_MAIN(SetupWindow)
#include "setup_window_test.moc"
