#pragma once
// The ultrasonic dialog: start or stop the 4-channel unit, or compare one sensor's distance
// with a set distance or a variable.

#include "gui/dialogs/StatementDialog.h"

class QComboBox;
class QGroupBox;
class QSlider;
class QToolButton;

namespace kavel::gui {

class Glyphs;

class TfrmUss final : public StatementDialog {
  Q_OBJECT

 public:
  TfrmUss(Context& ctx, const Glyphs& glyphs, QWidget* parent);

  /// Statement rows (sno 44) start or stop the unit; if, else-if and while rows test a sensor.
  /// Writes val0, val1 and cmt.
  void FormShow() override;
  void btnOkClick() override;
  void applyLanguage() override;

  int sensor() const { return sensor_; }
  int comparison() const { return comparison_; }
  bool start() const { return start_; }
  bool isTest() const { return isTest_; }

  void btnIconClick();
  void btnJudgeClick();
  void tBarUssChange();
  void btn10cmDownClick();
  void btn1cmDownClick();
  void btn1cmUpClick();
  void btn10cmUpClick();
  void cmbVarCloseUp();

  QGroupBox* pnlUss = nullptr;
  QToolButton* btnIcon = nullptr;
  QLabel* lblUss = nullptr;
  QPushButton* btnJudge = nullptr;
  QComboBox* cmbVar = nullptr;
  QWidget* pnlSlider = nullptr;
  QSlider* tBarUss = nullptr;
  QPushButton* btn10cmDown = nullptr;
  QPushButton* btn1cmDown = nullptr;
  QPushButton* btn1cmUp = nullptr;
  QPushButton* btn10cmUp = nullptr;

 private:
  void FormCreate();
  void showJudge();
  /// The slider panel shows only while the set distance is the source.
  void layoutForSource();
  void writeDistanceCaption();
  void step(int delta);

  const Glyphs& glyphs_;
  int sensor_ = 0;
  int comparison_ = 0;
  bool start_ = false;
  bool isTest_ = false;
};

}  // namespace kavel::gui
