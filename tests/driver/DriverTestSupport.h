#pragma once
// Helpers shared by the driver tests: temporary folders, whole-file reads and writes, and
// resource files whose byte offsets are filled in for us.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace kcc8test {

namespace fs = std::filesystem;

/// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
 public:
  TempDir() {
    std::string pattern = (fs::temp_directory_path() / "kcc8-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "mkdtemp failed";
    path_ = pattern;
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  ~TempDir() {
    std::error_code ignored;
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(path_, ignored);
  }
  const fs::path& path() const { return path_; }
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }

 private:
  fs::path path_;
};

inline std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeFile(const fs::path& path, const std::string& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
  if (!out) ADD_FAILURE() << "cannot write " << path;
}

/// Fills in the offsets of a resource file written by hand: each "@@@@@@@n" (eight characters)
/// becomes the offset, as eight hexadecimal digits, of the n-th line that starts with
/// "<PART_INFO_TYPE>". Replacing eight characters by eight keeps every offset where it was.
inline std::string withOffsets(std::string text) {
  for (char n = '1'; n <= '9'; ++n) {
    const std::string placeholder = std::string(7, '@') + n;
    size_t found = 0;
    size_t offset = std::string::npos;
    for (size_t pos = 0; pos < text.size();) {
      if (text.compare(pos, 16, "<PART_INFO_TYPE>") == 0 && ++found == static_cast<size_t>(n - '0')) {
        offset = pos;
        break;
      }
      const size_t next = text.find('\n', pos);
      if (next == std::string::npos) break;
      pos = next + 1;
    }
    for (size_t at = text.find(placeholder); at != std::string::npos; at = text.find(placeholder, at)) {
      char digits[24];
      std::snprintf(digits, sizeof digits, "%08llX",
                    static_cast<unsigned long long>(offset == std::string::npos ? 0 : offset));
      text.replace(at, 8, digits);
    }
  }
  return text;
}

/// Turns a file written with LF line ends into the CR LF one the real file has.
inline std::string crlf(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

}  // namespace kcc8test
