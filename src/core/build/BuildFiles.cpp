#include "core/build/BuildFiles.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <unistd.h>

#include <vector>

#include "core/build/ToolChainCommand.h"
#include "core/text/TextFile.h"

namespace kavel {
namespace {

bool readResult(const std::string& from, std::string& bytes, std::string& error) {
  std::string why;
  if (text::readFileBytes(from, bytes, &why)) return true;
  error = why.empty() ? "cannot read " + from : why;
  return false;
}

}  // namespace

bool buildFolderExists(const std::string& folder) {
  struct stat st {};
  return !folder.empty() && ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

namespace {

const char* const kChooseBuildFolder =
    " Choose the build batch file (BuildPath.Bat) of a build folder: Project > Build Path, or BatFile_ in [PRJ] of "
    "the settings file.";

}  // namespace

std::string batFileProblem(const std::string& batFile) {
  struct stat st {};
  if (batFile.empty() || ::stat(batFile.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return {};
  return "The build batch file " + batFile + " is a folder, not the build batch file of a build folder." +
         kChooseBuildFolder;
}

std::string missingBatchFile(const std::string& buildFolder, const std::string& batch) {
  return "The build folder " + buildFolder + " holds no compile batch file " + batch +
         ", so no build can run there." + kChooseBuildFolder;
}

bool clearBuildResults(const std::string& buildFolder, std::string* error) {
  ::unlink((buildFolder + kBuildObjectFile).c_str());
  const std::string hex = buildFolder + kBuildHexFile;
  if (::unlink(hex.c_str()) == 0 || errno == ENOENT) return true;
  if (error) {
    *error = "The old " + std::string(kBuildHexFile) + " in the build folder " + buildFolder + " cannot be removed (" +
             std::strerror(errno) + "), so this build could not tell its own image from it. Remove " + hex + ".";
  }
  return false;
}

bool buildSucceeded(const std::string& buildFolder) { return text::fileExists(buildFolder + kBuildHexFile); }

std::string besideProgram(const std::string& programPath, const std::string& extension) {
  const std::string ext = text::extensionOf(programPath);
  return programPath.substr(0, programPath.size() - ext.size()) + extension;
}

bool copyBuildResults(const std::string& buildFolder, const std::string& programPath, bool withSource,
                      std::string& error) {
  // The image and the source it was made from go together: a NAME.Hex beside an older NAME.c
  // would show a program that is not the one on the board.
  std::string hex, source;
  if (!readResult(buildFolder + kBuildHexFile, hex, error)) return false;
  if (withSource && !readResult(buildFolder + kBuildSourceFile, source, error)) return false;
  std::vector<text::FileContent> files{{besideProgram(programPath, ".Hex"), hex}};
  if (withSource) files.push_back({besideProgram(programPath, ".c"), source});
  std::string why;
  if (text::writeFilesAtomic(files, &why)) return true;
  error = why.empty() ? "cannot write beside " + programPath : why;
  return false;
}

}  // namespace kavel
