#include "core/shell/RecoveryFolder.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <cctype>
#include <map>
#include <system_error>

#include "core/text/Format.h"
#include "core/text/TextFile.h"

namespace kavel {
namespace fs = std::filesystem;
namespace {

constexpr std::string_view kFileSuffix = ".krec";
constexpr std::string_view kLockSuffix = ".lock";

// A session name that no earlier session can have had: the process number alone comes back, and
// two folders opened by one process within the same millisecond must still differ.
std::string newSessionName() {
  static std::atomic<unsigned> opened{0};
  const unsigned serial = opened.fetch_add(1);
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                      std::chrono::system_clock::now().time_since_epoch())
                      .count();
  return text::format("%d-%llx-%u", static_cast<int>(::getpid()), static_cast<unsigned long long>(ms), serial);
}

// Opens and locks a lock file without waiting; -1 when another process holds it (or it cannot
// be opened).
int tryLock(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) return -1;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

// "<session>_<window>.krec" -> session and window.
bool splitFileName(const std::string& name, std::string& session, int& window) {
  if (!name.ends_with(kFileSuffix)) return false;
  const std::string stem = name.substr(0, name.size() - kFileSuffix.size());
  const std::size_t cut = stem.rfind('_');
  if (cut == std::string::npos || cut == 0) return false;
  const std::string number = stem.substr(cut + 1);
  if (number.empty() || number.size() > 2 || !std::all_of(number.begin(), number.end(), [](unsigned char c) { return std::isdigit(c) != 0; })) return false;
  session = stem.substr(0, cut);
  window = std::stoi(number);
  return window >= 0 && window <= 30;
}

}  // namespace

std::string recoveryFolderFor(const std::string& iniPath) {
  // Without a settings file (no usable home) there is no per-user place; the working folder may
  // be anyone's, so no copies are kept at all.
  if (iniPath.empty()) return {};
  return text::folderOf(iniPath) + "recovery/";
}

RecoveryFolder::RecoveryFolder(std::string folder) : folder_(std::move(folder)), session_(newSessionName()) {
  if (folder_.empty()) return;
  if (folder_.back() != '/') folder_ += '/';
  std::error_code ec;
  fs::create_directories(folder_, ec);
  if (ec && !fs::is_directory(folder_)) return;
  lockFd_ = tryLock(folder_ + session_ + std::string(kLockSuffix));
}

RecoveryFolder::~RecoveryFolder() {
  releaseClaims();
  if (lockFd_ >= 0) ::close(lockFd_);
}

std::string RecoveryFolder::pathFor(int window) const {
  return folder_ + session_ + text::format("_%d", window) + std::string(kFileSuffix);
}

bool RecoveryFolder::save(const RecoveryFile& file, std::string* error) const {
  if (!usable()) {
    if (error) *error = "The recovery folder " + folder_ + " cannot be used.";
    return false;
  }
  return writeRecoveryFile(pathFor(file.window), file, error);
}

void RecoveryFolder::remove(int window) const {
  std::error_code ec;
  fs::remove(pathFor(window), ec);
}

void RecoveryFolder::removeAll() {
  for (int w = 0; w <= 30; ++w) remove(w);
  if (lockFd_ >= 0) {
    std::error_code ec;
    fs::remove(folder_ + session_ + std::string(kLockSuffix), ec);
  }
}

std::vector<RecoveryFolder::Orphan> RecoveryFolder::claimOrphans() {
  std::vector<Orphan> found;
  if (!usable()) return found;
  std::map<std::string, std::vector<std::pair<int, std::string>>> bySession;
  std::vector<std::string> lockedSessions;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folder_, ec)) {
    const std::string name = entry.path().filename().string();
    std::string session;
    int window = 0;
    if (name.ends_with(kLockSuffix)) lockedSessions.push_back(name.substr(0, name.size() - kLockSuffix.size()));
    if (!entry.is_regular_file(ec) || !splitFileName(name, session, window)) continue;
    if (session == session_) continue;
    bySession[session].emplace_back(window, entry.path().string());
  }
  for (const std::string& session : lockedSessions) {
    if (session == session_ || bySession.contains(session)) continue;
    const std::string lock = folder_ + session + std::string(kLockSuffix);
    if (const int fd = tryLock(lock); fd >= 0) {
      fs::remove(lock, ec);
      ::close(fd);
    }
  }
  for (auto& [session, files] : bySession) {
    // A named copy: clang 14 cannot capture a structured binding.
    const std::string& name = session;
    const bool claimedAlready =
        std::any_of(claims_.begin(), claims_.end(), [&name](const Claim& c) { return c.session == name; });
    if (!claimedAlready) {
      // A lock that can be taken belongs to no running session; taking it keeps it claimed.
      const int fd = tryLock(folder_ + session + std::string(kLockSuffix));
      if (fd < 0) continue;
      claims_.push_back({session, fd});
    }
    std::sort(files.begin(), files.end());
    for (const auto& [window, path] : files) found.push_back({path, session, window, readRecoveryFile(path)});
  }
  std::stable_sort(found.begin(), found.end(), [](const Orphan& a, const Orphan& b) { return a.window < b.window; });
  return found;
}

void RecoveryFolder::discard(const Orphan& orphan) {
  std::error_code ec;
  fs::remove(orphan.path, ec);
  // The session's lock file goes with its last recovery file.
  for (const auto& entry : fs::directory_iterator(folder_, ec)) {
    std::string session;
    int window = 0;
    if (splitFileName(entry.path().filename().string(), session, window) && session == orphan.session) return;
  }
  fs::remove(folder_ + orphan.session + std::string(kLockSuffix), ec);
  const auto claim = std::find_if(claims_.begin(), claims_.end(), [&](const Claim& c) { return c.session == orphan.session; });
  if (claim != claims_.end()) {
    ::close(claim->fd);
    claims_.erase(claim);
  }
}

void RecoveryFolder::releaseClaims() {
  for (const Claim& c : claims_) ::close(c.fd);
  claims_.clear();
}

}  // namespace kavel
