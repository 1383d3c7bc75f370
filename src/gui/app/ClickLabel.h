#pragma once
// A label that reports double clicks (the product label, the pictures, the folder panel).

#include <QLabel>

namespace kavel::gui {

class ClickLabel : public QLabel {
  Q_OBJECT

 public:
  using QLabel::QLabel;

 signals:
  void doubleClicked();

 protected:
  void mouseDoubleClickEvent(QMouseEvent* event) override;
};

}  // namespace kavel::gui
