#pragma once
// The text of a C-code row or condition as the C-code window edits it: code and remark kept in
// one comment, the library row that matches the code, and library entries inserted with their
// parameters blanked out for the user to fill in.

#include <cstddef>
#include <string>
#include <string_view>

#include "core/codegen/CCodeLibrary.h"

namespace kavel {

/// Code and remark of a C-code comment.
struct CCodeParts {
  std::string code;
  std::string remark;
  bool operator==(const CCodeParts&) const = default;
};

/// Separates code and remark in a stored comment.
inline constexpr std::string_view kRemarkSeparator = "  \t// ";

/// Splits at the first "\t// ": the code is the part before it, trimmed; the remark the part
/// after it. Without the separator the whole comment is the code.
CCodeParts splitCCodeComment(const std::string& comment);

/// The comment stored for a code and a remark: the code, then, when the remark is not empty,
/// "  \t// " and the remark.
std::string joinCCodeComment(const std::string& code, const std::string& remark);

/// A row of one of the library's tables (rows counted from 1, as the window's grid does).
struct CCodeLibRow {
  CCodeTable table = CCodeTable::Function;
  int row = 1;
  bool operator==(const CCodeLibRow&) const = default;
};

/// The name a code text is looked up by: the text up to its first "(", or up to its first "["
/// when it has no "(", or the whole text; "wait_ms" when that is empty.
std::string libraryLookupName(const std::string& code);

/// The first row whose Code contains the lookup name of `code`, searching the Function, then
/// the Defines, then the Variable table; row 1 of the Function table when none does.
CCodeLibRow selectLibraryRow(const CCodeLibrary& library, const std::string& code);

/// The text a library entry inserts: for a Function entry put into a condition the last
/// character (the ";") is dropped; then every character between a "(" and its matching ")"
/// except "," and every character between a "[" and the next "]" becomes a space.
std::string libraryInsertText(const std::string& code, bool functionTab, bool editsCondition);

/// Blanks the parameters of `code` as libraryInsertText does.
std::string blankParameters(const std::string& code);

/// `text` with `insert` put in at byte position `caret` (clamped to the text); `caret` moves
/// behind the inserted text.
std::string insertAtCaret(const std::string& text, std::size_t& caret, const std::string& insert);

}  // namespace kavel
