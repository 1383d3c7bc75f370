#include <QtTest>

#include <QAction>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdlib>

#include "MainWindowFixture.h"
#include "Statements.h"
#include "gui/app/TfrmMain.h"
#include "gui/editor/ProgramPicture.h"
#include "gui/editor/RowPainter.h"
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

  // The PNG is painted and encoded in bands of the picture's height; a row or a grid line
  // across a band's edge must come out as one whole painting would draw it.
  void thePngMatchesOnePaintingOfTheWholeProgram() {
    MainWindowFixture f;
    fillMain(f, 60);
    gui::TfrmProg* prog = f.prog(0);
    prog->program().rows()[7].cmt = std::string(60, 'W');
    prog->rowsChanged();
    gui::PictureRows rows;
    rows.rows = &prog->program().rows();
    for (int r = 0; r < 60; ++r) rows.texts << prog->rowText(r);
    rows.grid = true;
    const gui::ProgramPicture picture(prog->rowView()->rowPainter());

    QImage whole(picture.size(rows), QImage::Format_RGB32);
    {
      QPainter p(&whole);
      p.setRenderHint(QPainter::TextAntialiasing);
      picture.paint(p, rows);
    }
    std::string bytes;
    QVERIFY(picture.encode(gui::ProgramPicture::Format::Png, rows, bytes));
    QImage decoded;
    QVERIFY(decoded.loadFromData(reinterpret_cast<const uchar*>(bytes.data()), static_cast<int>(bytes.size()), "PNG"));
    QVERIFY(whole.height() > 3 * 512);
    QCOMPARE(decoded.size(), whole.size());
    decoded = decoded.convertToFormat(QImage::Format_RGB32);
    // The button faces' gradients may round a step apart at another offset; a missing row, a
    // shifted band or a broken grid line differs by far more.
    const auto near = [](QRgb a, QRgb b) {
      return std::abs(qRed(a) - qRed(b)) <= 2 && std::abs(qGreen(a) - qGreen(b)) <= 2 && std::abs(qBlue(a) - qBlue(b)) <= 2;
    };
    for (int y = 0; y < whole.height(); ++y) {
      for (int x = 0; x < whole.width(); ++x) {
        if (!near(decoded.pixel(x, y), whole.pixel(x, y))) {
          QFAIL(qPrintable(QStringLiteral("pixel %1,%2 is %3, not %4")
                               .arg(x)
                               .arg(y)
                               .arg(decoded.pixel(x, y), 0, 16)
                               .arg(whole.pixel(x, y), 0, 16)));
        }
      }
    }
  }

  // The program window repaints only what changed (a hovered button); the grid's dots in that
  // strip must line up with those around it.
  void aPartialRepaintContinuesTheGridDots() {
    const QRect gridArea(24, 1, 200, 300);
    const QColor workspace(0xC0, 0xDC, 0xC0);
    QImage whole(240, 300, QImage::Format_RGB32);
    {
      QPainter p(&whole);
      gui::RowPainter::paintBackground(p, whole.rect(), gridArea, workspace, true);
    }
    for (const int top : {1, 2, 3, 4, 38, 100, 101, 299}) {
      const QRect strip(0, top, 240, std::min(30, 300 - top));
      QImage part(whole.size(), QImage::Format_RGB32);
      part.fill(Qt::black);
      {
        QPainter p(&part);
        gui::RowPainter::paintBackground(p, strip, gridArea, workspace, true);
      }
      QCOMPARE(part.copy(strip), whole.copy(strip));
    }
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
