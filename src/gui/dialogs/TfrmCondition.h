#pragma once
// The condition chooser of if, else-if and while rows: one button per kind of condition. A
// click puts the button's kind into the edit buffer's cno and closes with OK; the program
// window then opens the dialog of that kind.

#include <map>

#include "gui/dialogs/StatementDialog.h"

class QGroupBox;

namespace kavel::gui {

class Glyphs;

class TfrmCondition final : public StatementDialog {
  Q_OBJECT

 public:
  TfrmCondition(Context& ctx, const Glyphs& glyphs, QWidget* parent);

  /// Shows the buttons the row's kind, the option flags and the current program allow, and
  /// focuses the button of the row's current condition (none for a new row).
  void FormShow() override;
  void applyLanguage() override;

  /// The click handler all condition buttons share: writes only cno, closes with OK.
  void btnConditionClick(int kind);

  /// The button of a condition kind (nullptr for kinds without one).
  QPushButton* button(int kind) const;

  QGroupBox* pnlCondition = nullptr;
  QPushButton* btnLoop = nullptr;
  QPushButton* btnLed = nullptr;
  QPushButton* btnSensor = nullptr;
  QPushButton* btnTimer = nullptr;
  QPushButton* btnVar = nullptr;
  QPushButton* btnDir = nullptr;
  QPushButton* btnUss = nullptr;
  QPushButton* btnPixy = nullptr;
  QPushButton* btnSNX4410 = nullptr;
  QPushButton* btnOut = nullptr;
  QPushButton* btnCode = nullptr;

 private:
  void FormCreate();

  const Glyphs& glyphs_;
  std::map<int, QPushButton*> buttons_;
  std::map<int, int> captions_;  // kind -> message number
};

}  // namespace kavel::gui
