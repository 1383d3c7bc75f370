#include "gui/app/ClickLabel.h"

#include <QMouseEvent>

namespace kavel::gui {

void ClickLabel::mouseDoubleClickEvent(QMouseEvent* event) {
  QLabel::mouseDoubleClickEvent(event);
  emit doubleClicked();
}

}  // namespace kavel::gui
