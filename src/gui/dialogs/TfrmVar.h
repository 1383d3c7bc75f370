#pragma once
// The variable dialog: a variable statement (an assignment with an optional arithmetic
// operation) or a variable condition (a comparison), with a preview of the expression.

#include <string>
#include <vector>

#include "core/dialogs/VariableForm.h"
#include "gui/dialogs/StatementDialog.h"

class QComboBox;
class QGroupBox;

namespace kavel::gui {

class BoardSelector;

class TfrmVar final : public StatementDialog {
  Q_OBJECT

 public:
  TfrmVar(Context& ctx, QWidget* parent);

  /// Rebuilds the lists under the options in force, loads the row and refreshes.
  void FormShow() override;
  /// Stores val0, val1 (a typed number, or an operand index with cno 32), the boards in
  /// sub-I/O mode, cno and the comment; sno is left alone.
  void btnOkClick() override;
  void applyLanguage() override;

  /// The change handler the four lists share: reads them and refreshes.
  void cmbChange();
  /// An item of the value list was chosen.
  void cmbValueSelect(int index);
  /// The value field's text was edited: a typed number.
  void cmbValueEdited(const QString& text);

  const VariableForm& form() const { return form_; }

  QGroupBox* pnlVar = nullptr;
  QLabel* lblVar1 = nullptr;
  QLabel* lblVar2 = nullptr;
  QLabel* lblOpe2 = nullptr;
  QLabel* lblValue = nullptr;
  QComboBox* cmbVar1 = nullptr;
  QComboBox* cmbOpe1 = nullptr;
  QComboBox* cmbVar2 = nullptr;
  QComboBox* cmbOpe2 = nullptr;
  QComboBox* cmbValue = nullptr;
  BoardSelector* btnID1 = nullptr;
  BoardSelector* btnID2 = nullptr;
  QLabel* pnlExpression = nullptr;

 private:
  void FormCreate();
  void buildLists();
  void refresh();
  void showForm();

  VariableForm form_;
  std::vector<std::string> operands_;
  bool subIo_ = false;
  bool statement_ = false;
};

}  // namespace kavel::gui
