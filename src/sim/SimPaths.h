#pragma once
// Where the parts of the simulation lie: the runtime program beside the binaries (or in
// libexec for an installed copy), the simulated board's headers and the sample worlds with the
// other data files.

#include <string>

namespace kavel::sim {

inline constexpr const char* kSimHostProgram = "kavel-simhost";

struct SimPaths {
  std::string host;     // the runtime program; "" when it is nowhere
  std::string headers;  // ends with "/"
  std::string worlds;   // ends with "/"
};

/// For binaries in `programFolder` with their data in `dataFolder` (both ending with "/").
SimPaths locateSimParts(const std::string& programFolder, const std::string& dataFolder);

/// A folder of its own for one simulated program (its User.c, M_Type.h and library), made
/// private under $TMPDIR (or /tmp) and removed with everything in it.
class RunFolder {
 public:
  RunFolder() = default;
  RunFolder(const RunFolder&) = delete;
  RunFolder& operator=(const RunFolder&) = delete;
  ~RunFolder();

  /// False with `error` set when no folder could be made.
  bool create(std::string& error);
  /// Ends with "/".
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace kavel::sim
