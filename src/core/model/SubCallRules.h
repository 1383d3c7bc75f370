#pragma once
// What a sub-program call may name and which Sub number it gets. The dialog checks the picked
// file; the program window plans the call from these rules (number, windows to close or open).

#include <string>

#include "core/model/ProgramSet.h"

namespace kavel {

/// The program name of a path: the file name without folder and extension ("d/Grab.Kvl" ->
/// "Grab").
std::string programNameOf(const std::string& path);

enum class SubPick {
  Accepted,      // the picked file may be called
  MainAsSub,     // the Main program's own file: "Can't Open MAIN as SUB"
  InsideItself,  // the program being edited: "Can't Open Sub Inside Itself"
};

/// Checks a picked file against the Main program's file path and the name of the program being
/// edited (the empty name of an unsaved program matches nothing).
SubPick checkSubPick(const std::string& pickedPath, const std::string& mainPath, const std::string& editedName);

/// Whether a SubCall row of Main names `name` (never for the empty name). A Sub program can only
/// call what Main calls: "Can't Open Undefined Sub-Program" otherwise.
bool mainCallsName(const ProgramSet& set, const std::string& name);

/// The number a call of `name` gets, edited in program `inProgram`, where row `row` of that
/// program is the call being edited (its own number does not count; -1 when none). A name that
/// a SubCall row of Main carries with a number 1..30 shares that number. Otherwise in Main the
/// smallest number from 1 that no other SubCall row of Main carries; in a Sub one more than the
/// highest number of Main's SubCall rows. The result is 1..29, or 0 when all are taken
/// (Sub-30 is reserved for the interrupt routine).
int subNumberFor(const ProgramSet& set, int inProgram, int row, const std::string& name);

/// What the program window does after the sub-program dialog closed with OK on a SubCall row.
struct SubCallPlan {
  int number = 0;        // the row's new val0: 1..30, 0 when no number is free
  int closeWindow = 0;   // Sub window to close first (0 none)
  bool openWindow = false;  // open (or show) the window of Sub `number`
  bool readFile = false;    // then read the file `name` into it
  bool operator==(const SubCallPlan&) const = default;
};

/// Plans the call: `oldNumber` and `oldName` are the row's values before the dialog,
/// `bufferNumber` the edit buffer's val0 after it, `name` the picked name; `interrupt` and
/// `edit` the dialog's two boxes.
SubCallPlan planSubCall(const ProgramSet& set, int inProgram, int row, int oldNumber, const std::string& oldName,
                        int bufferNumber, const std::string& name, bool interrupt, bool edit);

}  // namespace kavel
