#pragma once
// A fixed-size view of a picture the window draws into (the compass dial, the camera field);
// it repaints from the picture, so what is drawn stays until it is drawn over.

#include <QImage>
#include <QWidget>

namespace kavel::gui {

class PictureView final : public QWidget {
  Q_OBJECT

 public:
  /// A view of `width` x `height` pixels whose picture starts filled with `background`.
  PictureView(int width, int height, const QColor& background, QWidget* parent);

  /// The picture; call update() after drawing into it.
  QImage& picture() { return picture_; }
  const QImage& picture() const { return picture_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage picture_;
};

}  // namespace kavel::gui
