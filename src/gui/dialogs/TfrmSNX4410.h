#pragma once
// The game-pad test: one of the pad's fourteen controls, and for a joystick the direction it is
// tilted in or "pressed". The controls are laid out like the pad. Its monitor button shows the
// board's live pad lines, so the user can see which control the board reports.

#include <array>
#include <memory>

#include "gui/dialogs/StatementDialog.h"

class QGroupBox;
class QRadioButton;

namespace kavel {
class ModuleStream;
class SerialLink;
}

namespace kavel::gui {

class Prompts;

class TfrmSNX4410 final : public StatementDialog {
  Q_OBJECT

 public:
  TfrmSNX4410(Context& ctx, QWidget* parent);
  ~TfrmSNX4410() override;

  /// Writes val0, val1 (the joystick direction) and cmt.
  void FormShow() override;
  void btnOkClick() override;
  void applyLanguage() override;

  /// A click on the control of bit `bit` (0..12, 14): it goes down and the others up, or up
  /// when it was down. The joysticks show or hide the direction panel.
  void controlClick(int bit);
  /// The bit of the control that is down, -1 when none.
  int chosenControl() const;

  /// The serial link of the live monitor and where its open failures are told; without one
  /// the monitor button is hidden.
  void useLink(SerialLink& link, Prompts& prompts);
  /// Down: opens the port unless it is open already (the sensor monitor shows this dialog
  /// connected), then asks the board for its pad lines ("S2:1"); a port that does not open
  /// is reported and the button pops up. Up: "S2:0", the port closed when this dialog
  /// opened it, the caption "Monitor" again.
  void btnMonitorClick();
  /// A pad line: shown whole as the monitor button's caption.
  void padLine(const QString& line);
  bool monitoring() const;

  QPushButton* btnMonitor = nullptr;

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
  void startMonitor();
  void stopMonitor();
  void collectEvents();

  void done(int result) override;
  void hideEvent(QHideEvent* event) override;

  int chosen_ = -1;
  SerialLink* link_ = nullptr;
  Prompts* prompts_ = nullptr;
  std::unique_ptr<ModuleStream> stream_;  // the monitor button's "S2:1" / "S2:0"
};

}  // namespace kavel::gui
