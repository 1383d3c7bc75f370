#include <QtTest>

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>

#include <functional>

#include "DialogFixture.h"
#include "ScriptedPrompts.h"
#include "gui/app/TfrmMsgBox.h"
#include "gui/build/TfrmCode.h"
#include "gui/setup/TfrmSetup.h"
#include "gui/dialogs/DialogSet.h"
#include "gui/dialogs/StatementDialog.h"
#include "gui/dialogs/TfrmCondition.h"
#include "core/model/StatementKind.h"

using namespace kavel;
using namespace kavel::gui;

// Opens every dialog in both languages as the user sees it and checks that it fits on the
// screen and that no caption is cut. With KAVEL_DIALOG_SHOTS naming a folder, each picture is
// also written there for a look.
class DialogPictures : public QObject {
  Q_OBJECT

  struct Scene {
    const char* name;
    std::function<void(test::DialogFixture&)> prepare;
    std::function<StatementDialog*(DialogSet&)> dialog;
  };

  static std::vector<Scene> scenes() {
    return {
        {"speed",
         [](test::DialogFixture& f) { f.edit(kMotorForward, kMotorForward, 50, 50, 0, "forward"); },
         [](DialogSet& s) { return s.forSubjectKind(kMotorForward); }},
        {"speed_variable",
         [](test::DialogFixture& f) { f.edit(kMotorVariable, kMotorVariable, -100, 30, 3000); },
         [](DialogSet& s) { return s.forSubjectKind(kMotorVariable); }},
        {"condition_all",
         [](test::DialogFixture& f) {
           f.ctx.io.useDir = f.ctx.io.useUss = f.ctx.io.usePixy = f.ctx.io.useSnx4410 = true;
           f.ctx.io.outputInUse = f.ctx.io.advancedMode = true;
           f.edit(kWhile, kVariable);
         },
         [](DialogSet& s) { return s.condition(); }},
        {"condition_if", [](test::DialogFixture& f) { f.edit(kIf, 0); },
         [](DialogSet& s) { return s.condition(); }},
        {"repeat", [](test::DialogFixture& f) { f.edit(kFor, kRepeatCount, 10, 0, 0, "ten times"); },
         [](DialogSet& s) { return s.forSubjectKind(kRepeatCount); }},
        {"sensor",
         [](test::DialogFixture& f) {
           f.ctx.io.cnMode[9] = PingIn;
           f.ctx.io.cnName[9] = "PING";
           f.edit(kIf, kSensorTest, 25, 91, 0, "PING");
         },
         [](DialogSet& s) { return s.forSubjectKind(kSensorTest); }},
        {"sensor_subio",
         [](test::DialogFixture& f) {
           f.ctx.io.subIoOn = true;
           f.ctx.io.cnName[2] = "Line";
           f.edit(kWhile, kSensorTest, 0, 20021, 320000);
         },
         [](DialogSet& s) { return s.forSubjectKind(kSensorTest); }},
        {"var_statement",
         [](test::DialogFixture& f) { f.edit(kVariable, kVariable, 10 * 10000 + 27 * 10 + 1, 5, 0, "K"); },
         [](DialogSet& s) { return s.forSubjectKind(kVariable); }},
        {"var_condition_subio",
         [](test::DialogFixture& f) {
           f.ctx.io.subIoOn = true;
           f.ctx.io.useUss = true;
           f.edit(kIf, kVariableItem, 2 * 10000 + 5 * 1000 + 3 * 10 + 1, 28, 20000);
         },
         [](DialogSet& s) { return s.forSubjectKind(kVariableItem); }},
        {"timer", [](test::DialogFixture& f) { f.edit(kWait, kWait, 1500, 0, 0, "a moment"); },
         [](DialogSet& s) { return s.forSubjectKind(kWait); }},
        {"timer_statement", [](test::DialogFixture& f) { f.edit(kTimer, kTimer, 0, 20000); },
         [](DialogSet& s) { return s.forSubjectKind(kTimer); }},
        {"timer_condition", [](test::DialogFixture& f) { f.edit(kWhile, kTimer, 2500, 10301); },
         [](DialogSet& s) { return s.forSubjectKind(kTimer); }},
        {"led", [](test::DialogFixture& f) { f.edit(kRedLedOn, kRedLedOn, 2, 1, 0, "warning lamp"); },
         [](DialogSet& s) { return s.forSubjectKind(kRedLedOn); }},
        {"outcn",
         [](test::DialogFixture& f) {
           f.ctx.io.cnName[9] = "RED2";
           f.edit(kOutput, kOutput, 9, 1);
         },
         [](DialogSet& s) { return s.forSubjectKind(kOutput); }},
        {"pwm", [](test::DialogFixture& f) { f.edit(kPwm, kPwm, 75502, 999000, 250413, "arm"); },
         [](DialogSet& s) { return s.forSubjectKind(kPwm); }},
        {"servo",
         [](test::DialogFixture& f) {
           f.ctx.io.cnMode[6] = f.ctx.io.cnMode[7] = Servo;
           f.edit(kServo, kServo, 80030, 0, 0, "gripper");
         },
         [](DialogSet& s) { return s.forSubjectKind(kServo); }},
        {"lcd", [](test::DialogFixture& f) { f.edit(kLcd, kLcd, 0, 0, 0, "Hello, robot!"); },
         [](DialogSet& s) { return s.forSubjectKind(kLcd); }},
        {"lcd_variables", [](test::DialogFixture& f) { f.edit(kLcd, kLcd, 140102, 30400); },
         [](DialogSet& s) { return s.forSubjectKind(kLcd); }},
        {"uss", [](test::DialogFixture& f) { f.edit(kIf, kUltrasonic, 1200, 20001, 0, "wall ahead"); },
         [](DialogSet& s) { return s.forSubjectKind(kUltrasonic); }},
        {"uss_control", [](test::DialogFixture& f) { f.edit(kUltrasonic, kUltrasonic, 0, 1); },
         [](DialogSet& s) { return s.forSubjectKind(kUltrasonic); }},
        {"dir", [](test::DialogFixture& f) { f.edit(kIf, kDirectionTest, 90010, 2000, 0, "east"); },
         [](DialogSet& s) { return s.forSubjectKind(kDirectionTest); }},
        {"snx4410", [](test::DialogFixture& f) { f.edit(kIf, kGamePadTest, 0x4000, 3); },
         [](DialogSet& s) { return s.forSubjectKind(kGamePadTest); }},
        {"pixy", [](test::DialogFixture& f) { f.edit(kIf, kCameraTest, 340102, 100080, 0, "ball"); },
         [](DialogSet& s) { return s.forSubjectKind(kCameraTest); }},
        {"pixy_getpixy", [](test::DialogFixture& f) { f.edit(kIf, kCameraTest, 0, 0); },
         [](DialogSet& s) { return s.forSubjectKind(kCameraTest); }},
        {"subprog", [](test::DialogFixture& f) { f.edit(kSubCall, kSubCall, 30, 0, 0, "Grab"); },
         [](DialogSet& s) { return s.forSubjectKind(kSubCall); }},
        {"subprog_return", [](test::DialogFixture& f) { f.edit(kReturn, kReturn, 0, 0, 0, "early"); },
         [](DialogSet& s) { return s.forSubjectKind(kReturn); }},
        {"code", [](test::DialogFixture& f) { f.edit(kCCode, kCCode, 0, 0, 0, "motor(50, 50);  \t// go"); },
         [](DialogSet& s) {
           s.code()->setLibraryPath(KAVEL_SOURCE_DIR "/data/C-CodeLib.Txt");
           return s.code();
         }},
    };
  }

