#pragma once
// What every statement dialog shares: it edits only the edit buffer, is created once and
// reused, and opens modally at a position the program window chooses. It shows as a
// borderless window: the content panel pnlBase sits inside a 2-pixel frame.

#include <QDialog>
#include <QPoint>
#include <QString>

#include "core/Context.h"

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QVBoxLayout;
class QWidget;

namespace kavel::gui {

class StatementDialog : public QDialog {
  Q_OBJECT

 public:
  StatementDialog(Context& ctx, QWidget* parent);

  /// Loads the edit buffer into the controls and applies the current language.
  virtual void FormShow() = 0;
  /// Stores the controls into the edit buffer and closes with OK.
  virtual void btnOkClick();
  /// Closes without storing.
  virtual void btnCancelClick();

  /// Shows the dialog modally with its top-left at `pos`, kept fully on the screen; true when
  /// it was closed with OK.
  bool execAt(const QPoint& pos);

  /// The placement step of execAt without opening: sizes the dialog to its contents and
  /// moves it to `pos`, kept fully on the screen that holds `pos` (else the primary one).
  void placeAt(const QPoint& pos);

  /// Sizes the dialog to the controls it shows now.
  void fitToContents();

  /// Sets the texts that come from the message table, in the current language. The show
  /// handler runs it, so a language switch shows at the next opening.
  virtual void applyLanguage();

  /// Key handler of the comment field (and of number fields): Enter moves the focus to OK, so
  /// a second Enter presses it. True when the key was taken; other keys pass on unchanged.
  bool edtCmtKeyPress(int key);

  // Controls every dialog has; the comment field and OK are absent in the condition chooser.
  QFrame* pnlBase = nullptr;
  QLabel* lblCmt = nullptr;
  QLineEdit* edtCmt = nullptr;
  QPushButton* btnOk = nullptr;
  QPushButton* btnCancel = nullptr;

 protected:
  /// Text of message n in the current language.
  QString msg(int n) const;
  /// The layout inside pnlBase that a dialog's create handler fills.
  QVBoxLayout* baseLayout() const;
  /// The comment label and field, the field stretched to 8 pixels short of the panel's edge.
  QWidget* makeCommentRow();
  /// OK (when `withOk`) and Cancel, right-aligned.
  QWidget* makeButtonRow(bool withOk = true);
  /// Enter in `field` moves the focus to OK.
  void focusOkOnEnter(QWidget* field);
  /// The comment: loaded by the show handler, stored unchanged by OK.
  void loadComment();
  void storeComment();

  bool eventFilter(QObject* watched, QEvent* event) override;
  /// Enter presses the focused button and nothing else (no implicit default button);
  /// Escape is Cancel.
  void keyPressEvent(QKeyEvent* event) override;

  Context& ctx_;

 private:
  QVBoxLayout* baseLayout_ = nullptr;
};

}  // namespace kavel::gui
