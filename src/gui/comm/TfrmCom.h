#pragma once
// The communication settings dialog: the port and, behind the maintenance gesture, the other
// line settings. A new setting is only accepted once the port has opened with it; the port
// search tries every serial port of the machine one at a time on the event loop, so Cancel
// stays responsive and nothing waits in a nested loop.

#include <QDialog>

#include <functional>
#include <vector>

#include "core/comm/PortList.h"
#include "core/settings/AppSettings.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTimer;

namespace kavel {
struct Context;
class SerialLink;
}  // namespace kavel

namespace kavel::gui {

class Prompts;

class TfrmCom : public QDialog {
  Q_OBJECT

 public:
  TfrmCom(Context& ctx, SerialLink& link, Prompts& prompts, QWidget* parent);

  /// Texts of the current language, the boxes filled from the settings, the line settings
  /// locked, the progress panel hidden.
  void FormShow();
  /// The maintenance gesture: unlocks every box and asks the main window to reveal its
  /// language editor item and message memo.
  void FormDblClick();
  /// Opens the port with the boxes' values; closes with OK when it opened (the port stays
  /// open), else warns, restores the previous values and stays open.
  void btnOkClick();
  /// Stops a running port search, else closes with Cancel.
  void btnCancelClick();
  /// Starts the port search.
  void btnPortClick();
  bool searching() const { return searching_; }

  /// Where the port search finds its candidates (the machine's serial ports by default).
  void setPortSource(std::function<std::vector<PortInfo>()> source) { portSource_ = std::move(source); }

  QComboBox* cmbPort() const { return cmbPort_; }
  QComboBox* cmbBaud() const { return cmbBaud_; }
  QCheckBox* ckRts() const { return ckRts_; }
  QComboBox* cmbSendHead() const { return cmbSendHead_; }
  QComboBox* cmbSendDlmt() const { return cmbSendDlmt_; }
  QComboBox* cmbRecvDlmt() const { return cmbRecvDlmt_; }
  QLineEdit* edtRecvTout() const { return edtRecvTout_; }
  QProgressBar* pnlProgress() const { return pnlProgress_; }
  QPushButton* btnPort() const { return btnPort_; }

 signals:
  void maintenanceRequested();

 protected:
  void showEvent(QShowEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void reject() override;

 private:
  void loadBoxes();
  void lockLineSettings(bool locked);
  std::string portFromBox() const;
  void searchStep();
  void endSearch();

  Context& ctx_;
  SerialLink& link_;
  Prompts& prompts_;
  std::function<std::vector<PortInfo>()> portSource_;

  QGroupBox* grpDownload_;
  QGroupBox* grpSend_;
  QGroupBox* grpRecv_;
  QPushButton* btnPort_;
  QComboBox* cmbPort_;
  QLabel* lblBaud_;
  QComboBox* cmbBaud_;
  QCheckBox* ckRts_;
  QLabel* lblSendHead_;
  QComboBox* cmbSendHead_;
  QLabel* lblSendDlmt_;
  QComboBox* cmbSendDlmt_;
  QLabel* lblRecvDlmt_;
  QComboBox* cmbRecvDlmt_;
  QLabel* lblRecvTout_;
  QLineEdit* edtRecvTout_;
  QProgressBar* pnlProgress_;
  QPushButton* btnOk_;
  QPushButton* btnCancel_;
  QTimer* searchTimer_;

  bool searching_ = false;
  std::vector<PortInfo> candidates_;
  std::size_t next_ = 0;
  std::vector<PortInfo> found_;
  QString typed_;  // the port box's text when the search began
  AppSettings saved_;
};

}  // namespace kavel::gui