  static QString where(const QWidget* w) {
    return QString("%1 (%2) %3x%4 wants %5x%6")
        .arg(w->objectName(), w->metaObject()->className())
        .arg(w->width())
        .arg(w->height())
        .arg(w->sizeHint().width())
        .arg(w->sizeHint().height());
  }

  // Fits on the screen, nothing cut; written to KAVEL_DIALOG_SHOTS under the data tag.
  static void checkAndShoot(QWidget* d) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY(screen.contains(d->frameGeometry()));
    for (QWidget* w : d->findChildren<QWidget*>()) {
      if (!w->isVisible()) continue;
      const QRect inDialog(w->mapTo(d, QPoint(0, 0)), w->size());
      QVERIFY2(d->rect().contains(inDialog), qPrintable(where(w)));
      if (qobject_cast<QLabel*>(w)) QVERIFY2(w->width() >= w->sizeHint().width(), qPrintable(where(w)));
      if (auto* b = qobject_cast<QAbstractButton*>(w); b && !b->text().isEmpty()) {
        const int needed = b->fontMetrics().horizontalAdvance(b->text()) +
                           (b->icon().isNull() ? 0 : b->iconSize().width() + 4) + 8;
        QVERIFY2(b->width() >= needed, qPrintable(where(w)));
      }
      if (auto* c = qobject_cast<QComboBox*>(w)) {
        QVERIFY2(c->width() >= c->minimumSizeHint().width(), qPrintable(where(w)));
      }
      if (auto* g = qobject_cast<QGroupBox*>(w)) {
        QVERIFY2(g->width() >= g->fontMetrics().horizontalAdvance(g->title()) + 16, qPrintable(where(w)));
      }
    }

