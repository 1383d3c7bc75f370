#pragma once
// The download window: shows a download the core's DownloadSession runs (the same session
// `kavel download` runs) and passes the user's clicks to it; enlarged it is a plain serial
// terminal. The session decides every step (search, "Reset", banner, prompt, the lines, "R");
// the window shows its events, asks its questions and mirrors the Start button's state.

#include <QDialog>
#include "gui/app/Chimes.h"

#include <memory>
#include <string>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QWidget;

namespace kavel {
struct Context;
struct LinkState;
class DownloadSession;
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
  /// (asking whether to search again while none answers), shows the window modally and
  /// closes the port afterwards. Repeating the command while the search runs cancels it.
  void DownLoad(const QString& hexPath);
  /// The last download was not cancelled: the next one may reuse its HEX file without asking.
  bool hexFileKnown() const { return hexKnown_; }
  /// The last download window was cancelled: the next Download asks for the file again.
  bool hexFileForgotten() const { return hexForgotten_; }
  void forgetHexFile() { hexKnown_ = false; }
  QString hexPath() const { return hexPath_; }
  /// Set with the HEX file when the window is driven without the command (tests).
  void setHexPath(const QString& path);
  /// The build's "PwrOn Run" box: the board starts the program by itself, no "R" is sent.
  void setPowerOnRun(bool on) { powerOnRun_ = on; }
  bool powerOnRun() const { return powerOnRun_; }
  /// The session of the download shown now; null while none runs.
  const DownloadSession* session() const { return session_.get(); }

  /// Loads the texts, the small form and the state's labels.
  void FormShow();
  void btnStartClick();
  /// Cancels the transfer while sending, else closes the window as cancelled.
  void btnCancelClick();
  void btnChangeClick();

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
  bool startRequest() const;
  bool sending() const;
  QString statusText(int panel) const;
  QLabel* lblMsg1() const { return lblMsg1_; }
  QLabel* lblMsg2() const { return lblMsg2_; }
  QPushButton* btnStart() const { return btnStart_; }
  QPushButton* btnCancel() const { return btnCancel_; }
  QPushButton* btnChange() const { return btnChange_; }
  QPushButton* btnSend() const { return btnSend_; }
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
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildTerminal(QWidget* host);
  void setSmallForm();
  void setLargeForm();
  void applyTerminalTexts();
  void setMsg2(const QString& text, const char* colour);
  QString message(int n) const;
  int toutBox(QLineEdit* box) const;
  void addLog(const QString& line, bool clear = false);
  void playChimes();

  // The session: made for the command's entry, or when the window is shown without it.
  void makeSession(const std::string& hexPath);
  void collectEvents();
  void showProgress();
  void showWindow();
  QString noBoardQuestion(const std::string& answer, const QString& fallback) const;

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
  Chimes chimes_{this};

  QString hexPath_;
  bool hexKnown_ = false;
  bool hexForgotten_ = false;
  bool powerOnRun_ = false;
  bool large_ = false;
  std::unique_ptr<DownloadSession> session_;
};

}  // namespace kavel::gui
