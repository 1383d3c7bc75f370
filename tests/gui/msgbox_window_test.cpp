#include <QtTest>

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "core/Context.h"
#include "gui/app/TfrmMsgBox.h"

using kavel::Context;
using kavel::gui::TfrmMsgBox;

namespace {

void loadEnglish(Context& ctx) {
  QVERIFY(ctx.messages.load(1, KAVEL_SOURCE_DIR "/data/English.Txt"));
  ctx.messages.setLanguage(1);
}

QString msg(const Context& ctx, int n) { return QString::fromStdString(ctx.messages(n)); }

int& modeOf(Context& ctx, int tag) { return tag == 0 ? ctx.settings.BuildJob : ctx.settings.SetupDef; }

}  // namespace

class MsgBoxWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void captionsAndCurrentModeByTag_data() {
    QTest::addColumn<int>("tag");
    QTest::addColumn<int>("label");
    QTest::addColumn<int>("group");
    QTest::addColumn<int>("firstChoice");
    QTest::newRow("build save mode") << 0 << 148 << 15 << 16;
    QTest::newRow("new program setup mode") << 1 << 36 << 37 << 38;
  }
  void captionsAndCurrentModeByTag() {
    QFETCH(int, tag);
    QFETCH(int, label);
    QFETCH(int, group);
    QFETCH(int, firstChoice);
    Context ctx;
    loadEnglish(ctx);
    modeOf(ctx, tag) = 2;
    TfrmMsgBox w(ctx);
    QCOMPARE(w.size(), QSize(398, 144));
    w.setTag(tag);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));

    QCOMPARE(w.windowTitle(), msg(ctx, 45));
    QCOMPARE(w.btnUpdate->text(), msg(ctx, 46));
    QCOMPARE(w.btnOk->text(), msg(ctx, 149));
    QCOMPARE(w.btnCancel->text(), msg(ctx, 150));
    QCOMPARE(w.lblMsg->text(), msg(ctx, label));
    QCOMPARE(w.pnlMsg->title(), msg(ctx, group));
    for (int i = 0; i < 3; ++i) QCOMPARE(w.rbMode[i]->text(), msg(ctx, firstChoice + i));
    QVERIFY(w.rbMode[2]->isChecked());
    QVERIFY(!w.rbMode[0]->isChecked() && !w.rbMode[1]->isChecked());
    QVERIFY(!w.btnUpdate->isEnabled());
    QCOMPARE(w.focusWidget(), w.btnOk);
    // The question is shown whole however long the language's wording is.
    const QRect needed = QFontMetrics(w.lblMsg->font())
                             .boundingRect(QRect(0, 0, w.lblMsg->width(), 10000), Qt::TextWordWrap, w.lblMsg->text());
    QVERIFY(needed.height() <= w.lblMsg->height());
    QVERIFY(!msg(ctx, label).isEmpty());
  }

  void anotherChoiceWithoutUpdateKeepsTheMode() {
    Context ctx;
    ctx.settings.BuildJob = 1;
    TfrmMsgBox w(ctx);
    w.setTag(0);
    w.FormShow();
    w.rbMode[2]->click();
    QVERIFY(w.btnUpdate->isEnabled());
    w.btnOkClick();
    QCOMPARE(w.result(), int(QDialog::Accepted));
    QCOMPARE(ctx.settings.BuildJob, 1);
  }

  void updateStoresTheChoiceEvenWhenTheAnswerIsNo() {
    Context ctx;
    ctx.settings.SetupDef = 1;
    ctx.settings.BuildJob = 1;
    TfrmMsgBox w(ctx);
    w.setTag(1);
    w.FormShow();
    w.rbMode[0]->click();
    w.btnUpdateClick();
    QCOMPARE(ctx.settings.SetupDef, 0);
    QCOMPARE(ctx.settings.BuildJob, 1);
    QVERIFY(!w.btnUpdate->isEnabled());
    w.btnCancelClick();
    QCOMPARE(w.result(), int(QDialog::Rejected));
    QCOMPARE(ctx.settings.SetupDef, 0);

    // The next showing starts from the stored mode with Update off again.
    w.rbMode[2]->click();
    w.FormShow();
    QVERIFY(w.rbMode[0]->isChecked());
    QVERIFY(!w.btnUpdate->isEnabled());
  }

  void aModeOutsideTheChoicesSelectsNone() {
    Context ctx;
    ctx.settings.BuildJob = 7;
    TfrmMsgBox w(ctx);
    w.setTag(0);
    w.FormShow();
    for (auto* rb : w.rbMode) QVERIFY(!rb->isChecked());
    w.btnUpdateClick();  // nothing selected: nothing stored
    QCOMPARE(ctx.settings.BuildJob, 7);
    w.rbMode[1]->click();
    w.btnUpdateClick();
    QCOMPARE(ctx.settings.BuildJob, 1);
  }
};

QTEST_MAIN(MsgBoxWindowTest)
#include "msgbox_window_test.moc"
