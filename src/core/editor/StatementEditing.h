#pragma once
// How a program window hands a row to its statement dialog and takes the result back: which
// dialog edits a subject kind, the defaults a dialog opens with, and the fields it returns.

#include "core/model/Statement.h"

namespace kavel {

/// The statement dialogs, named after their windows.
enum class DialogKind {
  None,
  Condition,  // TfrmCondition, the condition chooser
  Repeat,     // TfrmRepeat
  SubProg,    // TfrmSubProg
  Sensor,     // TfrmSensor
  Dir,        // TfrmDir
  Speed,      // TfrmSpeed
  Timer,      // TfrmTimer
  Var,        // TfrmVar
  Code,       // TfrmCode
  Led,        // TfrmLed
  Pwm,        // TfrmPwm
  Servo,      // TfrmServo
  OutCn,      // TfrmOutCn
  Lcd,        // TfrmLcd
  Snx4410,    // TfrmSNX4410
  Uss,        // TfrmUss
  Pixy,       // TfrmPixy
};

/// The dialog that edits the values of a row of subject kind `cno` (None: nothing opens).
DialogKind dialogForSubjectKind(int cno);

/// The name of a dialog's window ("TfrmSpeed"), for messages.
const char* dialogName(DialogKind kind);

/// Applies the opening defaults of the dialog for `buffer.cno` to the edit buffer.
void prepareForDialog(EditBuffer& buffer);

/// Copies what the dialog for subject kind `dialogCno` hands back from the edit buffer into
/// `row`. True when the row's statement kind may have changed, so its glyph must follow. The
/// statement kind of an If, ElseIf or While row is never taken from the buffer: only its
/// condition is being edited.
bool copyBack(int dialogCno, const EditBuffer& buffer, Statement& row);

/// The edit buffer for a statement of `kind` just inserted from the palette, subject kind set
/// to what its dialog opens with (0 for If, ElseIf and While, whose condition is still to be
/// chosen).
EditBuffer insertionBuffer(int kind);

/// Whether an inserted row opens a dialog at all (Else, Continue and Break do not).
bool opensDialogOnInsertion(int kind);

/// The condition kinds after whose choice the condition's own dialog opens.
bool conditionHasDialog(int conditionKind);

/// What follows a condition choice.
enum class ConditionFollowUp {
  None,        // a kind without values: nothing more happens
  Stored,      // Unconditional: the row holds it already
  OpenDialog,  // the dialog of the chosen kind opens on the edit buffer
};

/// The condition chooser closed with OK, the chosen kind in `buffer.cno`, for If, ElseIf or
/// While `row`. The buffer gets the row's values and comment when the kind stays the same (and
/// is not 0), otherwise values 0 and an empty comment; Unconditional goes into the row at once.
ConditionFollowUp applyConditionChoice(Statement& row, EditBuffer& buffer);

/// A row that was inserted and never confirmed by its dialog: its subject kind is still 0 (for
/// a motor dialog: its row text is still empty).
bool neverConfirmed(const Statement& row, bool rowTextEmpty, int dialogCno);

}  // namespace kavel
