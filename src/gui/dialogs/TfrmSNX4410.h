#pragma once
// The game-pad test: one of the pad's fourteen controls, and for a joystick the direction it is
// tilted in or "pressed". The controls are laid out like the pad.

#include <array>

#include "gui/dialogs/StatementDialog.h"

class QGroupBox;
class QRadioButton;

namespace kavel::gui {

class TfrmSNX4410 final : public StatementDialog {
  Q_OBJECT

 public:
  TfrmSNX4410(Context& ctx, QWidget* parent);

  /// Writes val0, val1 (the joystick direction) and cmt.
  void FormShow() override;
  void btnOkClick() override;
  void applyLanguage() override;

  /// A click on the control of bit `bit` (0..12, 14): it goes down and the others up, or up
  /// when it was down. The joysticks show or hide the direction panel.
  void controlClick(int bit);
  /// The bit of the control that is down, -1 when none.
  int chosenControl() const;

  /// The control buttons by bit (index 13 and 15, the pressed bits, stay empty).
  std::array<QPushButton*, 16> control{};
  QGroupBox* pnlPad = nullptr;
  QWidget* pnlJoy = nullptr;
  std::array<QRadioButton*, 9> rbJoy{};

 private:
  void FormCreate();
  void showJoyPanel(int stick);
  int chosenDirection() const;
  void showChosen();

  int chosen_ = -1;
};

}  // namespace kavel::gui
