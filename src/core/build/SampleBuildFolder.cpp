#include "core/build/SampleBuildFolder.h"

#include <filesystem>
#include <system_error>

#include "core/build/BuildFiles.h"
#include "core/shell/UserPaths.h"
#include "core/text/TextFile.h"

namespace kavel {
namespace {

namespace fs = std::filesystem;

bool startsWith(const std::string& text, const std::string& prefix) {
  return !prefix.empty() && text.size() >= prefix.size() && text.compare(0, prefix.size(), prefix) == 0;
}

const char* const kChooseOwn =
    " Choose a build folder of your own (Project > Build Path, or BatFile_ in [PRJ] of the settings file).";

// Copies `from` into `to` file by file; a file is copied when the copy lacks it or has an older one.
bool refreshCopy(const fs::path& from, const fs::path& to, std::string* error) {
  std::error_code ec;
  auto fail = [&](const fs::path& what, const std::error_code& why) {
    if (error) *error = "The sample build folder cannot be copied to " + to.string() + ": " + what.string() + " (" +
                        why.message() + ")." + kChooseOwn;
    return false;
  };
  for (fs::recursive_directory_iterator it(from, ec), end; !ec && it != end; it.increment(ec)) {
    const fs::path target = to / fs::relative(it->path(), from);
    const fs::file_status status = it->symlink_status(ec);
    if (ec) return fail(it->path(), ec);
    if (fs::is_directory(status)) {
      if (!makePrivateFolders(to.string(), target.string(), error)) return false;
      continue;
    }
    if (!fs::is_regular_file(status)) continue;
    const auto sourceTime = fs::last_write_time(it->path(), ec);
    if (ec) return fail(it->path(), ec);
    if (fs::exists(target, ec) && fs::last_write_time(target, ec) >= sourceTime && !ec) continue;
    if (fs::exists(target, ec)) fs::permissions(target, fs::perms::owner_write, fs::perm_options::add, ec);
    if (!fs::copy_file(it->path(), target, fs::copy_options::overwrite_existing, ec)) return fail(target, ec);
    // An installed file is often read-only; the copy is the user's and the build rewrites files.
    fs::permissions(target, fs::perms::owner_write, fs::perm_options::add, ec);
    if (!ec) fs::last_write_time(target, sourceTime, ec);
    if (ec) return fail(target, ec);
  }
  if (ec) return fail(from, ec);
  return true;
}

}  // namespace

bool prepareBuildFolder(const std::string& batFile, const UserPaths& paths, std::string* error) {
  const std::string folder = text::folderOf(batFile);
  if (folder.empty()) return true;
  if (startsWith(folder, paths.buildRoot)) {
    const std::string source = paths.dataFolder + folder.substr(paths.buildRoot.size());
    if (buildFolderExists(source)) {
      std::string why;
      const std::string base = paths.buildBase.empty() ? paths.buildRoot : paths.buildBase;
      if (!makePrivateFolders(base, folder, &why)) {
        if (error) *error = "The sample build folder cannot be copied. " + why + kChooseOwn;
        return false;
      }
      if (!refreshCopy(source, folder, error)) return false;
    }
  } else if (paths.perUser && startsWith(folder, paths.dataFolder)) {
    if (error) {
      *error = "The build folder " + folder + " lies in the program's own folder, which this copy of Kavel "
               "does not write to (it is installed or read-only), and there is no folder of yours to copy it to." +
               kChooseOwn;
    }
    return false;
  }
  if (buildFolderExists(folder) && !folderWritable(folder)) {
    if (error) *error = "The build folder " + folder + " cannot be written by you, and a build writes its files there." + kChooseOwn;
    return false;
  }
  return true;
}

}  // namespace kavel
