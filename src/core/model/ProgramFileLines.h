#pragma once
// The lines of a program file and the fields of its row lines, read strictly: a row line is
// taken only when every column of its form is there and holds what it should, so that a file
// cut or damaged inside a row is never read as a row with other values.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/text/Encoding.h"

namespace kavel {

/// The longest line of a program file, without its line end: what the reader's line buffer of
/// 512 bytes holds.
inline constexpr std::size_t kMaxProgramLine = 511;

/// Splits the bytes at every line end: CR LF, LF and a CR alone alike (files moved between
/// systems mix them). A last line without a line end is kept; empty bytes give no lines.
std::vector<std::string_view> splitProgramLines(std::string_view bytes);

/// The number (from 1) of the line that holds byte `pos`, counted as splitProgramLines does.
std::size_t lineAt(std::string_view bytes, std::size_t pos);

/// Why `bytes` cannot be a program file at all ("is empty; …", "holds binary data …", "is
/// UTF-16 text …", "does not begin with …"), as the end of a sentence that starts with the
/// file's name; empty when they may be one.
std::string notAProgramFile(std::string_view bytes);

/// The fields of a "[" line (the setup line or a row line).
struct RowLine {
  int sno = 0;
  int cno = 0;
  int val0 = 0;
  int val1 = 0;
  int val2 = 0;         // 0 in the two-value form of older files
  std::string_view cmt;  // the raw bytes after "cmt:"
};

/// Reads a "[" line in its three-value form ("[nnnn]:sno:NN,cno:NN,val:VVVVVV-VVVVVV-VVVVVV,cmt:")
/// or the two-value form of older files (no third value). Nullopt with `why` set (what is wrong,
/// quoting the line or the field) when the line is cut short, a separator is not where the
/// form has it, or a numeric column is not a number.
/// `encoding` turns quoted bytes into text.
std::optional<RowLine> parseRowLine(std::string_view line, text::FileEncoding encoding, std::string& why);

/// A connector-name line "CNnn:name" with nn from 01 to 10.
struct ConnectorLine {
  int number = 0;
  std::string_view name;
};

/// Reads a connector-name line; nullopt when it is not one of CN01 to CN10.
std::optional<ConnectorLine> parseConnectorLine(std::string_view line);

/// File bytes quoted in a message, in double quotes: decoded by `encoding`, cut to about 60
/// bytes between characters ("..." added), control characters shown as "?".
std::string quoted(std::string_view bytes, text::FileEncoding encoding);

}  // namespace kavel
