#pragma once
// The names of the steps of the edit history ("Insert If", "Delete Row 12") and the captions
// of the Undo and Redo items. A step keeps message numbers, not text, so that its name follows
// a change of language.

#include <string>

namespace kavel {

class MessageTable;

/// Messages of the Edit menu and of the step names.
inline constexpr int kMsgEditMenu = 7;       // the Edit menu
inline constexpr int kMsgUndo = 35;          // "&Undo %s"
inline constexpr int kMsgRedo = 60;          // "&Redo %s"
inline constexpr int kMsgInsertStep = 65;    // "Insert %s", %s the statement's palette hint
inline constexpr int kMsgDeleteStep = 72;    // "Delete Row %d"
inline constexpr int kMsgEditStep = 79;      // "Edit Row %d"
inline constexpr int kMsgSubNamesStep = 86;  // Main's calls renamed after the Sub's file

struct StepName {
  int message = 0;   // the pattern
  int argument = 0;  // for a "%d" pattern the number; for "%s" the message whose text goes in

  bool operator==(const StepName&) const = default;

  /// Inserting a statement of `kind` from the palette.
  static StepName insert(int kind);
  /// Deleting the block of `row` (from 0; the name shows it from 1).
  static StepName deleteRow(int row);
  /// A dialog's OK on `row` (from 0).
  static StepName editRow(int row);
  static StepName cut();
  static StepName paste();
  static StepName changeCondition();
  /// Main's SubCall rows took the file name of the Sub program just saved or opened.
  static StepName subFileNames();
};

/// The step's name in the current language: "Insert If (condition)", "Delete Row 12", "Cut".
std::string stepText(const StepName& name, const MessageTable& messages);

/// `pattern` with `value` in place of its first "%s" or "%d"; the texts are editable, so no
/// other "%" is ever read. Without a value the placeholder goes together with the space it
/// leaves; a pattern without a placeholder gets the value after a space.
std::string fillIn(const std::string& pattern, const std::string& value);

/// The caption of the Undo or Redo item: its message `pattern` with the step's text in place of
/// "%s" (an "&" in the step's text shows as such, not as an accelerator).
std::string historyItemCaption(const std::string& pattern, const std::string& step);

/// A menu caption as a name inside another text: the accelerator goes ("Cu&t" gives "Cut",
/// "切り取り (&T)" gives "切り取り"), "&&" stays a single "&".
std::string plainCaption(const std::string& caption);

}  // namespace kavel
