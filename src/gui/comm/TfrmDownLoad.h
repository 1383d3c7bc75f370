#pragma once
// The download window: restarts the board into its boot loader, checks the loader's banner and
// sends the HEX image one record per acknowledgement; enlarged it is a plain serial terminal.
// Everything waits on the event loop: the link's signals and one timer drive the steps, so a
// silent board or a pulled cable never blocks the window.

#include <QDialog>
#include "gui/app/Chimes.h"

#include <memory>
#include <string>

#include "core/comm/HexFile.h"
#include "core/comm/HexSender.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTimer;
class QWidget;

namespace kavel {
struct Context;
struct LinkState;
class SerialLink;
}  // namespace kavel

namespace kavel::gui {

class ClickLabel;
class Prompts;

class TfrmDownLoad : public QDialog {
  Q_OBJECT

 public:
  TfrmDownLoad(Context& ctx, SerialLink& link, Prompts& prompts, QWidget* parent);
  ~TfrmDownLoad() override;

  /// The entry of the Download command once the HEX file is chosen: searches the board
  /// (asking whether to search again while none answers), opens the port, shows the window
  /// modally and closes the port afterwards. Repeating the command while the search runs
  /// cancels it.
  void DownLoad(const QString& hexPath);
  /// The last download was not cancelled: the next one may reuse its HEX file without asking.
  bool hexFileKnown() const { return hexKnown_; }
  void forgetHexFile() { hexKnown_ = false; }
  QString hexPath() const { return hexPath_; }
  /// Set with the HEX file when the window is driven without the command (tests).
  void setHexPath(const QString& path);
  /// The build's "PwrOn Run" box: the board starts the program by itself, no "R" is sent.
  void setPowerOnRun(bool on) { powerOnRun_ = on; }

  /// Loads the texts, the small form and the state's labels.
  void FormShow();
  void btnStartClick();
  /// Cancels the transfer while sending, else closes the window as cancelled.
  void btnCancelClick();
  void btnChangeClick();
  /// The boot loader asked for the image.
  void BootLoaderReady();
  void tmAutoStartTimer();

  // Terminal functions.
  void sBarDblClick();
  void btnSendClick();
  void cmbSendReturn();
  void btnMonitorClearClick();
  void lblViewDblClick();
  void pnlFontDblClick();
  void pnlPortDblClick();
  bool largeForm() const { return large_; }

  int state() const;
  bool startRequest() const { return startRequest_; }
  bool sending() const { return sender_ != nullptr; }
  QString statusText(int panel) const;
  QLabel* lblMsg1() const { return lblMsg1_; }
  QLabel* lblMsg2() const { return lblMsg2_; }
  QPushButton* btnStart() const { return btnStart_; }
  QPushButton* btnCancel() const { return btnCancel_; }
  QPushButton* btnChange() const { return btnChange_; }
  QProgressBar* progress() const { return progress_; }
  QPlainTextEdit* memoRecv() const { return memoRecv_; }
  QComboBox* cmbSend() const { return cmbSend_; }
  QCheckBox* ckAutoStart() const { return ckAutoStart_; }
  QCheckBox* ckHexDisp() const { return ckHexDisp_; }
  QLineEdit* edtSendTout() const { return edtSendTout_; }
  QLineEdit* edtAckTout() const { return edtAckTout_; }
  ClickLabel* pnlPort() const { return pnlPort_; }
  ClickLabel* lblView() const { return lblView_; }

 signals:
  /// Text for the first panel of the main window's status bar.
  void mainStatus(const QString& text);
  /// The change button chose a file in `folder` (the main window's user-path panel).
  void hexFolderChosen(const QString& folder);
  /// The port panel asks for the communication settings; the answer is whether they were
  /// changed (the port is then open).
  void comSettingsRequested(bool* accepted);

 protected:
  void showEvent(QShowEvent* event) override;
  void done(int result) override;
  void reject() override;

 private:
  void buildTerminal(QWidget* host);
  void setSmallForm();
  void setLargeForm();
  void setStartEnabled(bool on);
  void setMsg2(const QString& text, const char* colour);
  QString message(int n) const;
  int toutBox(QLineEdit* box) const;
  void sendImage();
  void pump();
  void finishSending();
  void addLog(const QString& line, bool clear = false);
  // The entry's search for the board.
  void searchBoard();
  void boardSearched(bool found);
  void showWindow();
  void playChimes();

  Context& ctx_;
  SerialLink& link_;
  LinkState& st_;
  Prompts& prompts_;

  QWidget* pnlTop_;
  QWidget* pnlTerm_;
  QLabel* lblUser_;
  QLabel* lblFile_;
  QLabel* lblMsg1_;
  QLabel* lblMsg2_;
  QPushButton* btnStart_;
  QPushButton* btnCancel_;
  QPushButton* btnChange_;
  QProgressBar* progress_;
  QCheckBox* ckAutoStart_ = nullptr;
  QCheckBox* ckHexDisp_ = nullptr;
  QLineEdit* edtSendTout_ = nullptr;
  QLineEdit* edtAckTout_ = nullptr;
  ClickLabel* lblView_ = nullptr;
  QPushButton* btnMonitorClear_ = nullptr;
  ClickLabel* pnlPort_ = nullptr;
  ClickLabel* pnlFont_ = nullptr;
  QPlainTextEdit* memoRecv_ = nullptr;
  QComboBox* cmbSend_ = nullptr;
  QPushButton* btnSend_ = nullptr;
  QWidget* sBar_;
  ClickLabel* panels_[2];
  QTimer* tmAutoStart_;
  QTimer* tmSend_;
  Chimes chimes_{this};

  QString hexPath_;
  bool hexKnown_ = false;
  bool powerOnRun_ = false;
  bool startRequest_ = false;
  bool large_ = false;
  bool waitingForProbe_ = false;   // the start button's search
  bool entrySearch_ = false;       // the command's search
  int searchFailures_ = 0;
  HexFile image_;
  std::unique_ptr<HexSender> sender_;
};

}  // namespace kavel::gui
