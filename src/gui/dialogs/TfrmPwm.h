#pragma once
// The PWM statement: six outputs of the motor control board, each with a speed (fixed or a
// variable), a direction and a switch saying whether this statement changes it at all.

#include <array>

#include "core/dialogs/PwmCodes.h"
#include "gui/dialogs/StatementDialog.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QSlider;

namespace kavel::gui {

class TfrmPwm final : public StatementDialog {
  Q_OBJECT

 public:
  TfrmPwm(Context& ctx, QWidget* parent);

  void FormShow() override;
  /// Packs the six channel codes into val0..val2; cno = sno; the comment.
  void btnOkClick() override;
  void applyLanguage() override;

  // Handlers of channel n (1..6).
  void ckModifyClick(int n);
  void tBarChange(int n);
  void btnUp10Click(int n);
  void btnUp1Click(int n);
  void btnDown1Click(int n);
  void btnDown10Click(int n);
  void cmbSpeedCloseUp(int n);

  /// The channel as the controls show it.
  PwmChannel channel(int n) const;

  struct Channel {
    QGroupBox* box = nullptr;
    QCheckBox* ckModify = nullptr;
    QWidget* pnlCont = nullptr;
    QSlider* tBar = nullptr;
    QPushButton* btnUp10 = nullptr;
    QPushButton* btnUp1 = nullptr;
    QPushButton* btnDown1 = nullptr;
    QPushButton* btnDown10 = nullptr;
    QCheckBox* ckRev = nullptr;
    QComboBox* cmbSpeed = nullptr;
  };
  /// Channel n (1..6).
  const Channel& ch(int n) const { return channels_[static_cast<std::size_t>(n - 1)]; }

  QGroupBox* pnlPwm = nullptr;

 private:
  void FormCreate();
  QGroupBox* makeChannel(int n);
  void setFixedSpeed(int n, int speed);
  void stepSpeed(int n, int delta);

  std::array<Channel, kPwmChannels> channels_;
};

}  // namespace kavel::gui
