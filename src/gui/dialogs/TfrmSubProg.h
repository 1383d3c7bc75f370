#pragma once
// The sub-program dialog: a call names the program file of the Sub it runs and whether its
// window opens; a hidden unlock makes the call the timer-interrupt routine. A return row only
// carries a comment. The program window then plans the call (core/model/SubCallRules.h).

#include "gui/dialogs/StatementDialog.h"

class QCheckBox;
class QToolButton;

namespace kavel::gui {

class Glyphs;
class Prompts;

class TfrmSubProg final : public StatementDialog {
  Q_OBJECT

 public:
  /// `prompts` asks for the file and shows the warnings; without one the dialog uses the
  /// standard boxes (usePrompts replaces it later).
  TfrmSubProg(Context& ctx, const Glyphs& glyphs, QWidget* parent, Prompts* prompts = nullptr);
  ~TfrmSubProg() override;

  void usePrompts(Prompts& prompts) { prompts_ = &prompts; }

  /// SubCall (cno 9): writes cmt (the picked name) and, for the interrupt call, val0 and
  /// interruptInUse. Return (cno 10): writes cmt. A Sub program may only call what Main calls:
  /// OK is refused otherwise.
  void FormShow() override;
  void btnOkClick() override;
  void applyLanguage() override;

  /// Picks the program file of the called Sub.
  void btnProgClick();
  /// Double click on the label: offers the interrupt option while no call is the interrupt
  /// routine yet.
  void lblCmtDblClick();

  /// The name that OK stores (without folder and extension).
  QString pickedName() const;
  /// The dialog's two choices, read by the program window after OK.
  bool interruptChosen() const;
  bool editChosen() const;

  QToolButton* btnProg = nullptr;
  QLabel* pnlFname = nullptr;
  QCheckBox* ckEdit = nullptr;
  QCheckBox* ckIntr = nullptr;

 private:
  void FormCreate();
  void warn(const QString& text);
  bool isCall() const;

  const Glyphs& glyphs_;
  Prompts* prompts_;
  Prompts* ownPrompts_ = nullptr;
};

}  // namespace kavel::gui
