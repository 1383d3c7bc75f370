#pragma once
// The motor dialog: left and right speed, each a fixed percentage on a slider or a variable
// A..Z, and the drive pattern that follows from them and becomes the row's statement kind.

#include "gui/dialogs/StatementDialog.h"

class QComboBox;
class QGroupBox;
class QSlider;
class QToolButton;

namespace kavel::gui {

class Glyphs;

class TfrmSpeed final : public StatementDialog {
  Q_OBJECT

 public:
  TfrmSpeed(Context& ctx, const Glyphs& glyphs, QWidget* parent);

  void FormShow() override;
  void btnOkClick() override;
  void applyLanguage() override;

  /// The speed of a side: the negated slider position, so the top of a slider is +100.
  int leftSpeed() const;
  int rightSpeed() const;
  /// The remembered speed of the icon button (its tag).
  int iconMemory() const { return iconMemory_; }
  /// The pattern the preview shows on the icon button.
  int shownPattern() const { return shownPattern_; }

  // Event handlers, callable directly.
  void tBarLSpeedChange();
  void tBarRSpeedChange();
  void btnLup10Click();
  void btnLup1Click();
  void btnLdown1Click();
  void btnLdown10Click();
  void btnRup10Click();
  void btnRup1Click();
  void btnRdown1Click();
  void btnRdown10Click();
  void cmbLSpeedCloseUp();
  void cmbRSpeedCloseUp();
  void btnIconClick();

  QGroupBox* pnlSpeed = nullptr;
  QSlider* tBarLSpeed = nullptr;
  QSlider* tBarRSpeed = nullptr;
  QComboBox* cmbLSpeed = nullptr;
  QComboBox* cmbRSpeed = nullptr;
  QPushButton* btnLup10 = nullptr;
  QPushButton* btnLup1 = nullptr;
  QPushButton* btnLdown1 = nullptr;
  QPushButton* btnLdown10 = nullptr;
  QPushButton* btnRup10 = nullptr;
  QPushButton* btnRup1 = nullptr;
  QPushButton* btnRdown1 = nullptr;
  QPushButton* btnRdown10 = nullptr;
  QToolButton* btnIcon = nullptr;

 private:
  void FormCreate();
  QWidget* makeSide(bool left);
  /// Re-captions the fixed-speed items, decides the drive pattern, stores it in the edit
  /// buffer's sno and shows its glyph.
  void preview();
  void stepSide(bool left, int delta);
  void setSpeeds(int left, int right);
  bool leftSideFocused() const;

  const Glyphs& glyphs_;
  int iconMemory_ = 0;
  int shownPattern_ = 0;
};

}  // namespace kavel::gui
