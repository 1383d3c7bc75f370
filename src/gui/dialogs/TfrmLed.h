#pragma once
// The LED statement and the LED test: the green LED or one of the red LEDs 1..3, on or off.

#include "gui/dialogs/StatementDialog.h"

class QGroupBox;
class QRadioButton;
class QToolButton;

namespace kavel::gui {

class Glyphs;

class TfrmLed final : public StatementDialog {
  Q_OBJECT

 public:
  TfrmLed(Context& ctx, const Glyphs& glyphs, QWidget* parent);

  void FormShow() override;
  /// Stores the LED, its state, the kind (also as sno for an LED statement) and the comment.
  void btnOkClick() override;
  void applyLanguage() override;

  /// Steps the LED green, red 1, red 2, red 3, green ...
  void btnIconClick();
  void rbClick();

  int led() const { return led_; }

  QGroupBox* pnlLed = nullptr;
  QToolButton* btnIcon = nullptr;
  QLabel* pnlLedName = nullptr;
  QRadioButton* rbOn = nullptr;
  QRadioButton* rbOff = nullptr;

 private:
  void FormCreate();
  void refresh();

  const Glyphs& glyphs_;
  int led_ = 1;
};

}  // namespace kavel::gui
