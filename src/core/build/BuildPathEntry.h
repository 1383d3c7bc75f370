#pragma once
// The search-path entry a build puts into its environment: the first line of the build batch
// file (for example "PATH=/opt/pic/bin:") followed directly by the current PATH.

#include <optional>
#include <string>

namespace kavel {

struct EnvironmentEntry {
  std::string name;
  std::string value;
  bool operator==(const EnvironmentEntry&) const = default;
};

/// The first line of a file without its line end; nullopt when the file cannot be read.
std::optional<std::string> readFirstLine(const std::string& path);

/// The entry `firstLine` + `currentPath` split at its first "=" into name and value; nullopt
/// when it has no "=" or an empty name (nothing can be put into the environment then).
std::optional<EnvironmentEntry> buildPathEntry(const std::string& firstLine, const std::string& currentPath);

}  // namespace kavel
