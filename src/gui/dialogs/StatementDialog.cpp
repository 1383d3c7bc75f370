#include "dialogs/StatementDialog.h"

#include <QGuiApplication>
#include <QScreen>

namespace kavel::gui {

StatementDialog::StatementDialog(Context& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx) { setModal(true); }

void StatementDialog::btnOkClick() { accept(); }

void StatementDialog::btnCancelClick() { reject(); }

bool StatementDialog::execAt(const QPoint& pos) {
  FormShow();
  adjustSize();
  QPoint p = pos;
  if (const QScreen* screen = QGuiApplication::screenAt(pos) ? QGuiApplication::screenAt(pos)
                                                              : QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    p.setX(std::clamp(p.x(), area.left(), std::max(area.left(), area.right() - width())));
    p.setY(std::clamp(p.y(), area.top(), std::max(area.top(), area.bottom() - height())));
  }
  move(p);
  return exec() == QDialog::Accepted;
}

}  // namespace kavel::gui
