#include "gui/app/WindowLook.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QWidget>

namespace kavel::gui {

void centreOnScreen(QWidget* window) {
  const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  QRect frame = window->frameGeometry();
  frame.moveCenter(screen->availableGeometry().center());
  window->move(frame.topLeft());
}

void centreOver(QWidget* window, const QWidget* over) {
  if (!over) {
    centreOnScreen(window);
    return;
  }
  QRect frame = window->frameGeometry();
  frame.moveCenter(over->window()->frameGeometry().center());
  window->move(frame.topLeft());
}

void setPixelFont(QWidget* widget, int pixels, bool bold) {
  QFont f = widget->font();
  f.setPixelSize(pixels);
  f.setBold(bold);
  widget->setFont(f);
}

void fitLabelFont(QLabel* label, int maxPixels, int minPixels) {
  QFont f = label->font();
  const QRect room(0, 0, label->width(), 1 << 20);
  for (int px = maxPixels; px >= minPixels; --px) {
    f.setPixelSize(px);
    const QRect needed = QFontMetrics(f).boundingRect(room, Qt::TextWordWrap, label->text());
    if (needed.height() <= label->height() && needed.width() <= label->width()) break;
  }
  label->setFont(f);
}

}  // namespace kavel::gui
