#pragma once
// The version window: product, program version, and the board and boot-loader versions once
// a board has reported them; a button opens the maker's download page in the browser.

#include <QDialog>

#include <functional>

#include "core/Context.h"

class QLabel;
class QPushButton;
class QUrl;

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
  /// Hands the download page to the desktop's web browser. When none can be started a warning
  /// box says so and names the address, which the user can copy from it.
  void btnWebClick();
  void btnOkClick();

  /// What opens an address; true when a browser took it. Default: QDesktopServices::openUrl.
  void setUrlOpener(std::function<bool(const QUrl&)> opener) { openUrl_ = std::move(opener); }

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

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  Context& ctx_;
  std::function<bool(const QUrl&)> openUrl_;
};

}  // namespace kavel::gui
