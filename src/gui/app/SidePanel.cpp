#include "gui/app/SidePanel.h"

#include <QEvent>
#include <QPlainTextEdit>

#include "gui/app/ClickLabel.h"
#include "gui/editor/Palette.h"

namespace kavel::gui {
namespace {

constexpr int kMargin = 8;
constexpr int kLabelHeight = 22;

QPixmap scaledToWidth(const QImage& image, int width) {
  if (image.isNull() || width <= 0) return {};
  return QPixmap::fromImage(image.scaledToWidth(width, Qt::SmoothTransformation));
}

}  // namespace

SidePanel::SidePanel(const Glyphs& glyphs, QWidget* parent) : QWidget(parent) {
  setObjectName("pnlFunction");
  setAutoFillBackground(true);
  palette_ = new Palette(glyphs, this);
  palette_->move(kMargin, kMargin);

  lblProduct_ = new ClickLabel(this);
  lblProduct_->setObjectName("lblProduct");
  lblProduct_->setAlignment(Qt::AlignCenter);
  lblProduct_->setAutoFillBackground(true);
  QFont f = lblProduct_->font();
  f.setBold(true);
  lblProduct_->setFont(f);

  imgProduct_ = new ClickLabel(this);
  imgProduct_->setObjectName("imgProduct");
  imgProduct_->setAlignment(Qt::AlignCenter);

  imgLogo_ = new ClickLabel(this);
  imgLogo_->setObjectName("imgLogo");
  imgLogo_->setAlignment(Qt::AlignCenter);

  memoMsg_ = new QPlainTextEdit(this);
  memoMsg_->setObjectName("memoMsg");
  memoMsg_->setReadOnly(true);
  memoMsg_->hide();
  memoMsg_->viewport()->installEventFilter(this);
  relayout();
}

void SidePanel::setProductPicture(const QImage& image) {
  product_ = image;
  relayout();
}

void SidePanel::setLogoPicture(const QImage& image) {
  logo_ = image;
  relayout();
}

void SidePanel::relayout() {
  const int inner = palette_->width();
  setFixedWidth(inner + 2 * kMargin);
  int y = palette_->y() + palette_->height() + 2;
  lblProduct_->setGeometry(kMargin, y, inner, kLabelHeight);
  y += kLabelHeight + 2;

  const QPixmap product = scaledToWidth(product_, inner);
  imgProduct_->setPixmap(product);
  imgProduct_->setGeometry(kMargin, y, inner, product.isNull() ? 0 : product.height());
  imgProduct_->setVisible(!product.isNull());
  y += product.isNull() ? 0 : product.height() + 2;

  int bottom = height();
  const QPixmap logo = scaledToWidth(logo_, width() - 16);
  imgLogo_->setPixmap(logo);
  imgLogo_->setVisible(!logo.isNull());
  if (!logo.isNull()) {
    bottom -= logo.height() + 4;
    imgLogo_->setGeometry(8, bottom, width() - 16, logo.height());
  }
  // Whether it is shown, not whether the window is on screen yet: the memo can be revealed
  // before the first paint.
  if (!memoMsg_->isHidden()) {
    const int h = std::max(bottom - y - 4, 40);
    memoMsg_->setGeometry(4, bottom - h - 2, width() - 8, h);
  }
}

void SidePanel::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  relayout();
}

bool SidePanel::eventFilter(QObject* watched, QEvent* event) {
  // A double click empties the message memo.
  if (watched == memoMsg_->viewport() && event->type() == QEvent::MouseButtonDblClick) {
    memoMsg_->clear();
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace kavel::gui
