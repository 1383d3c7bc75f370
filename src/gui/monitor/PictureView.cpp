#include "gui/monitor/PictureView.h"

#include <QPaintEvent>
#include <QPainter>

namespace kavel::gui {

PictureView::PictureView(int width, int height, const QColor& background, QWidget* parent)
    : QWidget(parent), picture_(width, height, QImage::Format_RGB32) {
  picture_.fill(background);
  setFixedSize(width, height);
}

void PictureView::paintEvent(QPaintEvent* event) {
  QPainter p(this);
  p.drawImage(event->rect(), picture_, event->rect());
}

}  // namespace kavel::gui
