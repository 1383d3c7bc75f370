#include "gui/app/SvgGlyphEngine.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QPixmapCache>
#include <QSvgRenderer>

#include <atomic>

namespace kavel::gui {

struct SvgGlyphEngine::Drawing {
  explicit Drawing(const QByteArray& svg) : renderer(svg) {
    static std::atomic<quint64> next{1};
    id = next++;
  }
  mutable QSvgRenderer renderer;
  quint64 id = 0;  // names this drawing in the pixmap cache
};

namespace {

QSize fittedSize(const QSize& natural, const QSize& box) {
  if (natural.isEmpty()) return box;
  return natural.scaled(box, Qt::KeepAspectRatio);
}

// A disabled button shows its glyph faded to grey, the same in every widget style.
QImage faded(const QImage& src) {
  QImage img = src.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < img.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
    for (int x = 0; x < img.width(); ++x) {
      const int v = 110 + qGray(line[x]) * 55 / 100;
      line[x] = qRgba(v, v, v, qAlpha(line[x]) * 3 / 4);
    }
  }
  return img;
}

}  // namespace

SvgGlyphEngine::SvgGlyphEngine(const QByteArray& svg) : drawing_(std::make_shared<const Drawing>(svg)) {}

QSize SvgGlyphEngine::actualSize(const QSize& size, QIcon::Mode, QIcon::State) {
  if (!drawing_->renderer.isValid() || size.isEmpty()) return {};
  return fittedSize(drawing_->renderer.defaultSize(), size);
}

QPixmap SvgGlyphEngine::pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) {
  const QSize actual = actualSize(size, mode, state);
  if (actual.isEmpty()) return {};
  const bool disabled = mode == QIcon::Disabled;
  const QString cacheKey = QStringLiteral("kavel-glyph-%1-%2x%3-%4")
                               .arg(drawing_->id)
                               .arg(actual.width())
                               .arg(actual.height())
                               .arg(disabled ? 1 : 0);
  QPixmap pm;
  if (QPixmapCache::find(cacheKey, &pm)) return pm;

  QImage img(actual, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::transparent);
  {
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    drawing_->renderer.render(&p, QRectF(QPointF(0, 0), QSizeF(actual)));
  }
  pm = QPixmap::fromImage(disabled ? faded(img) : img);
  QPixmapCache::insert(cacheKey, pm);
  return pm;
}

void SvgGlyphEngine::paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) {
  const QSize actual = actualSize(rect.size(), mode, state);
  if (actual.isEmpty()) return;
  const QRect target(rect.x() + (rect.width() - actual.width()) / 2,
                     rect.y() + (rect.height() - actual.height()) / 2, actual.width(), actual.height());
  if (mode == QIcon::Disabled) {
    const qreal dpr = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
    painter->drawPixmap(target, pixmap(target.size() * dpr, mode, state));
    return;
  }
  // Straight onto the painter: sharp on a printer page at any resolution.
  drawing_->renderer.render(painter, QRectF(target));
}

QIconEngine* SvgGlyphEngine::clone() const { return new SvgGlyphEngine(*this); }

QString SvgGlyphEngine::key() const { return QStringLiteral("KavelSvgGlyph"); }

bool SvgGlyphEngine::isNull() { return !drawing_->renderer.isValid(); }

}  // namespace kavel::gui
