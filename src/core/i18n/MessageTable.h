#pragma once
// The user-visible texts of both languages, filled from the two message files.

#include <array>
#include <cstddef>
#include <string>

namespace kavel {

class MessageTable {
 public:
  static constexpr int kLanguages = 2;  // 0 Japanese, 1 English
  static constexpr int kEntries = 161;  // numbers 0..160; 1..159 come from files
  static constexpr int kFirstFileEntry = 1;
  static constexpr int kLastFileEntry = 159;

  /// Lines are read through a buffer of this many bytes: longer lines come back in pieces.
  static constexpr std::size_t kLineBuffer = 256;
  /// The longest text (in file bytes) that a written message line can carry and still read
  /// back whole: the buffer less the terminator and the "[nnn]:" prefix.
  static constexpr std::size_t kMaxTextBytes = kLineBuffer - 1 - 6;
  /// A file larger than this is not taken for a message file (a real one is a few KiB).
  static constexpr std::size_t kMaxFileBytes = 4u << 20;

  /// Empties the language's column and reads its file. False when the file cannot be opened,
  /// is not a regular file or is larger than kMaxFileBytes (the column stays empty). Lines
  /// that are not message lines are skipped.
  bool load(int language, const std::string& path);

  /// Writes the language's column in the language editor's format. False when the file
  /// cannot be written. Line ends inside a text become spaces and a text longer than
  /// kMaxTextBytes is cut at a character boundary, so the file always reads back to what
  /// was written and one text can never spill into another message line.
  bool write(int language, const std::string& path) const;

  /// Text of message n in the given language; empty for numbers or languages out of range.
  const std::string& text(int language, int n) const;
  /// Numbers outside 1..159 and languages out of range are ignored: 0 and 160 stay empty.
  void setText(int language, int n, std::string text);

  /// The column title of a language as the editor's grid and the written files show it.
  static const char* columnTitle(int language);

  /// The current language (0 Japanese, anything else English) and lookups in it.
  int language() const { return language_; }
  void setLanguage(int language) { language_ = language == 0 ? 0 : 1; }
  const std::string& operator()(int n) const { return text(language_, n); }

 private:
  std::array<std::array<std::string, kEntries>, kLanguages> table_{};
  int language_ = 1;
};

}  // namespace kavel
