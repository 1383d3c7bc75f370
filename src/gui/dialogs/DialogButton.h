#pragma once
// The small push buttons of the statement dialogs (steps, limits, module commands).

#include <QPushButton>
#include <QString>

namespace kavel::gui {

/// A button named `name` that is never a default button, so Enter in a dialog presses only
/// the focused button; `width` above 0 fixes its width, so the step columns line up.
inline QPushButton* dialogButton(const QString& name, const QString& caption, QWidget* parent, int width = 0) {
  auto* b = new QPushButton(caption, parent);
  b->setObjectName(name);
  b->setAutoDefault(false);
  if (width > 0) b->setFixedWidth(width);
  return b;
}

}  // namespace kavel::gui
