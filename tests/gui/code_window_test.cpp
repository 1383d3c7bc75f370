#include <QtTest>

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>

#include <fstream>

#include "DialogFixture.h"
#include "ScriptedPrompts.h"
#include "core/model/StatementKind.h"
#include "gui/build/TfrmCode.h"

using namespace kavel;
using kavel::gui::TfrmCode;

// The C-code window over a small library: code and remark, the matching row, inserting with
// blanked parameters, the browser of the C-code style, and a missing library.
class CodeWindow : public QObject {
  Q_OBJECT

  test::DialogFixture f;
  testing::ScriptedPrompts prompts;
  QTemporaryDir dir;
  TfrmCode* win = nullptr;

  std::string libraryPath() const { return dir.filePath("C-CodeLib.Txt").toStdString(); }

 private slots:
  void initTestCase() {
    std::ofstream lib(libraryPath(), std::ios::binary);
    lib << "// notes\r\n"
           "void motor(int l, int r);\t// both motors\r\n"
           "void wait_ms(unsigned int t);\t// wait\r\n"
           "#define LED_ON\t1\t// LED on\r\n"
           "int gV[26]\t// variables\r\n";
  }
  void init() {
    prompts = {};
    win = new TfrmCode(f.ctx, nullptr, &prompts);
    win->setLibraryPath(libraryPath());
  }
  void cleanup() { delete win; }

  void splitsAndJoinsCodeAndRemark() {
    f.edit(kCCode, kCCode, 0, 0, 0, "a = 1;  \t// set");
    win->FormShow();
    QCOMPARE(win->windowTitle(), QString("C-Code Library"));
    QCOMPARE(win->edtCode->text(), QString("a = 1;"));
    QCOMPARE(win->edtRemark->text(), QString("set"));
    QCOMPARE(win->sGridFunc->rowCount(), 2);
    QCOMPARE(win->sGridDef->rowCount(), 1);
    QCOMPARE(win->sGridVar->rowCount(), 1);
    QVERIFY(win->sGridFunc->isColumnHidden(3));
    QVERIFY(!win->sGridDef->isColumnHidden(3));
    win->edtRemark->clear();
    win->btnOkClick();
    QCOMPARE(f.ctx.edit.cmt, std::string("a = 1;"));
    QVERIFY(prompts.asked.empty());
  }

  void selectsTheMatchingRow_data() {
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("tab");
    QTest::addColumn<int>("row");
    QTest::newRow("empty: wait_ms") << "" << 0 << 1;
    QTest::newRow("a call") << "motor(50, 50);" << 0 << 0;
    QTest::newRow("a define") << "LED_ON" << 1 << 0;
    QTest::newRow("an array") << "gV[3] = 1;" << 2 << 0;
    QTest::newRow("nothing matches") << "xyz" << 0 << 0;
  }
  void selectsTheMatchingRow() {
    QFETCH(QString, code);
    QFETCH(int, tab);
    QFETCH(int, row);
    f.edit(kCCode, kCCode, 0, 0, 0, code.toStdString());
    win->FormShow();
    QCOMPARE(win->tabLib->currentIndex(), tab);
    QCOMPARE(static_cast<QTableWidget*>(win->tabLib->currentWidget())->currentRow(), row);
  }

  void insertsWithBlankedParameters() {
    f.edit(kIf, kCCode, 0, 0, 0, "");
    win->FormShow();  // selects wait_ms
    win->btnCodeClick();
    QCOMPARE(win->edtCode->text(), QString("wait_ms(              )"));  // a condition: no ";"
    f.edit(kCCode, kCCode, 0, 0, 0, "x = 1; ");
    win->FormShow();
    win->tabLib->setCurrentIndex(0);
    win->sGridFunc->selectRow(0);
    win->btnCodeClick();
    QCOMPARE(win->edtCode->text(), QString("x = 1; motor(     ,      );"));
    QCOMPARE(win->edtCode->cursorPosition(), int(win->edtCode->text().size()));
    win->btnClearClick();
    QVERIFY(win->edtCode->text().isEmpty());
  }

  void browserInsertsAtTheCaret() {
    QPlainTextEdit source;
    source.setPlainText("void main(void)\n{\n\n}");
    QTextCursor caret = source.textCursor();
    caret.setPosition(18);
    source.setTextCursor(caret);
    f.edit(kIf, kIf);  // whatever the buffer holds, the browser inserts whole entries
    win->openBrowser(&source, QPoint(0, 0));
    QVERIFY(win->isBrowser());
    QVERIFY(!win->isModal());
    QVERIFY(win->edtCode->isHidden());
    QVERIFY(win->btnOk->isHidden());
    QCOMPARE(win->btnCancel->text(), QString("Close"));
    QCOMPARE(win->tabLib->currentIndex(), 0);
    win->btnCodeClick();
    QCOMPARE(source.toPlainText(), QString("void main(void)\n{\nwait_ms(              );\n}"));
    win->btnCancelClick();
    QVERIFY(win->isHidden());
  }

  void missingLibraryGivesItsMessage() {
    win->setLibraryPath(dir.filePath("none.Txt").toStdString());
    f.edit(kCCode, kCCode, 0, 0, 0, "a;");
    win->FormShow();
    QCOMPARE(prompts.asked.size(), std::size_t(1));
    QCOMPARE(prompts.asked[0].title, QString("File Error"));
    QCOMPARE(prompts.asked[0].text, QString("Can't Open C-CodeLib.Txt"));
    QCOMPARE(win->sGridFunc->rowCount(), 0);
    win->btnCodeClick();  // nothing to insert, no crash
    win->btnOkClick();
    QCOMPARE(f.ctx.edit.cmt, std::string("a;"));
    win->FormShow();
    QCOMPARE(prompts.asked.size(), std::size_t(1));  // read once, not at every opening
  }

  void damagedLibraryNeverCrashes() {
    // A folder in the file's place gives the message; garbage gives odd rows, nothing worse.
    win->setLibraryPath(dir.path().toStdString());
    f.edit(kCCode, kCCode);
    win->FormShow();
    QCOMPARE(prompts.asked.size(), std::size_t(1));
    QCOMPARE(win->sGridFunc->rowCount() + win->sGridDef->rowCount() + win->sGridVar->rowCount(), 0);

    const std::string garbage = dir.filePath("garbage.Txt").toStdString();
    {
      std::ofstream out(garbage, std::ios::binary);
      for (int i = 0; i < 4000; ++i) out.put(static_cast<char>((i * 37) % 256));
    }
    win->setLibraryPath(garbage);
    win->FormShow();
    QCOMPARE(prompts.asked.size(), std::size_t(1));
    for (int tab = 0; tab < 3; ++tab) {
      win->tabLib->setCurrentIndex(tab);
      static_cast<QTableWidget*>(win->tabLib->currentWidget())->selectRow(0);
      win->btnCodeClick();
    }
    win->btnOkClick();
  }
};

QTEST_MAIN(CodeWindow)
#include "code_window_test.moc"
