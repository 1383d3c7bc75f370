#pragma once
// What every statement dialog shares: it edits only the edit buffer, is created once and
// reused, and opens modally at a position the program window chooses.

#include <QDialog>
#include <QPoint>

#include "Context.h"

namespace kavel::gui {

class StatementDialog : public QDialog {
  Q_OBJECT

 public:
  StatementDialog(Context& ctx, QWidget* parent);

  /// Loads the edit buffer into the controls and applies the current language.
  virtual void FormShow() = 0;
  /// Stores the controls into the edit buffer and closes with OK.
  virtual void btnOkClick();
  /// Closes without storing.
  virtual void btnCancelClick();

  /// Shows the dialog modally with its top-left at `pos`, kept fully on the screen; true when
  /// it was closed with OK.
  bool execAt(const QPoint& pos);

 protected:
  Context& ctx_;
};

}  // namespace kavel::gui
