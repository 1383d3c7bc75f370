#pragma once
// The count of a for row: how many times its body runs, 0 to 100.

#include "gui/dialogs/StatementDialog.h"

class QGroupBox;

namespace kavel::gui {

class UpDown;

class TfrmRepeat final : public StatementDialog {
  Q_OBJECT

 public:
  TfrmRepeat(Context& ctx, QWidget* parent);

  void FormShow() override;
  /// Stores the typed count (limited to 0..100, text that is no number gives 0) in val0 and
  /// the comment; the subject kind stays RepeatCount.
  void btnOkClick() override;
  void applyLanguage() override;

  QGroupBox* pnlRepeat = nullptr;
  QLineEdit* edtRepeat = nullptr;
  UpDown* udRepeat = nullptr;
  QLabel* lblRepeat = nullptr;

 private:
  void FormCreate();
};

}  // namespace kavel::gui
