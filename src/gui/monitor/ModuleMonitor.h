#pragma once
// What the module monitors share: they listen to the serial link while shown, end with a
// Close button and show the last line in the second panel of a two-panel status bar. A
// window that was opened from the sensor monitor leaves the port to it; if the link breaks
// off, the window closes (the main window tells the user).

#include <QDialog>
#include <QString>

class QLabel;
class QPushButton;
class QVBoxLayout;

namespace kavel {
struct Context;
struct LinkState;
class SerialLink;
}  // namespace kavel

namespace kavel::gui {

class Prompts;

class ModuleMonitor : public QDialog {
  Q_OBJECT

 public:
  ModuleMonitor(Context& ctx, SerialLink& link, Prompts& prompts, QWidget* parent);

  /// Closes the window (the close handler runs once, whichever way it closes).
  void btnCloseClick();
  /// The text of status panel 0 or 1.
  QString statusText(int panel) const;
  /// Whether the window is set to receive its lines.
  virtual bool listening() const = 0;

  QPushButton* btnClose = nullptr;

 protected:
  /// Sets the listening mark and the texts of the current language; run when the window is
  /// shown. The base sets the Close caption and the port panel.
  virtual void FormShow();
  /// Clears the listening mark and tells the board to stop, as the window requires.
  virtual void FormClose() = 0;

  QString msg(int n) const;
  void setStatus(int panel, const QString& text);
  /// The window's layout: content first, then the close row and the status bar (added by
  /// finishLayout()).
  QVBoxLayout* contentLayout() const { return layout_; }
  /// Adds `extra` (may be null) left of Close, then the status bar.
  void finishLayout(QWidget* extra = nullptr);

  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void done(int result) override;

  Context& ctx_;
  SerialLink& link_;
  LinkState& st_;
  Prompts& prompts_;

 private:
  void closeOnce();

  QVBoxLayout* layout_;
  QLabel* panels_[2] = {};
  bool closed_ = true;  // the close handler has run since the last show
};

}  // namespace kavel::gui
