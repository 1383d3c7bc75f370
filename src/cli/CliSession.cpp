#include "cli/CliSession.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstring>
#include <iostream>

#include "core/settings/IniFile.h"

#include "core/shell/StartUp.h"
#include "core/text/TextFile.h"

namespace kavel::cli {

bool parseInt(const std::string& text, int& value) {
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  return !text.empty() && ec == std::errc() && ptr == end;
}

bool parseGlobalOptions(const std::vector<std::string>& args, GlobalOptions& options,
                        std::vector<std::string>& rest, std::string& error) {
  std::size_t i = 0;
  for (; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a != "--ini" && a != "--variant" && a != "--lang") break;
    if (i + 1 >= args.size()) {
      error = "option " + a + " needs a value";
      return false;
    }
    const std::string& v = args[++i];
    if (a == "--ini") {
      options.iniPath = v;
      options.iniGiven = true;
    } else if (a == "--variant") {
      if (!parseInt(v, options.variant) || options.variant < 0 || options.variant > 4) {
        error = "--variant takes a product variant from 0 to 4, not \"" + v + "\"";
        return false;
      }
    } else if (!parseInt(v, options.language) || options.language < 0 || options.language > 1) {
      error = "--lang takes 0 (Japanese) or 1 (English), not \"" + v + "\"";
      return false;
    }
  }
  rest.assign(args.begin() + static_cast<std::ptrdiff_t>(i), args.end());
  return true;
}

bool checkSettingsFile(const GlobalOptions& options, std::string& error) {
  if (!options.iniGiven) return true;
  if (options.iniPath.empty()) {
    error = "--ini names no file (the path is empty); give the path of a settings file";
    return false;
  }
  struct stat st {};
  if (::stat(options.iniPath.c_str(), &st) != 0) {
    const int e = errno;
    error = "the settings file " + options.iniPath + " named by --ini " +
            (e == ENOENT ? std::string("does not exist")
                         : e == ELOOP ? std::string("is a loop of links that leads to no file")
                                      : "cannot be read: " + std::string(std::strerror(e)));
    return false;
  }
  if (S_ISDIR(st.st_mode)) {
    error = "the settings file " + options.iniPath + " named by --ini is a folder";
    return false;
  }
  IniFile probe;
  std::string why;
  if (!probe.load(options.iniPath, &why)) {
    error = "the settings file named by --ini cannot be read: " + why;
    return false;
  }
  return true;
}

namespace {

std::string binaryPath() {
  std::string buffer(256, '\0');
  for (;;) {
    const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (n < 0) return {};
    if (static_cast<std::size_t>(n) < buffer.size()) {
      buffer.resize(static_cast<std::size_t>(n));
      break;
    }
    buffer.resize(buffer.size() * 2);
  }
  return buffer;
}

}  // namespace

std::string programFolder() {
  const std::string folder = text::folderOf(binaryPath());
  return folder.empty() ? "./" : folder;
}

UserPaths userPaths() {
  const std::string binary = binaryPath();
  if (binary.empty()) {
    // Without its own name the program cannot tell where it lies: the current folder stands in.
    UserPaths paths;
    paths.dataFolder = "./";
    return paths;
  }
  return decideUserPaths(probePathInputs(binary));
}

std::unique_ptr<Context> makeContext(const GlobalOptions& options) {
  auto ctx = std::make_unique<Context>();
  const int variant = options.variant >= 0 ? options.variant : variantFromTitle(kApplicationTitle);
  std::string settingsError;
  // The console reads a settings file only when named; the folders follow the program's rule.
  UserPaths paths = userPaths();
  paths.settingsFile = options.iniPath;
  startSession(*ctx, variant, paths, &settingsError);
  if (!paths.problem.empty()) std::cerr << "kavel: warning: " << paths.problem << "\n";
  if (!settingsError.empty()) std::cerr << "kavel: warning: " << settingsError << "\n";
  const int language = options.language >= 0 ? options.language : ctx->settings.LANG_NO_;
  ctx->messages.setLanguage(language == 0 ? 0 : 1);
  return ctx;
}

}  // namespace kavel::cli
