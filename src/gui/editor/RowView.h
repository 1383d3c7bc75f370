#pragma once
// The rows of a program window, painted in one view: line numbers, icon buttons with the
// statement glyphs and value buttons with the row texts, on a layout area that scrolls in
// steps of one row (30 pixels) and one icon half (80 pixels).

#include <QAbstractScrollArea>
#include <QFont>

#include <memory>

#include "gui/editor/RowPainter.h"

namespace kavel::gui {

class TfrmProg;

class RowView : public QAbstractScrollArea {
  Q_OBJECT

 public:
  static constexpr int kRowHeight = RowPainter::kRowHeight;
  static constexpr int kColumnStep = 80;
  static constexpr int kTop = RowPainter::kTop;  // y of the first row's buttons
  static constexpr int kVerticalRange = 990;
  static constexpr int kHorizontalRange = 50;

  explicit RowView(TfrmProg& prog);

  enum class Part { None, Icon, Value };
  struct Hit {
    int row = -1;  // -1: the empty layout area
    Part part = Part::None;
    bool operator==(const Hit&) const = default;
  };

  /// What lies under a point of the viewport.
  Hit hitAt(const QPoint& viewportPos) const;

  /// The icon and value button of a row in layout coordinates (unscrolled).
  QRect iconRect(int row) const;
  QRect valueRect(int row) const;
  /// Offset of the layout area in the viewport: (-80 x horizontal, -30 x vertical position).
  QPoint layoutOffset() const;

  int verticalPosition() const;
  int horizontalPosition() const;
  void setVerticalPosition(int p);
  void setHorizontalPosition(int p);
  /// Rows that fit the viewport.
  int visibleRows() const;
  /// Scrolls so that `row` is in the middle of the view.
  void centreOn(int row);

  /// The keyboard selection: a row, or the position after the last row (row count).
  int selected() const { return selected_; }
  void setSelected(int row, bool scrollIntoView = true);

  /// The font of the value buttons (bold, the main window's button font).
  const QFont& buttonFont() const { return painter_->buttonFont(); }
  /// How the rows are painted (also by the picture export).
  const RowPainter& rowPainter() const { return *painter_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  void paintBackground(QPainter& p, const QRect& area) const;
  void paintRow(QPainter& p, int row) const;
  void paintInsertionMark(QPainter& p) const;
  void ensureVisible(int row);
  void keyActivate(bool valueButton);

  TfrmProg& prog_;
  std::unique_ptr<RowPainter> painter_;
  int selected_ = 0;
  Hit pressed_;
  Hit hover_;
  int wheelRemainder_ = 0;
  int wheelRemainderX_ = 0;
};

}  // namespace kavel::gui
