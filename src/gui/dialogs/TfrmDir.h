#pragma once
// The direction-sensor test: heading, pitch or roll against a target and a tolerance, each a
// slider value or a variable; the slider ranges follow the axis and the sensor fitted.

#include "gui/dialogs/StatementDialog.h"

class QComboBox;
class QGroupBox;
class QRadioButton;
class QSlider;

namespace kavel::gui {

class TfrmDir final : public StatementDialog {
  Q_OBJECT

 public:
  TfrmDir(Context& ctx, QWidget* parent);

  /// Writes val0, val1 and cmt.
  void FormShow() override;
  void btnOkClick() override;
  void applyLanguage() override;

  int axis() const;

  void rbAxisClick();
  void tBarJudgeChange();
  void tBarRangeChange();
  void btnUp10DegClick();
  void btnUp01DegClick();
  void btnDown01DegClick();
  void btnDown10DegClick();
  void btnUp10RangeClick();
  void btnUp01RangeClick();
  void btnDown01RangeClick();
  void btnDown10RangeClick();
  void cmbJudgeCloseUp();
  void cmbRangeCloseUp();

  QGroupBox* pnlDir = nullptr;
  QRadioButton* rbDir = nullptr;
  QRadioButton* rbPitch = nullptr;
  QRadioButton* rbRoll = nullptr;
  QLabel* lblJudge = nullptr;
  QLabel* lblRange = nullptr;
  QComboBox* cmbJudge = nullptr;
  QComboBox* cmbRange = nullptr;
  QSlider* tBarJudge = nullptr;
  QSlider* tBarRange = nullptr;
  QPushButton* btnUp10Deg = nullptr;
  QPushButton* btnUp01Deg = nullptr;
  QPushButton* btnDown01Deg = nullptr;
  QPushButton* btnDown10Deg = nullptr;
  QPushButton* btnUp10Range = nullptr;
  QPushButton* btnUp01Range = nullptr;
  QPushButton* btnDown01Range = nullptr;
  QPushButton* btnDown10Range = nullptr;

 private:
  void FormCreate();
  QWidget* makeColumn(bool target);
  void applyRanges();
  void writeCaptions();
  void rebuildLists();
  void step(QSlider* slider, int delta);

  bool loading_ = false;
};

}  // namespace kavel::gui
