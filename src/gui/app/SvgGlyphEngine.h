#pragma once
// Icon engine for the SVG glyphs: draws the drawing at whatever size a button, a row or the
// printer asks for, keeping its shape, so every use gets crisp edges. Needs no icon plugin.

#include <QByteArray>
#include <QIconEngine>

#include <memory>

class QSvgRenderer;

namespace kavel::gui {

class SvgGlyphEngine final : public QIconEngine {
 public:
  /// Null icon (isNull) when the bytes are not a readable SVG drawing.
  explicit SvgGlyphEngine(const QByteArray& svg);

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override;
  QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
  QIconEngine* clone() const override;
  QString key() const override;
  bool isNull() override;

 private:
  struct Drawing;
  std::shared_ptr<const Drawing> drawing_;
};

}  // namespace kavel::gui
