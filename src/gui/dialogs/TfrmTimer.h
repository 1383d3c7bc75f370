#pragma once
// The time-related statements: the wait statement, the timer statement and the timer
// condition, chosen by the statement kind of the row.

#include "core/dialogs/TimerForm.h"
#include "gui/dialogs/StatementDialog.h"

class QComboBox;
class QGroupBox;
class QSlider;
class QToolButton;

namespace kavel::gui {

class Glyphs;

class TfrmTimer final : public StatementDialog {
  Q_OBJECT

 public:
  TfrmTimer(Context& ctx, const Glyphs& glyphs, QWidget* parent);

  void FormShow() override;
  /// Stores val0, val1 of the use and the comment; neither sno nor cno.
  void btnOkClick() override;
  /// Also rebuilds the variable items of the value list.
  void applyLanguage() override;

  void tBarChange();
  void btn1000mDownClick();
  void btn100mDownClick();
  void btn100mUpClick();
  void btn1000mUpClick();
  void btnIconClick();
  void btnIsUpperClick();
  void cmbVarCloseUp();
  void cmbTimerCloseUp();

  TimerUse use() const { return use_; }
  int comparison() const { return comparison_; }

  QGroupBox* pnlTimer = nullptr;
  QToolButton* btnIcon = nullptr;
  QComboBox* cmbTimer = nullptr;
  QPushButton* btnIsUpper = nullptr;
  QComboBox* cmbVar = nullptr;
  QWidget* pnlSlider = nullptr;
  QSlider* tBar = nullptr;
  QPushButton* btn1000mDown = nullptr;
  QPushButton* btn100mDown = nullptr;
  QPushButton* btn100mUp = nullptr;
  QPushButton* btn1000mUp = nullptr;

 private:
  void FormCreate();
  void setTimeCaption();
  void layoutForSource();
  void step(int delta);

  const Glyphs& glyphs_;
  TimerUse use_ = TimerUse::Wait;
  int comparison_ = 0;
};

}  // namespace kavel::gui
