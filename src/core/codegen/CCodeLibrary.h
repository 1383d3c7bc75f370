#pragma once
// The library of firmware functions, defines and variables that the C-code window lists, read
// from "C-CodeLib.Txt" beside the program. Each line holds a type, a code, and a value and/or a
// comment; the line decides its table (Defines, Function or Variable).

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kavel {

inline constexpr const char* kCCodeLibFileName = "C-CodeLib.Txt";

enum class CCodeTable { Function = 0, Defines = 1, Variable = 2 };

struct CCodeLibEntry {
  std::string type;
  std::string code;
  std::string value;
  std::string comment;
  bool operator==(const CCodeLibEntry&) const = default;
};

struct CCodeLibrary {
  std::vector<CCodeLibEntry> functions;  // "Function" tab (sGridFunc)
  std::vector<CCodeLibEntry> defines;    // "Defines" tab (sGridDef)
  std::vector<CCodeLibEntry> variables;  // "Variable" tab (sGridVar)

  std::vector<CCodeLibEntry>& table(CCodeTable t);
  const std::vector<CCodeLibEntry>& table(CCodeTable t) const;
  void clear();
};

/// The fields of one library line (without its line end); nullopt for lines the library skips
/// (empty, starting with a character below the space or with "/").
std::optional<CCodeLibEntry> parseCCodeLibLine(std::string_view line);

/// The table an entry goes to: Defines when its type holds "#define", else Function when its
/// code holds "(", else Variable.
CCodeTable tableFor(const CCodeLibEntry& entry);

struct CCodeLibResult {
  bool ok = false;
  std::string title;  // "File Error" when the file did not open
  std::string text;   // "Can't Open C-CodeLib.Txt"
};

/// Replaces the tables with the entries of the file at `path` (lines longer than 1023 bytes are
/// read in pieces, each piece as a line). A file that does not open leaves the tables empty and
/// gives the message for the caller's box.
CCodeLibResult ReadCCodeLibrary(const std::string& path, CCodeLibrary& library);

/// The "No." column of table row `row` (counted from 1): "%3d".
std::string libraryRowNumber(int row);

}  // namespace kavel
