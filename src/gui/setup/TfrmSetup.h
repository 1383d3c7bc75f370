#pragma once
// The I/O setup window: the mode and name of each of the ten connectors (chosen from a popup
// beside the connector), the option modules, the sub I/O identity, the microcontroller and the
// setup comment. The rules are in core/setup (ConnectorModes, SetupBoxes, SetupCodec).

#include <QDialog>

#include <array>

#include "core/Context.h"
#include "core/setup/SetupBoxes.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;

namespace kavel::gui {

class Prompts;
class TfrmMsgBox;

class TfrmSetup final : public QDialog {
  Q_OBJECT

 public:
  /// `prompts` and `msgBox` ask the "Default Setup" question (the setup-reset form).
  TfrmSetup(Context& ctx, Prompts& prompts, TfrmMsgBox& msgBox, QWidget* parent);

  /// Decodes the setup record into the I/O setup and loads every control from it.
  void FormShow();
  /// Stores boxes, identity, comment, encoding and connector names, in that order; closes
  /// with OK.
  void btnOkClick();
  /// Closes without storing; modes and names chosen from a popup stay, as the popup edits the
  /// I/O setup directly.
  void btnCancelClick();
  /// Asks, then returns everything to the variant's defaults.
  void btnDefClick();

  /// The popup of connector `connector` (1..10) set up for its neighbours; not shown.
  QMenu* preparePopup(int connector);
  /// Choosing mode `mode` from connector `connector`'s popup.
  void chooseMode(int connector, int mode);
  /// Double click on the advanced panel: unlocks the 2-wire input and the radio module.
  void pnlAdvDblClick();
  /// A click on an option, Advanced Mode or the sub I/O box.
  void boxClick(SetupBox box);
  /// The identity list closed on item `item`.
  void cmbIDCloseUp(int item);

  /// After OK: whether the main window should show its Setup button (advanced mode or sub I/O).
  bool wantsSetupButton() const { return wantsSetupButton_; }
  /// Whether this showing changed the I/O setup in a way that Cancel keeps: "Default Setup"
  /// or a mode chosen from a connector's popup. The palette must follow then too.
  bool changedBeforeCancel() const { return changed_; }

  std::array<QGroupBox*, 10> frmCN{};
  std::array<QLineEdit*, 10> edtCN{};
  std::array<QLabel*, 10> pnlCN{};
  std::array<QCheckBox*, kSetupBoxCount> box{};
  QCheckBox* ckAdv = nullptr;
  QGroupBox* pnlAdv = nullptr;
  QComboBox* cmbID = nullptr;
  QLabel* lblCmt = nullptr;
  QLineEdit* edtCmt = nullptr;
  QPushButton* btnDef = nullptr;
  QPushButton* btnOk = nullptr;
  QPushButton* btnCancel = nullptr;
  QMenu* pmCN = nullptr;
  /// The popup's items, by the mode each chooses (0..6).
  std::array<QAction*, 7> pmMode{};

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  /// Advanced Mode widens the window: it moves back onto the screen where it would leave it.
  void resizeEvent(QResizeEvent* event) override;

 private:
  void FormCreate();
  QWidget* makeConnectors();
  QWidget* makeOptions();
  QCheckBox* makeBox(SetupBox which, const char* name, const char* caption, QWidget* parent);
  void showVariantBoxes();
  void loadControls();
  void refreshConnector(int connector);
  SetupBoxes readBoxes() const;
  void writeBoxes(const SetupBoxes& boxes);
  void showPopup(int connector);

  Context& ctx_;
  Prompts& prompts_;
  TfrmMsgBox& msgBox_;
  bool twoWireUnlocked_ = false;
  bool wantsSetupButton_ = false;
  bool changed_ = false;
};

}  // namespace kavel::gui
