#pragma once
// Where the manual explains a window, a dialog or a statement, so Help > Manual and F1 open the
// page of what is in front. The manual is a folder of HTML pages: doc/ beside the binaries in a
// program folder (build/bin), PREFIX/share/doc/kavel/ for an installed copy.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kavel {

/// A place in the manual: a page relative to the manual folder and an anchor in it ("" for the
/// top of the page).
struct ManualPage {
  std::string file;
  std::string anchor;

  /// "file#anchor", or just "file"; what a link or a browser's address ends with.
  std::string link() const;
  bool operator==(const ManualPage&) const = default;
};

/// The contents page.
ManualPage manualContents();

/// The page of the window or dialog class `className` ("TfrmSpeed", "TfrmMoni", …); the
/// contents page for a class the manual does not describe. For a statement dialog that serves
/// several statements (TfrmTimer: wait, timer and timer condition) this is its main page;
/// manualPageForRow() finds the exact one from the row being edited.
ManualPage manualPageForWindow(std::string_view className);

/// The page of statement kind `sno` as a palette button or a row: "statements/motor.html" for
/// 19 to 28 and so on; the statements overview for a kind without a page of its own.
ManualPage manualPageForStatement(int sno);

/// The page of the condition of subject kind `cno` of an If, ElseIf or While row.
ManualPage manualPageForCondition(int cno);

/// The page of a row (or of the edit buffer while a statement dialog is open): the condition's
/// page for If, ElseIf and While rows that have one, else the statement's.
ManualPage manualPageForRow(int sno, int cno);

/// Every window and dialog class the manual describes, with its page (for tests and menus).
const std::vector<std::pair<std::string_view, ManualPage>>& manualWindowTable();

/// The manual folder for the binary at `binaryPath`, ending with "/": "<its folder>doc/" when that
/// holds index.html, else "<prefix>/share/doc/kavel/" for a binary in <prefix>/bin/ when that
/// holds it; "" when neither does (the caller names the folders it looked in).
std::string findManualFolder(const std::string& binaryPath);

/// The folders findManualFolder() looks in, in its order, for a message that names them.
std::vector<std::string> manualFolderCandidates(const std::string& binaryPath);

/// `page` in `language` (0 Japanese, 1 English): a page with a Japanese translation beside it
/// ("getting-started.ja.html" for "getting-started.html") in `folder` gives that for language
/// 0; everything else stays as it is.
ManualPage localizedPage(const std::string& folder, const ManualPage& page, int language);

}  // namespace kavel
