#pragma once
// How a build starts the tool chain: the compile batch file of the build folder, run by the
// shell in that folder with its output in err.txt, and the search path of the build batch
// file given to that process alone. The same command serves the console (ChildProcess)
// and the build window (QProcess).

#include <optional>
#include <string>
#include <vector>

namespace kavel {

inline constexpr const char* kBuildOutputFile = "err.txt";
inline constexpr const char* kBuildHexFile = "User.Hex";
inline constexpr const char* kBuildSourceFile = "User.c";
inline constexpr const char* kBuildObjectFile = "User.o";
inline constexpr const char* kConfigHeaderFile = "M_Type.h";

struct ToolChainCommand {
  std::string program;                  // "/bin/sh"
  std::vector<std::string> arguments;   // the compile batch file, relative to workingFolder
  std::string workingFolder;            // the build folder, ending with "/"
  std::string outputFile;               // err.txt in the build folder: standard output and error
  std::vector<std::string> environment; // "NAME=value" entries for the child only
};

/// "cl2620.Bat" for the PIC18F2620, "cl2520.Bat" for the PIC18F2520.
std::string compileBatchName(bool mcu2620);

/// The build folder: the folder of the build batch file, ending with "/".
std::string buildFolderOf(const std::string& batFile);

/// The command that runs the compile batch file for `batFile`'s folder. The child's
/// environment is `environment` with the entry formed by the first line of `batFile` and the
/// current PATH of `environment` put in (replacing an entry of the same name); when that line
/// cannot be read or forms no entry, the environment is passed on unchanged.
ToolChainCommand makeToolChainCommand(const std::string& batFile, bool mcu2620,
                                      const std::vector<std::string>& environment);

/// The environment of this process as "NAME=value" entries.
std::vector<std::string> currentEnvironment();

/// The value of `name` in `environment`; nullopt when it has no such entry.
std::optional<std::string> environmentValue(const std::vector<std::string>& environment, const std::string& name);

}  // namespace kavel
