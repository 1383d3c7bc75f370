#include <QtTest>

#include <QFile>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "core/Context.h"
#include "gui/app/Glyphs.h"
#include "gui/app/ProgramPrinter.h"
#include "core/model/StatementKind.h"
#include "core/shell/PrintLayout.h"

using kavel::Context;
using kavel::PrintLayout;
using kavel::gui::Glyphs;
using kavel::gui::PrintOptions;
using kavel::gui::ProgramPrinter;

namespace {

// The page count a PDF declares in its page tree.
int pdfPageCount(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return -1;
  const QByteArray pdf = f.readAll();
  const auto m = QRegularExpression(R"(/Type\s*/Pages\b[^>]*?/Count\s+(\d+))",
                                    QRegularExpression::DotMatchesEverythingOption)
                     .match(QString::fromLatin1(pdf));
  return m.hasMatch() ? m.captured(1).toInt() : -1;
}

void pdfPrinter(QPrinter& printer, const QString& path) {
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(path);
  printer.setPageSize(QPageSize(QPageSize::A4));
}

// A Main program of `n` rows: an endless While around motor and wait rows.
void fillProgram(Context& ctx, int n) {
  auto& main = ctx.programs.main();
  if (n == 0) return;
  main.insertStatement(0, kavel::kWhile);
  main.rows()[0].cno = kavel::kUnconditional;
  while (static_cast<int>(main.size()) < n) {
    const bool wait = main.size() % 2 == 0;
    const std::size_t at = main.createRow(1, wait ? kavel::kWait : kavel::kMotorForward,
                                          wait ? kavel::kWait : kavel::kMotorVariable);
    main.rows()[at].val0 = wait ? 500 : 50;
    main.rows()[at].val1 = wait ? 0 : 50;
  }
}

}  // namespace

class ProgramPrinterTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir dir_;

 private slots:
  void statementRowsFillAsManyPagesAsTheRowHeightAllows_data() {
    QTest::addColumn<int>("rows");
    QTest::addColumn<bool>("grid");
    QTest::newRow("empty program") << 0 << false;
    QTest::newRow("70 rows") << 70 << false;
    QTest::newRow("70 rows with grid") << 70 << true;
  }
  void statementRowsFillAsManyPagesAsTheRowHeightAllows() {
    QFETCH(int, rows);
    QFETCH(bool, grid);
    Context ctx;
    fillProgram(ctx, rows);
    Glyphs glyphs(KAVEL_BIN_DIR);
    ProgramPrinter printer(glyphs);
    QPrinter device(QPrinter::HighResolution);
    const QString path = dir_.filePath(QStringLiteral("rows-%1-%2.pdf").arg(rows).arg(grid));
    pdfPrinter(device, path);
    PrintOptions options;
    options.font = QFont("Noto Sans", 10);
    options.grid = grid;

    const int pages = printer.printProgram(device, ctx, 0, options);

    const QFontMetrics fm(options.font, &device);
    const PrintLayout layout(PrintLayout::Style::Statements, device.width(), device.height(),
                             device.logicalDpiX(), fm.height());
    QCOMPARE(pages, layout.pageCount(rows));
    if (rows == 70) QVERIFY(pages > 1);
    QCOMPARE(pdfPageCount(path), pages);
  }

  void codeLinesArePagedByTheirOwnRowHeight() {
    QStringList lines;
    for (int i = 0; i < 70; ++i) lines << QStringLiteral("\twait_ms(%1);").arg(i);
    Glyphs glyphs(KAVEL_BIN_DIR);
    ProgramPrinter printer(glyphs);
    QPrinter device(QPrinter::HighResolution);
    const QString path = dir_.filePath("code.pdf");
    pdfPrinter(device, path);
    PrintOptions options;
    options.title = "Main - [ robot.c ]";
    options.font = QFont("Noto Sans Mono", 10);

    const int pages = printer.printLines(device, lines, options);

    const QFontMetrics fm(options.font, &device);
    const PrintLayout layout(PrintLayout::Style::Code, device.width(), device.height(),
                             device.logicalDpiX(), fm.height());
    QCOMPARE(pages, layout.pageCount(70));
    QCOMPARE(pdfPageCount(path), pages);
  }

  void aFontGivenInPixelsKeepsItsSizeOnPaper() {
    Context ctx;
    fillProgram(ctx, 70);
    Glyphs glyphs(KAVEL_BIN_DIR);
    ProgramPrinter printer(glyphs);
    PrintOptions byPoints;
    byPoints.font = QFont("Noto Sans");
    byPoints.font.setPointSize(12);
    PrintOptions byPixels;
    byPixels.font = QFont("Noto Sans");
    byPixels.font.setPixelSize(16);  // 12 pt on a 96-dpi screen

    QPrinter a(QPrinter::HighResolution);
    pdfPrinter(a, dir_.filePath("points.pdf"));
    QPrinter b(QPrinter::HighResolution);
    pdfPrinter(b, dir_.filePath("pixels.pdf"));
    QCOMPARE(printer.printProgram(b, ctx, 0, byPixels), printer.printProgram(a, ctx, 0, byPoints));
  }

  void documentTitleNamesTheApplicationAndTheWindow() {
    QCOMPARE(ProgramPrinter::documentTitle("Main - [ robot ]"),
             QString("MORVANE Kavel for Wrenlet CORE - [ Main - [ robot ] ]"));
  }
};

QTEST_MAIN(ProgramPrinterTest)
#include "program_printer_test.moc"
