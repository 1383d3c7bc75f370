#include "sim/SimPaths.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace kavel::sim {

SimPaths locateSimParts(const std::string& programFolder, const std::string& dataFolder) {
  SimPaths paths;
  for (const std::string& candidate :
       {programFolder + kSimHostProgram, programFolder + "../libexec/kavel/" + kSimHostProgram}) {
    if (::access(candidate.c_str(), X_OK) == 0) {
      paths.host = candidate;
      break;
    }
  }
  paths.headers = dataFolder + "Sim/";
  paths.worlds = dataFolder + "worlds/";
  return paths;
}

RunFolder::~RunFolder() {
  if (path_.empty()) return;
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

bool RunFolder::create(std::string& error) {
  const char* tmp = std::getenv("TMPDIR");
  std::string base = tmp && *tmp == '/' ? tmp : "/tmp";
  if (base.back() != '/') base += "/";
  std::string pattern = base + "kavel-sim-XXXXXX";
  if (!::mkdtemp(pattern.data())) {
    error = "cannot make a folder for the simulation in " + base + ": " + std::strerror(errno);
    return false;
  }
  path_ = pattern + "/";
  return true;
}

}  // namespace kavel::sim
