#pragma once
// The statement dialogs, each created once and reused for the whole run.

#include <QWidget>

#include <memory>

#include "core/Context.h"
#include "gui/dialogs/StatementDialog.h"

namespace kavel::gui {

class Glyphs;
class TfrmCode;
class TfrmCondition;
class TfrmSNX4410;
class TfrmSubProg;

class DialogSet {
 public:
  DialogSet(Context& ctx, const Glyphs& glyphs, QWidget* parent);
  ~DialogSet();
  DialogSet(const DialogSet&) = delete;
  DialogSet& operator=(const DialogSet&) = delete;

  /// The dialog that edits a row of subject kind `cno`, or nullptr when this version has no
  /// dialog for it (the caller then says so and keeps the row). 19..28: TfrmSpeed, which
  /// writes sno, cno, val0..val2 and cmt; 5: TfrmRepeat, which writes val0 and cmt; 13, 14
  /// TfrmSensor; 29, 30 TfrmTimer; 31, 32 TfrmVar; 34..37 TfrmLed; 38 TfrmPwm; 39 TfrmServo;
  /// 40 TfrmOutCn; 41 TfrmLcd (what each writes: their OK handlers).
  /// Sensor modules: 44 TfrmUss, 15 TfrmDir, 43 TfrmSNX4410, 45 TfrmPixy (val0, val1, cmt;
  /// the camera and the game pad also val2 = 0). 9, 10: TfrmSubProg; 33: TfrmCode (cmt).
  StatementDialog* forSubjectKind(int cno);

  /// The condition chooser TfrmCondition. It reads sno (Unconditional is offered to while
  /// rows only) and cno (the button focused); after OK the edit buffer's cno holds the chosen
  /// condition kind, whether or not a dialog for that kind exists yet; nothing else is written.
  StatementDialog* condition();

  /// The sub-program dialog (cno 9 and 10) and the C-code window (cno 33), for the services
  /// the program window and the main window give them (prompts, the library browser).
  TfrmSubProg* subProg();
  TfrmCode* code();
  /// The game-pad dialog, for its live monitor's serial link.
  TfrmSNX4410* snx4410();

  /// Rebuilds the language-dependent texts and lists of every dialog.
  void applyLanguage();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace kavel::gui
