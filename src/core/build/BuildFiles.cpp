#include "core/build/BuildFiles.h"

#include <sys/stat.h>
#include <unistd.h>

#include "core/build/ToolChainCommand.h"
#include "core/text/TextFile.h"

namespace kavel {
namespace {

bool copyFile(const std::string& from, const std::string& to, std::string& error) {
  std::string bytes;
  std::string why;
  if (!text::readFileBytes(from, bytes, &why)) {
    error = why.empty() ? "cannot read " + from : why;
    return false;
  }
  if (!text::writeFileAtomic(to, bytes, &why)) {
    error = why.empty() ? "cannot write " + to : why;
    return false;
  }
  return true;
}

}  // namespace

bool buildFolderExists(const std::string& folder) {
  struct stat st {};
  return !folder.empty() && ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

void clearBuildResults(const std::string& buildFolder) {
  ::unlink((buildFolder + kBuildObjectFile).c_str());
  ::unlink((buildFolder + kBuildHexFile).c_str());
}

bool buildSucceeded(const std::string& buildFolder) { return text::fileExists(buildFolder + kBuildHexFile); }

std::string besideProgram(const std::string& programPath, const std::string& extension) {
  const std::string ext = text::extensionOf(programPath);
  return programPath.substr(0, programPath.size() - ext.size()) + extension;
}

bool copyBuildResults(const std::string& buildFolder, const std::string& programPath, bool withSource,
                      std::string& error) {
  if (!copyFile(buildFolder + kBuildHexFile, besideProgram(programPath, ".Hex"), error)) return false;
  return !withSource || copyFile(buildFolder + kBuildSourceFile, besideProgram(programPath, ".c"), error);
}

}  // namespace kavel
