#pragma once
// The servo statement: the servo on CN7 or CN8 set to a position in percent.

#include "gui/dialogs/StatementDialog.h"

class QGroupBox;
class QSlider;

namespace kavel::gui {

class TfrmServo final : public StatementDialog {
  Q_OBJECT

 public:
  TfrmServo(Context& ctx, QWidget* parent);

  void FormShow() override;
  /// Stores connector * 10000 + position in val0, cno = sno = Servo, and the comment.
  void btnOkClick() override;
  void applyLanguage() override;

  /// Switches to the other servo connector when it is in servo mode.
  void btnCNClick();
  void tBarChange();
  void btnDown101Click();
  void btnDown11Click();
  void btnUp11Click();
  void btnUp101Click();

  int connector() const { return connector_; }

  QGroupBox* pnlServoBase = nullptr;
  QPushButton* btnCN = nullptr;
  QSlider* tBar = nullptr;
  QLabel* pnlServo = nullptr;
  QPushButton* btnDown101 = nullptr;
  QPushButton* btnDown11 = nullptr;
  QPushButton* btnUp11 = nullptr;
  QPushButton* btnUp101 = nullptr;

 private:
  void FormCreate();
  void step(int delta);

  int connector_ = 7;
};

}  // namespace kavel::gui
