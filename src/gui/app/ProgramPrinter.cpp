#include "gui/app/ProgramPrinter.h"

#include <QFontMetrics>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

#include <functional>

#include "gui/app/Glyphs.h"
#include "core/model/RowText.h"
#include "core/settings/ProductVariant.h"
#include "core/shell/PrintLayout.h"

namespace kavel::gui {
namespace {

// A font given in pixels is meant for a 96-dpi screen; on paper it keeps its physical size.
QFont paperFont(QFont font) {
  if (font.pixelSize() > 0) font.setPointSizeF(font.pixelSize() * 72.0 / 96.0);
  return font;
}

QString expandTabs(const QString& line) {
  QString out;
  for (QChar c : line) {
    if (c == '\t') {
      do out += ' '; while (out.size() % 4 != 0);
    } else {
      out += c;
    }
  }
  return out;
}

QRect toQRect(const PrintRect& r) { return {r.x, r.y, r.width, r.height}; }

// Paints page after page: header and footer texts, the page break rule, and a hook per row.
class PageWriter {
 public:
  PageWriter(QPagedPaintDevice& device, QPainter& painter, const PrintLayout& layout,
             const PrintOptions& options)
      : device_(device), p_(painter), layout_(layout), options_(options), fm_(p_.font(), &device) {}

  const QFontMetrics& metrics() const { return fm_; }

  // Top-left text placement, as the rows' coordinates are given.
  void textOut(int x, int y, const QString& text) { p_.drawText(x, y + fm_.ascent(), text); }
  void textOutRight(int right, int y, const QString& text) {
    textOut(right - fm_.horizontalAdvance(text), y, text);
  }

  int run(int rows, const std::function<void(int row, int top)>& paintRow,
          const std::function<void()>& paintPageBackground) {
    const int perPage = layout_.rowsPerPage();
    int page = 1;
    int k = 0;
    startPage(paintPageBackground);
    for (int r = 0; r < rows; ++r) {
      if (k == perPage) {
        endPage(page);
        device_.newPage();
        ++page;
        k = 0;
        startPage(paintPageBackground);
      }
      paintRow(r, layout_.rowTop(k));
      ++k;
    }
    endPage(page);
    return page;
  }

 private:
  void startPage(const std::function<void()>& background) {
    textOut(layout_.left(), layout_.headerY(), QStringLiteral("File:%1").arg(options_.title));
    textOutRight(layout_.rightTextEdge(), layout_.headerY(),
                 QStringLiteral("Date:%1").arg(options_.now.toString(QStringLiteral("yyyy/MM/dd  hh:mm"))));
    if (background) background();
  }
  void endPage(int page) {
    textOutRight(layout_.rightTextEdge(), layout_.footerY(), QStringLiteral("Page:%1").arg(page));
  }

  QPagedPaintDevice& device_;
  QPainter& p_;
  const PrintLayout& layout_;
  const PrintOptions& options_;
  QFontMetrics fm_;
};

bool beginPainting(QPagedPaintDevice& device, QPainter& painter, const PrintOptions& options, int u) {
  const QString name = ProgramPrinter::documentTitle(options.title);
  if (auto* printer = dynamic_cast<QPrinter*>(&device)) printer->setDocName(name);
  if (auto* pdf = dynamic_cast<QPdfWriter*>(&device)) pdf->setTitle(name);
  if (!painter.begin(&device)) return false;
  painter.setFont(paperFont(options.font));
  painter.setPen(QPen(Qt::black, u, Qt::SolidLine));
  // Boxes are filled white, so the grid's dotted lines pass behind them, not through the text.
  painter.setBrush(Qt::white);
  painter.setBackground(Qt::white);
  return true;
}

PrintLayout layoutFor(PrintLayout::Style style, QPagedPaintDevice& device, const QFont& font) {
  const QFontMetrics fm(paperFont(font), &device);
  return PrintLayout(style, device.width(), device.height(), device.logicalDpiX(), fm.height());
}

}  // namespace

QString ProgramPrinter::documentTitle(const QString& windowTitle) {
  return QString::fromUtf8(kApplicationTitle.data(), static_cast<qsizetype>(kApplicationTitle.size())) +
         QStringLiteral(" - [ ") + windowTitle + QStringLiteral(" ]");
}

RowTextContext ProgramPrinter::rowTextContext(const Context& ctx, int index) { return rowTextContextOf(ctx, index); }

int ProgramPrinter::printProgram(QPagedPaintDevice& device, const Context& ctx, int index,
                                 PrintOptions options) const {
  const Program& program = ctx.programs[index];
  if (options.title.isEmpty()) options.title = QString::fromStdString(program.caption());
  return printRows(device, program.rows(), rowTextContext(ctx, index), options);
}

int ProgramPrinter::printRows(QPagedPaintDevice& device, const std::vector<Statement>& rows,
                              const RowTextContext& rowText, const PrintOptions& options) const {
  const PrintLayout layout = layoutFor(PrintLayout::Style::Statements, device, options.font);
  QPainter p;
  if (!beginPainting(device, p, options, layout.unit())) return 0;
  PageWriter writer(device, p, layout, options);
  const QFontMetrics& fm = writer.metrics();
  const int wWidth = fm.horizontalAdvance(QChar('W'));
  const QPen boxPen = p.pen();

  auto grid = [&] {
    if (!options.grid) return;
    p.setPen(QPen(QColor(0xC0, 0xC0, 0xC0), layout.unit(), Qt::DotLine));
    for (int x : layout.gridLines(fm.horizontalAdvance(QStringLiteral("000:")))) {
      p.drawLine(x, layout.firstRowTop(), x, layout.bottom());
    }
    p.setPen(boxPen);
  };
  auto row = [&](int r, int top) {
    const Statement& s = rows[static_cast<std::size_t>(r)];
    const QString label = QString::asprintf("%03d:", r + 1);
    writer.textOut(layout.left(), layout.textY(top), label);

    const PrintRect box = layout.iconBox(top, fm.horizontalAdvance(label), s.level);
    p.drawRect(toQRect(box));
    const QRect glyph = toQRect(layout.glyphRect(box));
    p.drawPixmap(glyph, glyphs_.pixmap(s.sno, s.cno, glyph.size()));

    const QString text = QString::fromStdString(composeRowText(s, rowText));
    if (text.isEmpty()) return;
    const PrintRect textBox = layout.textBox(box, fm.horizontalAdvance(text), wWidth);
    p.drawRect(toQRect(textBox));
    writer.textOut(layout.textX(textBox, wWidth), layout.textY(top), text);
  };
  const int pages = writer.run(static_cast<int>(rows.size()), row, grid);
  p.end();
  return pages;
}

int ProgramPrinter::printLines(QPagedPaintDevice& device, const QStringList& lines,
                               const PrintOptions& options) const {
  const PrintLayout layout = layoutFor(PrintLayout::Style::Code, device, options.font);
  QPainter p;
  if (!beginPainting(device, p, options, layout.unit())) return 0;
  PageWriter writer(device, p, layout, options);
  const QFontMetrics& fm = writer.metrics();

  auto line = [&](int r, int top) {
    const QString label = QString::asprintf("%03d:", r + 1);
    writer.textOut(layout.left(), layout.textY(top), label);
    writer.textOut(layout.codeTextX(fm.horizontalAdvance(label)), layout.textY(top), expandTabs(lines[r]));
  };
  const int pages = writer.run(static_cast<int>(lines.size()), line, nullptr);
  p.end();
  return pages;
}

}  // namespace kavel::gui
