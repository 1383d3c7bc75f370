#pragma once
// The camera test: a colour signature, the picture areas where it must be seen (a 3 x 3 grid
// the user clicks) and a size limit shown as a preview rectangle over the grid.

#include <array>

#include "core/modules/CameraValues.h"
#include "gui/dialogs/StatementDialog.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QToolButton;

namespace kavel::gui {

class Glyphs;

class TfrmPixy final : public StatementDialog {
  Q_OBJECT

 public:
  TfrmPixy(Context& ctx, const Glyphs& glyphs, QWidget* parent);

  /// Writes val0, val1, val2 = 0 and cmt.
  void FormShow() override;
  void btnOkClick() override;
  void applyLanguage() override;

  const CameraAreas& areas() const { return areas_; }
  int limitWidth() const { return width_; }
  int limitHeight() const { return height_; }
  bool larger() const { return larger_; }

  void cmbSigNoChange();
  void btnIconClick();
  void ckPositionClick();
  void ckSizeClick();
  /// A click on area panel `tag` (0..8) toggles its mark.
  void pnlPosClick(int tag);
  void btnXdnClick();
  void btnXupClick();
  void btnYdnClick();
  void btnYupClick();
  void btnLimitClick();

  QGroupBox* pnlPixy = nullptr;
  QLabel* lblSig = nullptr;
  QComboBox* cmbSigNo = nullptr;
  QToolButton* btnIcon = nullptr;
  QCheckBox* ckPosition = nullptr;
  QCheckBox* ckSize = nullptr;
  QFrame* pnlGrid = nullptr;
  std::array<QFrame*, 9> pnlPos{};
  QFrame* pnlPreview = nullptr;
  QWidget* pnlLimit = nullptr;
  QPushButton* btnXdn = nullptr;
  QPushButton* btnXup = nullptr;
  QPushButton* btnYdn = nullptr;
  QPushButton* btnYup = nullptr;
  QLabel* pnlXsize = nullptr;
  QLabel* pnlYsize = nullptr;
  QPushButton* btnLimit = nullptr;
  QLabel* lblSize = nullptr;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FormCreate();
  /// Shows what the signature and the boxes call for; unticking both boxes ticks Position.
  void layoutControls();
  void refreshPreview();
  void paintAreas();

  const Glyphs& glyphs_;
  CameraAreas areas_{};  // kept between openings
  int width_ = 50;
  int height_ = 50;
  bool larger_ = false;
};

}  // namespace kavel::gui
