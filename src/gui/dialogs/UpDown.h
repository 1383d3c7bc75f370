#pragma once
// A pair of arrow buttons joined to a number field: each click (or the Up and Down keys in
// the field) reads the field's number, steps it within the limits and writes it back. The
// field stays a plain edit, so anything may be typed; the dialog decides what typed text means.

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace kavel::gui {

class UpDown final : public QWidget {
  Q_OBJECT

 public:
  UpDown(QLineEdit* associate, int minimum, int maximum, QWidget* parent);

  int position() const { return position_; }
  /// Sets the position (limited, no wrap) and writes it into the field without separators.
  void setPosition(int position);
  /// One step up (+1) or down (-1) from the number in the field.
  void step(int direction);

  QToolButton* upButton() const { return up_; }
  QToolButton* downButton() const { return down_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QLineEdit* associate_;
  QToolButton* up_;
  QToolButton* down_;
  int minimum_;
  int maximum_;
  int position_;
};

}  // namespace kavel::gui
