#include "gui/dialogs/UpDown.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace kavel::gui {

UpDown::UpDown(QLineEdit* associate, int minimum, int maximum, QWidget* parent)
    : QWidget(parent), associate_(associate), minimum_(minimum), maximum_(maximum), position_(minimum) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  up_ = new QToolButton(this);
  down_ = new QToolButton(this);
  up_->setArrowType(Qt::UpArrow);
  down_->setArrowType(Qt::DownArrow);
  const int h = std::max(10, associate_->sizeHint().height() / 2);
  for (QToolButton* b : {up_, down_}) {
    b->setFocusPolicy(Qt::NoFocus);
    b->setAutoRepeat(true);
    b->setFixedSize(18, h);
    layout->addWidget(b);
  }
  connect(up_, &QToolButton::clicked, this, [this] { step(1); });
  connect(down_, &QToolButton::clicked, this, [this] { step(-1); });
  associate_->installEventFilter(this);
}

void UpDown::setPosition(int position) {
  position_ = std::clamp(position, minimum_, maximum_);
  associate_->setText(QString::number(position_));
}

void UpDown::step(int direction) {
  bool ok = false;
  const int typed = associate_->text().trimmed().toInt(&ok);
  if (ok) position_ = std::clamp(typed, minimum_, maximum_);
  setPosition(position_ + direction);
}

bool UpDown::eventFilter(QObject* watched, QEvent* event) {
  if (watched == associate_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Up || key == Qt::Key_Down) {
      step(key == Qt::Key_Up ? 1 : -1);
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace kavel::gui
