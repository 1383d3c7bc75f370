#pragma once
// Asks for the user-interface language on the first run. It cannot be left without a choice;
// the choice goes to LANG_NO_ (0 Japanese, 1 English) and is saved with the settings at exit.

#include <QDialog>

#include "core/Context.h"

class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace kavel::gui {

class TfrmStartup : public QDialog {
  Q_OBJECT

 public:
  explicit TfrmStartup(Context& ctx, QWidget* parent = nullptr);

  /// Product label and picture for the current variant; runs whenever the window is shown.
  void FormShow();
  /// Stores the selected language and closes; without a selection nothing happens.
  void btnOkClick();

  /// Whether LANG_NO_ holds a language, i.e. the window may close.
  bool languageChosen() const;

  QFrame* pnlMain;
  QLabel* lblProduct;
  QLabel* imgProduct;
  QGroupBox* grpLanguage;
  QRadioButton* rbJpn;
  QRadioButton* rbEng;
  QPushButton* btnOk;

 public slots:
  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void setPicture(const QPixmap& picture);

  Context& ctx_;
};

}  // namespace kavel::gui
