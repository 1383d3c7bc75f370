#pragma once
// The output statement and the output test: a connector in an output mode, High or Low.

#include <vector>

#include "gui/dialogs/StatementDialog.h"

class QComboBox;
class QGroupBox;
class QRadioButton;
class QToolButton;

namespace kavel::gui {

class Glyphs;

class TfrmOutCn final : public StatementDialog {
  Q_OBJECT

 public:
  TfrmOutCn(Context& ctx, const Glyphs& glyphs, QWidget* parent);

  /// Offers the connectors in an output mode and selects the row's (else the first).
  void FormShow() override;
  /// Stores the connector, the level and the comment (the connector's name when empty).
  /// Without any output connector the row keeps its connector.
  void btnOkClick() override;
  void applyLanguage() override;

  /// Selects the next connector of the list, the first after the last.
  void btnIconClick();
  void cmbOutCnCloseUp();

  QGroupBox* pnlOutCn = nullptr;
  QToolButton* btnIcon = nullptr;
  QComboBox* cmbOutCn = nullptr;
  QLabel* lblOutSym = nullptr;
  QRadioButton* rbOn = nullptr;
  QRadioButton* rbOff = nullptr;

 private:
  void FormCreate();
  void refreshName();
  int selectedConnector() const;

  const Glyphs& glyphs_;
  std::vector<int> connectors_;
};

}  // namespace kavel::gui
