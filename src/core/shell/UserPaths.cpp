#include "core/shell/UserPaths.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/settings/AppSettings.h"
#include "core/text/TextFile.h"

namespace kavel {
namespace {

constexpr const char* kSettingsFileName = "kavelide.ini";

bool absolute(const std::string& path) { return !path.empty() && path.front() == '/'; }

// "/a/b/" and "/a/b" both give "/a/b"; "/" stays "/".
std::string withoutTrailingSlash(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

std::string asFolder(const std::string& path) {
  const std::string p = withoutTrailingSlash(path);
  return p == "/" ? p : p + "/";
}

// "/usr/bin/" gives "/usr/".
std::string parentFolder(const std::string& folder) {
  const std::string f = withoutTrailingSlash(folder);
  const std::size_t slash = f.rfind('/');
  return slash == std::string::npos ? std::string("./") : f.substr(0, slash + 1);
}

bool isFolder(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string envOrEmpty(const char* name) {
  const char* v = std::getenv(name);
  return v ? std::string(v) : std::string();
}

void addProblem(UserPaths& paths, const std::string& sentence) {
  if (!paths.problem.empty()) paths.problem += "\n\n";
  paths.problem += sentence;
}

}  // namespace

UserPaths decideUserPaths(const PathInputs& in) {
  UserPaths paths;
  std::string binaryFolder = text::folderOf(in.binaryPath);
  if (binaryFolder.empty()) binaryFolder = "./";
  paths.dataFolder = in.installedLayout ? parentFolder(binaryFolder) + "share/kavel/" : binaryFolder;
  paths.perUser = in.installedLayout || !in.programFolderWritable;
  if (!paths.perUser) {
    paths.settingsFile = settingsFilePath(in.binaryPath);
    return paths;
  }

  const bool homeUsable = absolute(in.home) && in.homeExists;
  const std::string home = homeUsable ? withoutTrailingSlash(in.home) : std::string();
  if (absolute(in.xdgConfigHome)) {
    paths.settingsBase = withoutTrailingSlash(in.xdgConfigHome);
    paths.settingsFile = asFolder(paths.settingsBase) + "kavel/" + kSettingsFileName;
  } else if (homeUsable) {
    paths.settingsBase = home;
    paths.settingsFile = asFolder(home) + ".config/kavel/" + kSettingsFileName;
  }
  if (absolute(in.xdgDataHome)) {
    paths.buildBase = withoutTrailingSlash(in.xdgDataHome);
    paths.buildRoot = asFolder(paths.buildBase) + "kavel/";
  } else if (homeUsable) {
    paths.buildBase = home;
    paths.buildRoot = asFolder(home) + ".local/share/kavel/";
  }
  if (homeUsable) paths.userRoot = asFolder(home) + "Kavel/";

  if (!homeUsable) {
    const std::string why =
        in.home.empty()       ? std::string("HOME is not set")
        : !absolute(in.home)  ? "HOME (" + in.home + ") is not an absolute path"
                              : "the home folder " + in.home + " does not exist";
    std::string sentence = "Kavel cannot keep your files: " + why + ".";
    if (paths.settingsFile.empty()) sentence += " The settings start from their defaults and are not saved.";
    sentence += " Programs have no folder of their own; save them in a folder you choose.";
    if (paths.buildRoot.empty()) sentence += " The sample build folder cannot be copied, so builds need a build folder of your own (Project > Build Path).";
    sentence += " Set HOME to your home folder and start Kavel again.";
    addProblem(paths, sentence);
  }
  return paths;
}

bool folderWritable(const std::string& folder) {
  struct stat st {};
  if (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return false;
  // access() grants everything to root; the mode bits say whether the folder was made read-only.
  return (st.st_mode & 0222) != 0 && ::access(folder.c_str(), W_OK) == 0;
}

PathInputs probePathInputs(const std::string& binaryPath) {
  PathInputs in;
  in.binaryPath = binaryPath;
  std::string folder = text::folderOf(binaryPath);
  if (folder.empty()) folder = "./";
  in.installedLayout = isFolder(parentFolder(folder) + "share/kavel");
  in.programFolderWritable = folderWritable(folder);
  in.home = envOrEmpty("HOME");
  in.homeExists = absolute(in.home) && isFolder(in.home);
  in.xdgConfigHome = envOrEmpty("XDG_CONFIG_HOME");
  in.xdgDataHome = envOrEmpty("XDG_DATA_HOME");
  return in;
}

bool makePrivateFolders(const std::string& base, const std::string& folder, std::string* error) {
  const std::string b = withoutTrailingSlash(base);
  const std::string f = withoutTrailingSlash(folder);
  if (!isFolder(b)) {
    if (error) *error = "The folder " + b + " does not exist, so " + f + " cannot be made in it.";
    return false;
  }
  if (f != b && f.compare(0, b.size() + 1, b == "/" ? b : b + "/") != 0) {
    if (error) *error = "The folder " + f + " does not lie in " + b + ".";
    return false;
  }
  std::size_t pos = b.size();
  while (pos < f.size()) {
    const std::size_t next = f.find('/', pos + 1);
    const std::string step = f.substr(0, next == std::string::npos ? f.size() : next);
    pos = step.size();
    if (::mkdir(step.c_str(), 0700) == 0 || (errno == EEXIST && isFolder(step))) continue;
    if (error) {
      *error = "The folder " + step + " cannot be made (" +
               (errno == EEXIST ? std::string("a file of that name is in the way") : std::strerror(errno)) + ").";
    }
    return false;
  }
  return true;
}

void prepareUserFolders(UserPaths& paths, const std::string& userFolder) {
  if (!paths.perUser) return;
  std::string error;
  if (!paths.settingsFile.empty()) {
    const std::string folder = text::folderOf(paths.settingsFile);
    if (!makePrivateFolders(paths.settingsBase, folder, &error)) {
      addProblem(paths, error + " Your settings will not be saved this time.");
    } else {
      const int fd = ::open(paths.settingsFile.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
      if (fd >= 0) {
        ::close(fd);
      } else if (errno != EEXIST) {
        addProblem(paths, "The settings file " + paths.settingsFile + " cannot be made (" + std::strerror(errno) +
                              "). Your settings will not be saved this time.");
      }
    }
  }
  if (!paths.userRoot.empty() && !userFolder.empty()) {
    const std::string folder = paths.userRoot + userFolder;
    if (!makePrivateFolders(parentFolder(paths.userRoot), folder, &error)) {
      addProblem(paths, error + " Save your programs in a folder you choose.");
    }
  }
}

}  // namespace kavel
