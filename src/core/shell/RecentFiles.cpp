#include "core/shell/RecentFiles.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "core/settings/IniFile.h"
#include "core/text/Format.h"

namespace kavel {
namespace {

std::string keyOf(std::size_t n) { return text::format("File%zu", n); }

}  // namespace

std::string RecentFiles::canonical(const std::string& path) {
  if (path.empty()) return path;
  std::error_code ec;
  // A file on an unplugged stick still has its place in the list: resolve what exists.
  const std::filesystem::path p = std::filesystem::weakly_canonical(std::filesystem::absolute(path, ec), ec);
  if (ec) return std::filesystem::path(path).lexically_normal().string();
  return p.string();
}

void RecentFiles::add(const std::string& path) {
  if (path.empty()) return;
  const std::string key = canonical(path);
  remove(key);
  files_.insert(files_.begin(), key);
  if (files_.size() > kMaxFiles) files_.resize(kMaxFiles);
}

void RecentFiles::remove(const std::string& path) {
  const std::string key = canonical(path);
  std::erase_if(files_, [&](const std::string& f) { return canonical(f) == key; });
}

void RecentFiles::load(const IniFile& ini) {
  files_.clear();
  for (std::size_t n = 1; n <= kMaxFiles; ++n) {
    const auto value = ini.value(kSection, keyOf(n));
    if (!value || value->empty()) continue;
    const std::string key = canonical(*value);
    if (std::find(files_.begin(), files_.end(), key) == files_.end()) files_.push_back(key);
  }
}

void RecentFiles::store(IniFile& ini) const {
  for (std::size_t n = 1; n <= kMaxFiles; ++n) {
    ini.writeString(kSection, keyOf(n), n <= files_.size() ? files_[n - 1] : std::string());
  }
}

void RecentFiles::loadFrom(const std::string& iniPath) {
  IniFile ini;
  ini.load(iniPath);
  load(ini);
}

bool RecentFiles::saveTo(const std::string& iniPath, std::string* error) const {
  IniFile ini;
  if (!ini.load(iniPath, error)) return false;
  store(ini);
  return ini.save(iniPath, error);
}

}  // namespace kavel
