#include "gui/editor/RowView.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionButton>

#include <algorithm>

#include "gui/editor/TfrmProg.h"
#include "core/model/RowText.h"
#include "core/model/StatementKind.h"

namespace kavel::gui {

RowView::RowView(TfrmProg& prog) : QAbstractScrollArea(&prog), prog_(prog) {
  setObjectName("pnlLayout");
  QFont buttonFont = QApplication::font();
  buttonFont.setBold(true);
  QFont lineFont = QApplication::font();
  lineFont.setPixelSize(10);
  painter_ = std::make_unique<RowPainter>(prog.glyphs(), buttonFont, lineFont);
  verticalScrollBar()->setRange(0, kVerticalRange);
  verticalScrollBar()->setSingleStep(1);
  horizontalScrollBar()->setRange(0, kHorizontalRange);
  horizontalScrollBar()->setSingleStep(1);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setFocusPolicy(Qt::StrongFocus);
  viewport()->setMouseTracking(true);
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  setFrameShape(QFrame::NoFrame);
}

QPoint RowView::layoutOffset() const {
  return {-kColumnStep * horizontalPosition(), -kRowHeight * verticalPosition()};
}

int RowView::verticalPosition() const { return verticalScrollBar()->value(); }
int RowView::horizontalPosition() const { return horizontalScrollBar()->value(); }
void RowView::setVerticalPosition(int p) { verticalScrollBar()->setValue(p); }
void RowView::setHorizontalPosition(int p) { horizontalScrollBar()->setValue(p); }

int RowView::visibleRows() const { return viewport()->height() / kRowHeight; }

void RowView::centreOn(int row) { setVerticalPosition(std::max(row - visibleRows() / 2, 0)); }

QRect RowView::iconRect(int row) const {
  const auto& rows = prog_.program().rows();
  const int level = row >= 0 && row < static_cast<int>(rows.size()) ? rows[static_cast<std::size_t>(row)].level : 0;
  return RowPainter::iconRect(row, level);
}

QRect RowView::valueRect(int row) const {
  const auto& rows = prog_.program().rows();
  if (row < 0 || row >= static_cast<int>(rows.size())) return {};
  return painter_->valueRect(row, rows[static_cast<std::size_t>(row)], prog_.rowText(row));
}

RowView::Hit RowView::hitAt(const QPoint& viewportPos) const {
  const QPoint pos = viewportPos - layoutOffset();
  if (pos.y() < kTop) return {};
  const int row = (pos.y() - kTop) / kRowHeight;
  if (row >= static_cast<int>(prog_.program().size())) return {};
  if (iconRect(row).contains(pos)) return {row, Part::Icon};
  if (valueRect(row).contains(pos)) return {row, Part::Value};
  return {};
}

void RowView::setSelected(int row, bool scrollIntoView) {
  selected_ = std::clamp(row, 0, static_cast<int>(prog_.program().size()));
  if (scrollIntoView) ensureVisible(selected_);
  viewport()->update();
}

void RowView::ensureVisible(int row) {
  const int v = verticalPosition();
  const int visible = std::max(visibleRows(), 1);
  if (row < v) {
    setVerticalPosition(row);
  } else if (row >= v + visible) {
    setVerticalPosition(row - visible + 1);
  }
}

// --- painting --------------------------------------------------------------------------------

void RowView::paintBackground(QPainter& p, const QRect& area) const {
  // The grid sits at 24, 1 of the viewport whatever the scroll position, so that its lines fall
  // on the left edges of the icon buttons.
  RowPainter::paintBackground(p, area, QRect(24, 1, viewport()->width(), viewport()->height()),
                              prog_.workspaceColour(), prog_.gridOn());
}

void RowView::paintRow(QPainter& p, int row) const {
  const Statement& s = prog_.program().rows()[static_cast<std::size_t>(row)];
  const bool marked = prog_.rowPressed(row);
  const auto stateFor = [&](Part part) {
    const Hit here{row, part};
    return RowPainter::ButtonState{marked || pressed_ == here, hover_ == here};
  };
  const auto styleFace = [this](QPainter& painter, const QRect& rect, RowPainter::ButtonState state) {
    QStyleOptionButton opt;
    opt.initFrom(this);
    opt.rect = rect;
    opt.state = QStyle::State_Enabled | (state.sunken ? QStyle::State_Sunken : QStyle::State_Raised);
    if (state.hover) opt.state |= QStyle::State_MouseOver;
    style()->drawControl(QStyle::CE_PushButtonBevel, &opt, &painter, this);
  };
  painter_->paintRow(p, layoutOffset(), row, s, prog_.rowText(row), stateFor(Part::Icon), stateFor(Part::Value), marked,
                     styleFace);
}

void RowView::paintInsertionMark(QPainter& p) const {
  if (prog_.armedKind() < 0) return;
  int at = -1;
  if (hover_.part == Part::Icon) {
    at = hover_.row;
  } else if (underMouse() && hover_.row < 0) {
    at = static_cast<int>(prog_.program().size());
  } else if (hasFocus()) {
    at = selected_;
  }
  if (at < 0) return;
  const QPoint off = layoutOffset();
  const QRect icon = iconRect(std::min(at, static_cast<int>(prog_.program().size())));
  const int y = off.y() + at * kRowHeight + kTop - 1;
  p.setPen(QPen(QColor(200, 0, 0), 3));
  p.drawLine(off.x() + icon.left() - 6, y, off.x() + icon.left() + kIconButtonWidth + 60, y);
}

void RowView::paintEvent(QPaintEvent* event) {
  QPainter p(viewport());
  const QRect area = event->rect();
  paintBackground(p, area);

  const int count = static_cast<int>(prog_.program().size());
  const QPoint off = layoutOffset();
  const int first = std::max(0, (area.top() - off.y() - kTop) / kRowHeight);
  const int last = std::min(count - 1, (area.bottom() - off.y() - kTop) / kRowHeight);

  // The selection band lies under the buttons of its row.
  if (selected_ <= count) {
    const QRect band(0, off.y() + selected_ * kRowHeight + kTop, viewport()->width(), kRowHeight);
    if (band.intersects(area)) {
      QColor fill = palette().color(QPalette::Highlight);
      fill.setAlpha(hasFocus() ? 70 : 35);
      p.fillRect(band, fill);
      if (hasFocus()) {
        p.setPen(QPen(palette().color(QPalette::Highlight), 1));
        p.drawRect(band.adjusted(0, 0, -1, -1));
      }
    }
  }
  for (int r = first; r <= last; ++r) paintRow(p, r);
  paintInsertionMark(p);
}

// --- mouse -----------------------------------------------------------------------------------

void RowView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  setFocus(Qt::MouseFocusReason);
  pressed_ = hitAt(event->position().toPoint());
  if (pressed_.row < 0) pressed_ = Hit{-2, Part::None};  // the empty area
  viewport()->update();
}