    const QString folder = qEnvironmentVariable("KAVEL_DIALOG_SHOTS");
    if (!folder.isEmpty()) {
      QDir().mkpath(folder);
      QVERIFY(d->grab().save(QDir(folder).filePath(QString("%1.png").arg(QTest::currentDataTag()))));
    }
  }

 private slots:
  void fitsAndShowsWholeCaptions_data() {
    QTest::addColumn<int>("language");
    QTest::addColumn<int>("scene");
    for (int language : {1, 0}) {
      for (int i = 0; i < int(scenes().size()); ++i) {
        QTest::newRow(qPrintable(QString("%1_%2").arg(scenes()[i].name, language == 0 ? "ja" : "en")))
            << language << i;
      }
    }
  }
  void fitsAndShowsWholeCaptions() {
    QFETCH(int, language);
    QFETCH(int, scene);
    test::DialogFixture f;
    f.ctx.messages.setLanguage(language);
    DialogSet set(f.ctx, f.glyphs, nullptr);
    const Scene s = scenes()[static_cast<std::size_t>(scene)];
    s.prepare(f);
    StatementDialog* d = s.dialog(set);
    d->FormShow();
    d->placeAt(QPoint(0, 0));
    d->show();
    QVERIFY(QTest::qWaitForWindowExposed(d));

    checkAndShoot(d);
    d->hide();
  }

  void setupWindowFits_data() {
    QTest::addColumn<int>("language");
    QTest::addColumn<int>("variant");
    for (int language : {1, 0}) {
      const char* suffix = language == 0 ? "ja" : "en";
      QTest::newRow(qPrintable(QString("setup_%1").arg(suffix))) << language << 3;
      QTest::newRow(qPrintable(QString("setup_basic_%1").arg(suffix))) << language << 1;
    }
  }
  void setupWindowFits() {
    QFETCH(int, language);
    QFETCH(int, variant);
    test::DialogFixture f;
    testing::ScriptedPrompts prompts;
    f.ctx.messages.setLanguage(language);
    f.ctx.settings.variant = variant;
    f.ctx.io.cnName = {"Ball", "Line", "L-Touch", "R-Touch", "", "", "Servo", "PING", "PING", "PING"};
    f.ctx.setup = {8, {111161, 433331, variant > 2 ? 1005 : 0}, "two-wheel robot"};
    if (variant <= 2) f.ctx.setup.setupValue[1] = 110000;
    gui::TfrmMsgBox box(f.ctx);
    gui::TfrmSetup w(f.ctx, prompts, box, nullptr);
    w.FormShow();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    checkAndShoot(&w);
  }
};

QTEST_MAIN(DialogPictures)
#include "dialog_pictures_test.moc"
