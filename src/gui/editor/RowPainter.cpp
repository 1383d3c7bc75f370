#include "gui/editor/RowPainter.h"

#include <QFontMetrics>
#include <QIcon>
#include <QLinearGradient>
#include <QPaintDevice>
#include <QPixmap>
#include <QPainter>

#include <algorithm>

#include "gui/app/Glyphs.h"
#include "core/model/RowText.h"
#include "core/model/StatementKind.h"

namespace kavel::gui {
namespace {

// The row buttons' text colour: blue, 0xFF0000 in the 0x00BBGGRR order our colours are kept in.
const QColor kButtonText(0, 0, 255);
const QColor kGridColour(0xC0, 0xDC, 0xC0);
// Rows marked for cut, copy or delete must stand out from a merely pressed look.
const QColor kMarkTint(255, 170, 0, 70);
constexpr int kGlyphInsetX = 8;
constexpr int kGlyphInsetY = 3;

}  // namespace

RowPainter::RowPainter(const Glyphs& glyphs, QFont buttonFont, QFont lineFont)
    : glyphs_(glyphs), buttonFont_(std::move(buttonFont)), lineFont_(std::move(lineFont)) {}

QRect RowPainter::iconRect(int row, int level) {
  return {iconButtonX(level), row * kRowHeight + kTop, kIconButtonWidth, kRowHeight};
}

QRect RowPainter::valueRect(int row, const Statement& s, const QString& text) const {
  if (!hasValueButton(s.sno)) return {};
  const QFontMetrics fm(buttonFont_);
  return {valueButtonX(s.level), row * kRowHeight + kTop, valueButtonWidthForTextWidth(fm.horizontalAdvance(text)),
          kRowHeight};
}

void RowPainter::paintBackground(QPainter& p, const QRect& area, const QRect& gridArea, const QColor& workspace,
                                 bool grid) {
  p.fillRect(area, workspace);
  if (!grid) return;
  const QRect g = gridArea.intersected(area);
  if (g.isEmpty()) return;
  p.fillRect(g, kGridColour);
  p.save();
  const QPen pen(Qt::white, 1, Qt::DotLine);
  p.setPen(pen);
  // The dots start where the grid's own rhythm puts them, not at the top of what is painted:
  // a partial repaint, or a band of a picture, then continues the dots above it. A dot line
  // begins with a dot, so what lies before the first whole period stays dark.
  qreal pattern = 0;
  for (const qreal d : pen.dashPattern()) pattern += d;
  const int period = std::max(1, qRound(pattern * std::max<qreal>(1, pen.widthF())));
  const int top = gridArea.top() + (g.top() - gridArea.top() + period - 1) / period * period;
  const int first = gridArea.left() + std::max(0, (g.left() - gridArea.left()) / 40) * 40;
  for (int x = first; x <= g.right() && top <= g.bottom(); x += 40) p.drawLine(x, top, x, g.bottom());
  p.restore();
}

void RowPainter::drawnFace(QPainter& p, const QRect& rect, ButtonState state) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF r = QRectF(rect).adjusted(0.5, 0.5, -0.5, -0.5);
  QLinearGradient fill(r.topLeft(), r.bottomLeft());
  if (state.sunken) {
    fill.setColorAt(0, QColor(0xD4, 0xD4, 0xD4));
    fill.setColorAt(1, QColor(0xE4, 0xE4, 0xE4));
  } else {
    const int lift = state.hover ? 6 : 0;
    fill.setColorAt(0, QColor(0xFC, 0xFC, 0xFC));
    fill.setColorAt(1, QColor(0xE6 + lift, 0xE6 + lift, 0xE6 + lift));
  }
  p.setBrush(fill);
  p.setPen(QPen(QColor(0x9A, 0x9A, 0x9A), 1));
  p.drawRoundedRect(r, 2.5, 2.5);
  p.restore();
}

void RowPainter::paintRow(QPainter& p, const QPoint& origin, int row, const Statement& s, const QString& text,
                          ButtonState icon, ButtonState value, bool marked, const FacePainter& face) const {
  p.setFont(lineFont_);
  p.setPen(Qt::black);
  p.drawText(QRect(origin.x() + kLineNumberX - 3, origin.y() + row * kRowHeight + kTop, 22, kRowHeight),
             Qt::AlignRight | Qt::AlignVCenter, QString::asprintf("%03d", row + 1));

  const QRect iconBox = iconRect(row, s.level).translated(origin);
  face(p, iconBox, icon);
  const int iconShift = icon.sunken ? 1 : 0;
  const QRect glyphBox = iconBox.adjusted(kGlyphInsetX + iconShift, kGlyphInsetY + iconShift,
                                          -kGlyphInsetX + iconShift, -kGlyphInsetY + iconShift);
  const QIcon glyph = glyphs_.forRow(s.sno, s.cno);
  const int device = p.device() ? p.device()->devType() : QInternal::Image;
  if (device == QInternal::Image || device == QInternal::Pixmap || device == QInternal::Widget) {
    // On screen and in raster pictures the glyph comes from the pixmap cache: a thousand rows
    // would otherwise render their drawings a thousand times.
    const qreal dpr = p.device()->devicePixelRatioF();
    const QPixmap pm = glyph.pixmap(glyphBox.size(), dpr);
    const QSize shown = pm.deviceIndependentSize().toSize();
    p.drawPixmap(QRect(glyphBox.x() + (glyphBox.width() - shown.width()) / 2,
                       glyphBox.y() + (glyphBox.height() - shown.height()) / 2, shown.width(), shown.height()),
                 pm);
  } else {
    // Vectors stay vectors in SVG and on paper.
    glyph.paint(&p, glyphBox);
  }
  if (marked) p.fillRect(iconBox.adjusted(2, 2, -2, -2), kMarkTint);

  const QRect valueBox = valueRect(row, s, text).translated(origin);
  if (valueBox.isNull()) return;
  face(p, valueBox, value);
  if (marked) p.fillRect(valueBox.adjusted(2, 2, -2, -2), kMarkTint);
  p.setFont(buttonFont_);
  p.setPen(kButtonText);
  const int shift = value.sunken ? 1 : 0;
  p.drawText(valueBox.adjusted(kValueTextMargin + shift, shift, -4, 0), Qt::AlignLeft | Qt::AlignVCenter, text);
}

}  // namespace kavel::gui
