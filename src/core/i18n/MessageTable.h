#pragma once
// The user-visible texts of both languages, filled from the two message files.

#include <array>
#include <string>

namespace kavel {

class MessageTable {
 public:
  static constexpr int kLanguages = 2;  // 0 Japanese, 1 English
  static constexpr int kEntries = 161;  // numbers 0..160; 1..159 come from files

  /// Empties the language's column and reads its file. False when the file cannot be opened
  /// (the column stays empty).
  bool load(int language, const std::string& path);

  /// Writes the language's column in the language editor's format. False when the file
  /// cannot be written.
  bool write(int language, const std::string& path) const;

  /// Text of message n in the given language; empty for numbers or languages out of range.
  const std::string& text(int language, int n) const;
  void setText(int language, int n, std::string text);

  /// The current language (0 Japanese, anything else English) and lookups in it.
  int language() const { return language_; }
  void setLanguage(int language) { language_ = language == 0 ? 0 : 1; }
  const std::string& operator()(int n) const { return text(language_, n); }

 private:
  std::array<std::array<std::string, kEntries>, kLanguages> table_{};
  int language_ = 1;
};

}  // namespace kavel
