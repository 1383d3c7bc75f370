#include <QtTest>

#include <deque>

#include "MainWindowFixture.h"
#include "gui/dialogs/StatementDialog.h"
#include "gui/dialogs/TfrmCondition.h"
#include "gui/editor/Palette.h"
#include "core/model/StatementKind.h"

using namespace kavel;
using namespace kavel::testing;
using gui::TfrmProg;

// The palette, a row's value button and the condition chooser reach the real statement
// dialogs, and what each confirms lands in the row.
class DialogWiring : public QObject {
  Q_OBJECT

  struct Script {
    explicit Script(MainWindowFixture& f) {
      f.prompts.edit = [this](DialogKind kind, gui::StatementDialog* d) {
        if (!d) {
          opened.push_back(QStringLiteral("none"));
          return EditOutcome::Unavailable;
        }
        opened.push_back(d->objectName());
        if (d->objectName() != QLatin1String(dialogName(kind))) return EditOutcome::Unavailable;
        d->FormShow();
        if (auto* chooser = qobject_cast<gui::TfrmCondition*>(d)) {
          chooser->btnConditionClick(conditions.front());
          conditions.pop_front();
        } else {
          d->btnOkClick();
        }
        return d->result() == QDialog::Accepted ? EditOutcome::Ok : EditOutcome::Cancel;
      };
    }
    std::vector<QString> opened;
    std::deque<int> conditions;
  };

 private slots:
  void everyKindReachesItsDialog() {
    MainWindowFixture f;
    f.ctx.io.cnName[0] = "Ball";
    f.ctx.io.cnName[8].clear();
    f.ctx.io.cnMode[6] = f.ctx.io.cnMode[7] = Servo;
    Script s(f);
    TfrmProg* main = f.prog();
    const auto append = [&](int kind) { main->insertStatement(static_cast<int>(main->program().size()), kind); };

    f.main->pnlButton()->click(QStringLiteral("btnWait"));
    main->layoutClick();
    f.main->pnlButton()->click(QStringLiteral("btnLed"));
    main->layoutClick();
    for (int kind : {int(kTimer), int(kVariable), int(kPwm), int(kServo), int(kOutput), int(kLcd)}) append(kind);
    s.conditions = {kSensorTest};
    append(kIf);

    const std::vector<QString> expected{"TfrmTimer", "TfrmLed",   "TfrmTimer", "TfrmVar",    "TfrmPwm",
                                        "TfrmServo", "TfrmOutCn", "TfrmLcd",   "TfrmCondition", "TfrmSensor"};
    QCOMPARE(s.opened, expected);
    const std::vector<QString> texts{"Wait: 1.0 sec",
                                     "Red1-LED: off",
                                     "Timer1: Start",
                                     "A = 0",
                                     "   000   000   000   000   000   000",
                                     "CN7:   0%",
                                     "OUT CN9 = Low",
                                     "Line1: \"\"",
                                     "CN1 < 30%  //Ball"};
    for (std::size_t i = 0; i < texts.size(); ++i) QCOMPARE(main->rowText(static_cast<int>(i)), texts[i]);
    QCOMPARE(main->program().rows()[1].sno, int(kRedLedOff));

    // Changing the condition to a variable test, then to an output test.
    const int ifRow = 8;
    s.opened.clear();
    s.conditions = {kVariable, kOutput};
    main->changeCondition(ifRow);
    main->changeCondition(ifRow);
    QCOMPARE(s.opened, (std::vector<QString>{"TfrmCondition", "TfrmVar", "TfrmCondition", "TfrmOutCn"}));
    QCOMPARE(main->program().rows()[ifRow].sno, int(kIf));
    QCOMPARE(main->rowText(ifRow), QString("OUT CN9 == Low"));

    // A value button reopens the row's dialog with the row's values.
    s.opened.clear();
    main->valueClick(0);
    QCOMPARE(s.opened, std::vector<QString>{"TfrmTimer"});
    QCOMPARE(main->program().rows()[0].val0, 1000);
  }
};

QTEST_MAIN(DialogWiring)
#include "dialog_wiring_test.moc"