void RowView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const Hit down = pressed_;
  pressed_ = {};
  viewport()->update();
  Hit up = hitAt(event->position().toPoint());
  if (up.row < 0) up = Hit{-2, Part::None};
  if (!(up == down)) return;  // released somewhere else: no click, as with a button
  if (down.part == Part::Icon) {
    prog_.iconClick(down.row);
  } else if (down.part == Part::Value) {
    prog_.valueClick(down.row);
  } else {
    prog_.layoutClick();
  }
}

void RowView::mouseMoveEvent(QMouseEvent* event) {
  const Hit h = hitAt(event->position().toPoint());
  if (!(h == hover_)) {
    hover_ = h;
    viewport()->update();
  }
}

void RowView::leaveEvent(QEvent* event) {
  hover_ = {};
  viewport()->update();
  QAbstractScrollArea::leaveEvent(event);
}

void RowView::wheelEvent(QWheelEvent* event) {
  // One notch moves one step: a row vertically, an icon half horizontally (with Shift or a
  // sideways wheel).
  const QPoint delta = event->angleDelta();
  const bool sideways = (event->modifiers() & Qt::ShiftModifier) || delta.x() != 0;
  if (sideways) {
    wheelRemainderX_ += delta.x() != 0 ? delta.x() : delta.y();
    const int steps = wheelRemainderX_ / 120;
    wheelRemainderX_ -= steps * 120;
    setHorizontalPosition(horizontalPosition() - steps);
  } else {
    wheelRemainder_ += delta.y();
    const int steps = wheelRemainder_ / 120;
    wheelRemainder_ -= steps * 120;
    setVerticalPosition(verticalPosition() - steps);
  }
  event->accept();
}

// --- keyboard --------------------------------------------------------------------------------

void RowView::keyActivate(bool valueButton) {
  const int count = static_cast<int>(prog_.program().size());
  if (selected_ >= count) {
    prog_.layoutClick();
    return;
  }
  if (prog_.armedKind() < 0 && valueButton && !valueRect(selected_).isNull()) {
    prog_.valueClick(selected_);
  } else {
    prog_.iconClick(selected_);
  }
}

void RowView::keyPressEvent(QKeyEvent* event) {
  const int count = static_cast<int>(prog_.program().size());
  const bool ctrl = event->modifiers() & Qt::ControlModifier;
  const int page = std::max(visibleRows() - 1, 1);
  switch (event->key()) {
    case Qt::Key_Up: setSelected(selected_ - 1); break;
    case Qt::Key_Down: setSelected(selected_ + 1); break;
    case Qt::Key_PageUp: setSelected(selected_ - page); break;
    case Qt::Key_PageDown: setSelected(selected_ + page); break;
    case Qt::Key_Home: setSelected(0); break;
    case Qt::Key_End: setSelected(count); break;
    case Qt::Key_Left: setHorizontalPosition(horizontalPosition() - 1); break;
    case Qt::Key_Right: setHorizontalPosition(horizontalPosition() + 1); break;
    case Qt::Key_Return:
    case Qt::Key_Enter: keyActivate(true); break;
    case Qt::Key_Space:
    case Qt::Key_Menu: keyActivate(false); break;
    case Qt::Key_F10:
      if (event->modifiers() & Qt::ShiftModifier) {
        keyActivate(false);
      } else {
        QAbstractScrollArea::keyPressEvent(event);
      }
      break;
    case Qt::Key_Delete: prog_.keyDelete(); break;
    case Qt::Key_Escape: prog_.keyEscape(); break;
    case Qt::Key_X:
    case Qt::Key_C:
    case Qt::Key_V:
      if (!ctrl) {
        QAbstractScrollArea::keyPressEvent(event);
      } else if (event->key() == Qt::Key_X) {
        prog_.keyCut();
      } else if (event->key() == Qt::Key_C) {
        prog_.keyCopy();
      } else {
        prog_.keyPaste();
      }
      break;
    default:
      QAbstractScrollArea::keyPressEvent(event);
      return;
  }
  prog_.showPosition(selected_);
}

void RowView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  verticalScrollBar()->setPageStep(std::max(visibleRows(), 1));
  horizontalScrollBar()->setPageStep(std::max(viewport()->width() / kColumnStep, 1));
}

void RowView::scrollContentsBy(int, int) { viewport()->update(); }

void RowView::focusInEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusInEvent(event);
  viewport()->update();
}

void RowView::focusOutEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusOutEvent(event);
  viewport()->update();
}

}  // namespace kavel::gui
