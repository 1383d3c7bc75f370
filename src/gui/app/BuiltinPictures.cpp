#include "gui/app/BuiltinPictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace kavel::gui {
namespace {

QPixmap canvas(const QSize& size) {
  QPixmap pm(size);
  pm.fill(Qt::transparent);
  return pm;
}

// A green board with a processor, two connector rows and a pair of wheels.
void drawBoard(QPainter& p, const QRectF& r) {
  const qreal w = r.width();
  const qreal h = r.height();
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(40, 40, 40));
  p.drawRoundedRect(QRectF(r.left(), r.top() + h * 0.18, w * 0.12, h * 0.64), 3, 3);
  p.drawRoundedRect(QRectF(r.right() - w * 0.12, r.top() + h * 0.18, w * 0.12, h * 0.64), 3, 3);

  const QRectF board(r.left() + w * 0.14, r.top() + h * 0.04, w * 0.72, h * 0.92);
  QLinearGradient g(board.topLeft(), board.bottomRight());
  g.setColorAt(0, QColor(34, 139, 84));
  g.setColorAt(1, QColor(18, 96, 58));
  p.setBrush(g);
  p.setPen(QPen(QColor(10, 60, 35), 1.5));
  p.drawRoundedRect(board, 6, 6);

  p.setPen(Qt::NoPen);
  p.setBrush(QColor(30, 30, 34));
  const QRectF chip(board.center().x() - board.width() * 0.18, board.center().y() - board.height() * 0.14,
                    board.width() * 0.36, board.height() * 0.28);
  p.drawRect(chip);
  p.setBrush(QColor(200, 200, 200));
  for (int i = 0; i < 7; ++i) {
    const qreal x = chip.left() + chip.width() * (i + 0.5) / 7.0 - 1.5;
    p.drawRect(QRectF(x, chip.top() - 4, 3, 4));
    p.drawRect(QRectF(x, chip.bottom(), 3, 4));
  }
  p.setBrush(QColor(240, 240, 240));
  for (int i = 0; i < 10; ++i) {
    const qreal x = board.left() + board.width() * (i + 0.5) / 10.0 - 3;
    p.drawRect(QRectF(x, board.top() + 6, 6, 8));
    p.drawRect(QRectF(x, board.bottom() - 14, 6, 8));
  }
  p.setBrush(QColor(255, 80, 60));
  p.drawEllipse(QPointF(board.right() - 12, board.center().y()), 3.5, 3.5);
  p.setBrush(QColor(90, 230, 90));
  p.drawEllipse(QPointF(board.right() - 12, board.center().y() + 10), 3.5, 3.5);
}

void drawBadge(QPainter& p, const QRectF& r, const QColor& colour, const QString& letters) {
  p.setPen(QPen(colour.darker(150), 2));
  p.setBrush(colour);
  p.drawEllipse(r.adjusted(2, 2, -2, -2));
  QFont f = p.font();
  f.setBold(true);
  f.setPixelSize(static_cast<int>(r.height() * (letters.size() > 2 ? 0.28 : 0.4)));
  p.setFont(f);
  p.setPen(Qt::white);
  p.drawText(r, Qt::AlignCenter, letters);
}

}  // namespace

QPixmap builtinProductPicture(const QSize& size) {
  QPixmap pm = canvas(size);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  drawBoard(p, QRectF(QPointF(0, 0), QSizeF(size)).adjusted(2, 2, -2, -2));
  return pm;
}

QPixmap builtinProductIcon(ProductIcon icon, const QSize& size) {
  QPixmap pm = canvas(size);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF r(QPointF(0, 0), QSizeF(size));
  switch (icon) {
    case ProductIcon::Glent:
      drawBadge(p, r, QColor(200, 120, 20), "G");
      break;
    case ProductIcon::QV7B:
      drawBadge(p, r, QColor(30, 90, 180), "QV");
      break;
    case ProductIcon::BoardFamily:
      drawBoard(p, r.adjusted(2, 2, -2, -2));
      break;
    case ProductIcon::Distributor:
      drawBadge(p, r, QColor(160, 30, 40), "RX");
      break;
  }
  return pm;
}

}  // namespace kavel::gui
