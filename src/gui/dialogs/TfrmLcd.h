#pragma once
// The LCD statement: one line of the 16x2 display, a text or a layout of variables or
// connector inputs.

#include <array>
#include <functional>

#include "core/dialogs/LcdLine.h"
#include "gui/dialogs/StatementDialog.h"

class QComboBox;
class QGroupBox;

namespace kavel::gui {

class TfrmLcd final : public StatementDialog {
  Q_OBJECT

 public:
  TfrmLcd(Context& ctx, QWidget* parent);

  void FormShow() override;
  /// Refuses a text with a double quote (a warning, the dialog stays open); otherwise stores
  /// cno, val0, val1 and the text as the comment.
  void btnOkClick() override;
  void applyLanguage() override;

  /// Normalises the data fields for the chosen format and shows the fields it uses.
  void cmbFormCloseUp();
  /// Normalises data field k (1..4).
  void cmbDatCloseUp(int k);

  /// The line as the controls hold it.
  LcdLine line() const;

  /// Shows a warning (text, title); tests replace it to stay out of a modal loop.
  std::function<void(const QString&, const QString&)> showWarning;

  QGroupBox* pnlLcd = nullptr;
  QComboBox* cmbLineNo = nullptr;
  QComboBox* cmbForm = nullptr;
  std::array<QComboBox*, 4> cmbDat{};

 private:
  void FormCreate();
  void showLine(const LcdLine& line);
};

}  // namespace kavel::gui
