#pragma once
// The sensor comparison of an if, else-if or while row: a connector's input compared with a
// set value, a variable or another connector. Also edits the older touch test.

#include "core/dialogs/SensorComparison.h"
#include "gui/dialogs/StatementDialog.h"

class QComboBox;
class QGroupBox;
class QSlider;
class QToolButton;

namespace kavel::gui {

class BoardSelector;
class Glyphs;

class TfrmSensor final : public StatementDialog {
  Q_OBJECT

 public:
  TfrmSensor(Context& ctx, const Glyphs& glyphs, QWidget* parent);

  void FormShow() override;
  /// cno 14: the set value, operand, connector, comparison, the boards in sub-I/O mode and the
  /// comment (the tested connector's name when empty); cno 13: the touch sensor.
  void btnOkClick() override;
  void applyLanguage() override;

  void tBarChange();
  void btn10DownClick();
  void btn1DownClick();
  void btn1UpClick();
  void btn10UpClick();
  void btnIsUpperClick();
  void cmbSensCloseUp();
  void cmbVarCloseUp();
  void btnSensorClick();

  int comparison() const { return comparison_; }
  int touch() const { return touch_; }

  QGroupBox* pnlSensor = nullptr;
  QToolButton* btnSensor = nullptr;
  QComboBox* cmbSens = nullptr;
  QLabel* lblSensSym = nullptr;
  QPushButton* btnIsUpper = nullptr;
  QComboBox* cmbVar = nullptr;
  QLabel* lblVarSym = nullptr;
  QWidget* pnlSlider = nullptr;
  QSlider* tBar = nullptr;
  QPushButton* btn10Down = nullptr;
  QPushButton* btn1Down = nullptr;
  QPushButton* btn1Up = nullptr;
  QPushButton* btn10Up = nullptr;
  BoardSelector* btnID1 = nullptr;
  BoardSelector* btnID2 = nullptr;

 private:
  void FormCreate();
  bool interrupt() const;
  bool boards() const;
  int connectorMode() const;
  void setValueCaption();
  void layoutForOperand();
  void step(int delta, bool focusOk);
  void showTouch();

  const Glyphs& glyphs_;
  int comparison_ = 0;
  int touch_ = 0;
};

}  // namespace kavel::gui
