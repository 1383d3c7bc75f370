#include <QtTest>

#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QTableWidget>
#include <QTemporaryDir>

#include <vector>

#include "core/Context.h"
#include "gui/app/TfrmLanguage.h"

using kavel::Context;
using kavel::MessageTable;
using kavel::gui::TfrmLanguage;
using Request = TfrmLanguage::FileRequest;

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  QVERIFY(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

// A message folder whose texts say where they came from.
void writeMessageFolder(const QString& folder, const QString& tag) {
  QDir().mkpath(folder);
  writeFile(folder + "/Japanese.Txt", QStringLiteral("[001]:ファイル %1\r\n[077]:保存 %1\r\n").arg(tag).toUtf8());
  writeFile(folder + "/English.Txt", QStringLiteral("[001]:File %1\r\n[077]:Saved %1\r\n").arg(tag).toUtf8());
}

QString cell(const TfrmLanguage& w, int row, int column) { return w.gridMsg->item(row, column)->text(); }

QString tableText(const Context& ctx, int language, int n) {
  return QString::fromStdString(ctx.messages.text(language, n));
}

}  // namespace

class LanguageEditorTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir dir_;
  std::vector<Request> requests_;

  // A context reading the message files of folder "start".
  void startIn(Context& ctx) {
    writeMessageFolder(dir_.filePath("start"), "start");
    ctx.settings.LANG_0__ = dir_.filePath("start/Japanese.Txt").toStdString();
    ctx.settings.LANG_1__ = dir_.filePath("start/English.Txt").toStdString();
    QVERIFY(ctx.messages.load(0, ctx.settings.LANG_0__));
    QVERIFY(ctx.messages.load(1, ctx.settings.LANG_1__));
  }

  void answerWith(TfrmLanguage& w, const QString& path) {
    w.setFileChooser([this, path](const Request& r) {
      requests_.push_back(r);
      return path;
    });
  }

 private slots:
  void init() { requests_.clear(); }

  void gridShowsBothColumnsSideBySide() {
    Context ctx;
    startIn(ctx);
    TfrmLanguage w(ctx);
    QCOMPARE(w.windowTitle(), QString("二カ国語メッセージリスト"));
    QCOMPARE(w.size(), QSize(656, 500));
    QCOMPARE(w.gridMsg->rowCount(), 160);
    QCOMPARE(w.gridMsg->columnCount(), 3);
    QCOMPARE(w.gridMsg->columnWidth(0), 24);
    QCOMPARE(w.gridMsg->columnWidth(1), 300);
    QCOMPARE(w.gridMsg->columnWidth(2), 300);
    QCOMPARE(w.gridMsg->rowHeight(5), 18);
    QCOMPARE(w.mmFile->title(), QString("&File"));
    QCOMPARE(w.mmOpen->text(), QString("&Open"));
    QCOMPARE(w.mmSave->text(), QString("&Save"));
    QCOMPARE(w.mmQuit->text(), QString("&Quit"));

    w.FormShow();
    QCOMPARE(cell(w, 0, 0), QString("No."));
    QCOMPARE(cell(w, 0, 1), QString("日本語"));
    QCOMPARE(cell(w, 0, 2), QString("English"));
    QCOMPARE(cell(w, 77, 0), QString("077"));
    QCOMPARE(cell(w, 77, 1), QString("保存 start"));
    QCOMPARE(cell(w, 77, 2), QString("Saved start"));
    QCOMPARE(cell(w, 159, 0), QString("159"));
    QVERIFY(!(w.gridMsg->item(77, 0)->flags() & Qt::ItemIsEditable));
    QVERIFY(w.gridMsg->item(77, 2)->flags() & Qt::ItemIsEditable);
  }

  // Picking the English file of another folder still moves both files there.
  void openMovesBothPathsAndReloads() {
    Context ctx;
    startIn(ctx);
    writeMessageFolder(dir_.filePath("other"), "other");
    TfrmLanguage w(ctx);
    w.FormShow();
    answerWith(w, dir_.filePath("other/English.Txt"));
    w.mmOpenClick();

    QCOMPARE(requests_.size(), 1u);
    QCOMPARE(requests_[0].kind, Request::Kind::Open);
    QCOMPARE(requests_[0].filter, QString("ﾃｷｽﾄﾌｧｲﾙ (*.Txt);;全てのﾌｧｲﾙ (*.*)"));
    QCOMPARE(requests_[0].preset, dir_.filePath("start/Japanese.Txt"));
    QCOMPARE(QString::fromStdString(ctx.settings.LANG_0__), dir_.filePath("other/Japanese.Txt"));
    QCOMPARE(QString::fromStdString(ctx.settings.LANG_1__), dir_.filePath("other/English.Txt"));
    QCOMPARE(cell(w, 1, 1), QString("ファイル other"));
    QCOMPARE(cell(w, 1, 2), QString("File other"));
    QCOMPARE(tableText(ctx, 0, 77), QString("保存 other"));
  }

  void openCancelledChangesNothing() {
    Context ctx;
    startIn(ctx);
    const auto before = ctx.settings.LANG_0__;
    TfrmLanguage w(ctx);
    w.FormShow();
    answerWith(w, QString());
    w.mmOpenClick();
    QCOMPARE(ctx.settings.LANG_0__, before);
    QCOMPARE(cell(w, 1, 2), QString("File start"));
  }

  // A folder without the message files must not blank every caption of the program.
  void openInAFolderWithoutTheFilesKeepsTextsAndPaths() {
    Context ctx;
    startIn(ctx);
    const QString partial = dir_.filePath("partial");
    QDir().mkpath(partial);
    writeFile(partial + "/English.Txt", "[001]:File partial\r\n");
    TfrmLanguage w(ctx);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.gridMsg->item(77, 1)->setText("保存 typed");
    answerWith(w, partial + "/English.Txt");
    w.mmOpenClick();

    QCOMPARE(QString::fromStdString(ctx.settings.LANG_0__), dir_.filePath("start/Japanese.Txt"));
    QCOMPARE(QString::fromStdString(ctx.settings.LANG_1__), partial + "/English.Txt");
    QCOMPARE(cell(w, 77, 1), QString("保存 typed"));
    QCOMPARE(cell(w, 1, 1), QString("ファイル start"));
    QCOMPARE(cell(w, 1, 2), QString("File partial"));
    const auto boxes = w.findChildren<QMessageBox*>();
    QCOMPARE(boxes.size(), 1);
    QVERIFY(boxes.front()->text().contains(partial + "/Japanese.Txt"));
    boxes.front()->accept();
  }

  void saveWritesBothFilesFromTheGridIntoTheChosenFolder() {
    Context ctx;
    startIn(ctx);
    const QString target = dir_.filePath("saved");
    QDir().mkpath(target);
    TfrmLanguage w(ctx);
    w.FormShow();
    w.gridMsg->item(150, 1)->setText("最後");
    w.gridMsg->item(2, 2)->setText("New text");
    answerWith(w, target + "/whatever.Txt");
    w.mmSaveClick();

    QCOMPARE(requests_.size(), 1u);
    QCOMPARE(requests_[0].kind, Request::Kind::Save);
    QCOMPARE(requests_[0].filter, QString("Text Files (*.Txt);;All Files (*.*)"));
    QCOMPARE(requests_[0].preset, dir_.filePath("start/Japanese.Txt"));
    QCOMPARE(QString::fromStdString(ctx.settings.LANG_0__), target + "/Japanese.Txt");
    QCOMPARE(QString::fromStdString(ctx.settings.LANG_1__), target + "/English.Txt");

    MessageTable reread;
    QVERIFY(reread.load(0, ctx.settings.LANG_0__));
    QVERIFY(reread.load(1, ctx.settings.LANG_1__));
    QCOMPARE(QString::fromStdString(reread.text(0, 150)), QString("最後"));
    QCOMPARE(QString::fromStdString(reread.text(0, 77)), QString("保存 start"));
    QCOMPARE(QString::fromStdString(reread.text(1, 2)), QString("New text"));
    QCOMPARE(QString::fromStdString(reread.text(1, 1)), QString("File start"));
  }

  void aFailedSaveKeepsThePathsAndSaysSo() {
    Context ctx;
    startIn(ctx);
    TfrmLanguage w(ctx);
    w.FormShow();
    answerWith(w, dir_.filePath("no/such/folder/Japanese.Txt"));
    w.mmSaveClick();
    QCOMPARE(QString::fromStdString(ctx.settings.LANG_0__), dir_.filePath("start/Japanese.Txt"));
    QCOMPARE(QString::fromStdString(ctx.settings.LANG_1__), dir_.filePath("start/English.Txt"));
    const auto boxes = w.findChildren<QMessageBox*>();
    QCOMPARE(boxes.size(), 1);
    QVERIFY(boxes.front()->text().startsWith("Can't Save "));
    boxes.front()->accept();
  }

  // Closing by any way takes the grid into the table, a cell still being typed in included.
  void closingCopiesTheGridIntoTheTable() {
    Context ctx;
    startIn(ctx);
    TfrmLanguage w(ctx);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.gridMsg->item(3, 1)->setText("三");
    w.gridMsg->setCurrentCell(4, 2);
    w.gridMsg->editItem(w.gridMsg->item(4, 2));
    auto* editor = w.gridMsg->findChild<QLineEdit*>();
    QVERIFY(editor);
    editor->setText("still typing");
    w.mmQuitClick();
    QVERIFY(!w.isVisible());
    QCOMPARE(tableText(ctx, 0, 3), QString("三"));
    QCOMPARE(tableText(ctx, 1, 4), QString("still typing"));
    QCOMPARE(tableText(ctx, 1, 1), QString("File start"));

    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.gridMsg->item(5, 2)->setText("closed by the window frame");
    w.close();
    QCOMPARE(tableText(ctx, 1, 5), QString("closed by the window frame"));
  }
};

QTEST_MAIN(LanguageEditorTest)
#include "language_editor_test.moc"
