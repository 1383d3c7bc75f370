#pragma once
// The program files last opened or saved, newest first, for the File menu's "Recent" list.
// Kept in a section of the settings file that no other reader looks at.

#include <cstddef>
#include <string>
#include <vector>

namespace kavel {

class IniFile;

class RecentFiles {
 public:
  static constexpr std::size_t kMaxFiles = 8;
  /// The settings file's section; its keys are File1 (newest) to File8.
  static constexpr const char* kSection = "RECENT";

  /// Puts `path` on top. The same file under another spelling (a relative path, "./", "..", a
  /// link) replaces its older entry instead of showing twice; the oldest entry beyond eight
  /// goes. An empty path changes nothing.
  void add(const std::string& path);
  /// Removes the entry that names the same file as `path`.
  void remove(const std::string& path);
  void clear() { files_.clear(); }

  /// Newest first, at most eight, each an absolute path.
  const std::vector<std::string>& files() const { return files_; }

  /// Reads the section; empty and duplicate keys are skipped, so a hand-edited list still
  /// makes sense.
  void load(const IniFile& ini);
  /// Writes File1..File8 (unused keys empty), leaving every other section and key alone.
  void store(IniFile& ini) const;

  /// Reads the list from the settings file at `iniPath`; a missing or unreadable file gives an
  /// empty list.
  void loadFrom(const std::string& iniPath);
  /// Writes the list into the settings file at `iniPath`, keeping the rest of the file. False
  /// with `error` when it cannot be written; the file is then unchanged.
  bool saveTo(const std::string& iniPath, std::string* error = nullptr) const;

  /// The form a path is compared in: absolute, "." and ".." resolved, links followed as far as
  /// the path exists.
  static std::string canonical(const std::string& path);

 private:
  std::vector<std::string> files_;
};

}  // namespace kavel
