#include <QtTest>

#include <QAction>
#include <QImage>
#include <QSvgRenderer>

#include "MainWindowFixture.h"
#include "Statements.h"
#include "gui/app/TfrmMain.h"
#include "gui/editor/RowView.h"
#include "core/model/StatementKind.h"

using namespace kavel;
using namespace kavel::testing;

namespace {

// A Main program of `n` rows inside one While block, each row with its own text.
void fillMain(MainWindowFixture& f, int n) {
  gui::TfrmProg* prog = f.prog(0);
  Program& p = prog->program();
  p.insertStatement(0, kWhile);
  p.rows()[0].cno = kUnconditional;
  while (static_cast<int>(p.size()) < n) {
    const std::size_t at = p.createRow(p.size() - 1, kWait, kWait);
    p.rows()[at].val0 = static_cast<int>(p.size()) * 100;
  }
  prog->rowsChanged();
  prog->setModified(true);
}

QString en(const MainWindowFixture& f, int n) { return QString::fromStdString(f.ctx.messages.text(1, n)); }

}  // namespace

class ExportPictureTest : public QObject {
  Q_OBJECT

 private slots:
  void theWholeProgramIsDrawnNotOnlyWhatTheWindowShows() {
    MainWindowFixture f;
    fillMain(f, 200);
    gui::RowView* view = f.prog(0)->rowView();
    QVERIFY(view->visibleRows() < 200);
    view->setVerticalPosition(50);  // scrolled away from the top
    const QString png = QString::fromStdString(f.user + "robot.png");
    const QString svg = QString::fromStdString(f.user + "robot.svg");

    QVERIFY(f.main->exportPictureTo(png));
    QVERIFY(f.main->exportPictureTo(svg));

    const QImage image(png);
    QCOMPARE(image.height(), 8 + 200 * 30 + 8);
    // Row 1 is at the top although the window shows row 51 there; its icon button is at 24.
    QVERIFY(image.pixelColor(60, 8 + 15) != f.prog(0)->workspaceColour());
    QCOMPARE(image.pixelColor(image.width() - 2, 4), f.prog(0)->workspaceColour());
    QSvgRenderer renderer(svg);
    QVERIFY(renderer.isValid());
    QCOMPARE(renderer.viewBox().size(), image.size());
    QVERIFY(f.prompts.asked.empty());
    QCOMPARE(view->verticalPosition(), 50);  // the window is left as it was
  }

  void aRowWiderThanTheWindowWidensThePicture() {
    MainWindowFixture f;
    fillMain(f, 3);
    gui::TfrmProg* prog = f.prog(0);
    prog->program().rows()[1].cmt = std::string(120, 'W');
    prog->rowsChanged();
    const QString png = QString::fromStdString(f.user + "wide.png");
    QVERIFY(f.main->exportPictureTo(png));
    const QRect value = prog->rowView()->valueRect(1);
    QVERIFY(value.right() > 1000);
    QCOMPARE(QImage(png).width(), value.right() + 1 + 8);
  }

  void theCommandProposesTheProgramsNameAndReportsAFolderItCannotWrite() {
    MainWindowFixture f;
    fillMain(f, 5);
    f.prog(0)->program().path = f.user + "robot.Kvl";
    f.prompts.saveNames.push_back(QString::fromStdString(f.user + "missing/robot.png"));
    f.main->action("mmExportPicture")->trigger();

    QCOMPARE(f.prompts.saveProposals.back(), QString::fromStdString(f.user + "robot"));
    QCOMPARE(f.prompts.asked.size(), std::size_t(1));
    const QString said = f.prompts.asked[0].text;
    QVERIFY2(said.startsWith(en(f, 154)), qPrintable(said));
    QVERIFY2(said.contains(QString::fromStdString(f.user + "missing/robot.png")), qPrintable(said));
    QVERIFY(!QFile::exists(QString::fromStdString(f.user + "missing/robot.png")));

    // A cancelled file choice writes nothing and says nothing.
    f.prompts.asked.clear();
    f.main->mmExportPictureClick();
    QVERIFY(f.prompts.asked.empty());
  }

  void itsMenuItemSitsInTheFileMenuAndRestsInTheCCodeStyle() {
    MainWindowFixture f;
    QAction* item = f.main->action("mmExportPicture");
    QVERIFY(item);
    QCOMPARE(item->text(), en(f, 100));
    QVERIFY(item->isEnabled());
    f.main->mmCodeClick();
    QVERIFY(!item->isEnabled());
    f.main->mmKavelClick();
    QVERIFY(item->isEnabled());
  }
};

QTEST_MAIN(ExportPictureTest)
#include "export_picture_test.moc"
