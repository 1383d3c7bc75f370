#pragma once
// The version window: product, program version, and the board and boot-loader versions once
// a board has reported them; a button opens the maker's download page in the browser.

#include <QDialog>
#include <QProcess>

#include "core/Context.h"

class QLabel;
class QPushButton;

namespace kavel::gui {

class TfrmHelp : public QDialog {
  Q_OBJECT

 public:
  /// The maker's download page.
  static constexpr const char* kDownloadPage = "https://www.wrenlet-robotics.example/kavel/download";
  static constexpr const char* kStartFailedText = "Can't Process Start!";
  static constexpr const char* kStartFailedTitle = "Warnning";

  explicit TfrmHelp(Context& ctx, QWidget* parent = nullptr);

  /// Icon, title and version lines for the current settings; runs whenever the window is shown.
  void FormShow();
  /// Starts the browser with the download page and waits for it without blocking: the button
  /// stays disabled until the started process ends. A failed start shows a warning box.
  void btnWebClick();
  void btnOkClick();

  /// The program that opens the page (default "xdg-open"); it gets the address as its one
  /// argument.
  void setOpenCommand(const QString& program) { openCommand_ = program; }

  QLabel* imgGlent;
  QLabel* imgQV7B;
  QLabel* imgBoard;
  QLabel* imgDistributor;
  QLabel* lblTitle;
  QLabel* lblAppVer;
  QLabel* lblBuildVer;
  QLabel* lblLoaderVer;
  QPushButton* btnWeb;
  QPushButton* btnOk;

 signals:
  /// The started browser process has ended (or could not be started).
  void webProcessDone();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void onWebError(QProcess::ProcessError error);
  void onWebFinished();

  Context& ctx_;
  QString openCommand_ = QStringLiteral("xdg-open");
  QProcess* webProcess_ = nullptr;
};

}  // namespace kavel::gui
