#include "core/build/BuildPathEntry.h"

#include "core/text/TextFile.h"

namespace kavel {

std::optional<std::string> readFirstLine(const std::string& path) {
  std::string bytes;
  if (!text::readFileBytes(path, bytes)) return std::nullopt;
  std::string line = bytes.substr(0, bytes.find('\n'));
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

std::optional<EnvironmentEntry> buildPathEntry(const std::string& firstLine, const std::string& currentPath) {
  const std::string entry = firstLine + currentPath;
  const std::size_t eq = entry.find('=');
  if (eq == std::string::npos || eq == 0) return std::nullopt;
  return EnvironmentEntry{entry.substr(0, eq), entry.substr(eq + 1)};
}

}  // namespace kavel
