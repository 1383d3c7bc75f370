#pragma once
// A folder of the test's own: made with mkdtemp under $TMPDIR (default /tmp) and removed with
// everything in it, so tests may run side by side, twice in a row, and from two build trees
// at the same moment without meeting each other's files.

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <system_error>

namespace kavel::testing {

class TempFolder {
 public:
  /// `prefix` names the folder for whoever finds one left by a killed test.
  explicit TempFolder(const std::string& prefix = "kavel-test") {
    const char* tmp = std::getenv("TMPDIR");
    const std::filesystem::path base = tmp && *tmp == '/' ? tmp : "/tmp";
    std::string pattern = (base / (prefix + "-XXXXXX")).string();
    if (::mkdtemp(pattern.data()) == nullptr) {
      throw std::system_error(errno, std::generic_category(), "cannot make a test folder like " + pattern);
    }
    path_ = pattern;
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  ~TempFolder() { removeAll(path_); }

  const std::filesystem::path& path() const { return path_; }
  /// The folder as text, without a trailing "/".
  std::string str() const { return path_.string(); }
  /// A path inside the folder.
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }

  /// Removes `path` with everything below it, also what a test made read-only.
  static void removeAll(const std::filesystem::path& path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (fs::is_directory(fs::symlink_status(path, ec))) {
      fs::permissions(path, fs::perms::owner_all, fs::perm_options::add, ec);
      for (fs::directory_iterator it(path, ec), end; !ec && it != end; it.increment(ec)) {
        removeAll(it->path());
      }
    }
    fs::remove_all(path, ec);
  }

 private:
  std::filesystem::path path_;
};

}  // namespace kavel::testing
