#pragma once
// A Windows-style INI file held as its lines, so that writing a key changes only that key's
// line and everything else in the file (other sections, other keys, comments, blank lines,
// bytes that fit no encoding) is written back byte for byte.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kavel {

/// Lookups follow the rules of Windows INI files: section and key names compare without regard
/// to ASCII case, whitespace around names and values is ignored, the first section of a name
/// and the first key of a name within it win. Text inside is UTF-8.
class IniFile {
 public:
  IniFile() = default;

  /// Parses file bytes in the encoding text::detectEncoding finds (a leading byte-order mark is
  /// skipped). Lines end with CR LF or LF. Never fails; lines that are neither a section header
  /// nor a key are kept as they stand.
  static IniFile fromBytes(std::string_view bytes);

  /// Replaces the contents with the file at `path`. A missing file gives an empty IniFile and
  /// true; a file that exists but cannot be read, or is no text (UTF-16, NUL bytes), gives an
  /// empty IniFile, false and `error`.
  bool load(const std::string& path, std::string* error = nullptr);

  /// The file's bytes. Lines not written since loading keep their bytes and line ends; written
  /// lines end with CR LF and take the file's encoding. A file that cannot hold a written text in
  /// its encoding (or a new file whose text CP932 cannot hold) becomes UTF-8 with a byte-order
  /// mark; its untouched lines are then converted, except those whose bytes fit no encoding,
  /// which still keep their bytes.
  std::string toBytes() const;

  /// Writes toBytes() through a temporary file renamed over `path`. Refuses a read-only target,
  /// so the old file is never replaced behind the user's back. False with `error` on failure.
  bool save(const std::string& path, std::string* error = nullptr) const;

  /// The trimmed value of a key; nullopt when the section or key is missing. A key present with
  /// an empty value gives "".
  std::optional<std::string> value(std::string_view section, std::string_view key) const;

  std::string readString(std::string_view section, std::string_view key,
                         const std::string& fallback) const;
  /// Decimal or 0x/0X hexadecimal; `fallback` when missing or not a number.
  int readInteger(std::string_view section, std::string_view key, int fallback) const;

  /// Updates the key's line in place, or adds the key at the end of its section, or adds the
  /// section at the end of the file. Line breaks inside `value` become spaces (a value is one
  /// line). A key that already holds the value keeps its line as it stands.
  void writeString(std::string_view section, std::string_view key, std::string_view value);
  void writeInteger(std::string_view section, std::string_view key, long long value);
  /// "0x%06X", the form colours take in the file.
  void writeColour(std::string_view section, std::string_view key, std::uint32_t colour);

  bool hasSection(std::string_view section) const;
  const std::vector<std::string>& lines() const { return lines_; }

  /// Whole-text integer: optional sign and decimal digits within int, or "0x"/"0X" and one to
  /// eight hexadecimal digits (taken as 32 bits). Anything else, including surrounding text,
  /// gives nullopt.
  static std::optional<int> parseInteger(std::string_view text);

 private:
  struct Found {
    std::optional<size_t> header;  // line of the section header
    std::optional<size_t> key;     // line of the key inside that section
    size_t sectionEnd = 0;         // one past the last non-blank line of the section
  };
  Found find(std::string_view section, std::string_view key) const;

  void setLine(size_t index, std::string line);
  void insertLine(size_t index, std::string line);
  std::optional<std::string> composed(bool utf8WithBom) const;

  std::vector<std::string> lines_;              // decoded text of each line
  std::vector<std::optional<std::string>> raw_;  // a line's bytes with its line end, while untouched
  bool utf8_ = false;                            // the loaded file's encoding
  bool bom_ = false;                             // the loaded file began with a byte-order mark
  bool fromFile_ = false;                        // the lines came from file bytes
};

}  // namespace kavel
