#pragma once
// The mode question: a Yes/No question together with the stored mode it depends on, which
// the user may change on the spot with Update. Tag 0 asks before a build (BuildJob), tag 1
// before a new program (SetupDef).

#include <QDialog>

#include <array>

#include "core/Context.h"

class QButtonGroup;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace kavel::gui {

class TfrmMsgBox : public QDialog {
  Q_OBJECT

 public:
  explicit TfrmMsgBox(Context& ctx, QWidget* parent = nullptr);

  /// Which question the next showing asks (ModeQuestion::kBuildSave or kNewSetup).
  void setTag(int tag) { tag_ = tag; }
  int tag() const { return tag_; }

  /// Texts of the current language and the stored mode for the tag; runs whenever shown.
  void FormShow();
  /// Yes: closes with Accepted.
  void btnOkClick();
  /// No: closes with Rejected.
  void btnCancelClick();
  /// Stores the selected choice into the tag's setting; the caller uses it at once.
  void btnUpdateClick();
  /// A choice was clicked: Update becomes available.
  void rbModeClick();

  QLabel* lblMsg;
  QPushButton* btnOk;
  QPushButton* btnCancel;
  QGroupBox* pnlMsg;
  std::array<QRadioButton*, 3> rbMode;
  QPushButton* btnUpdate;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  Context& ctx_;
  QButtonGroup* modeGroup_;
  int tag_ = 0;
};

}  // namespace kavel::gui
