// writeFileAtomic and its helpers: the one way every file of ours reaches the disk.

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

#include "core/text/TextFile.h"

namespace kavel::text {
namespace {

void setError(std::string* error, const std::string& text) {
  if (error) *error = text;
}

std::string reason() { return std::strerror(errno); }

// Closes a descriptor on every path out of a function.
class Fd {
 public:
  explicit Fd(int fd = -1) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  Fd(Fd&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
  Fd& operator=(Fd&& other) noexcept {
    if (this != &other) {
      if (fd_ >= 0) ::close(fd_);
      fd_ = other.fd_;
      other.fd_ = -1;
    }
    return *this;
  }
  int get() const { return fd_; }
  bool ok() const { return fd_ >= 0; }
  /// Closes now; false when close reports a failed write.
  bool close() {
    const int fd = fd_;
    fd_ = -1;
    return fd < 0 || ::close(fd) == 0;
  }

 private:
  int fd_;
};

bool writeAll(int fd, std::string_view bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// FNV-1a: stable across builds, so a later version still finds what an earlier one left.
std::uint32_t nameHash(std::string_view name) {
  std::uint32_t h = 2166136261u;
  for (char c : name) {
    h ^= static_cast<unsigned char>(c);
    h *= 16777619u;
  }
  return h;
}

std::string randomSuffix() {
  static constexpr char kChars[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  thread_local std::mt19937 gen;
  thread_local pid_t seededFor = 0;
  // A forked process would otherwise pick the very names its parent picks.
  if (seededFor != ::getpid()) {
    seededFor = ::getpid();
    gen.seed(std::random_device{}() ^ static_cast<unsigned>(seededFor));
  }
  std::uniform_int_distribution<int> pick(0, sizeof kChars - 2);
  std::string s(6, 'x');
  for (char& c : s) c = kChars[pick(gen)];
  return s;
}

// The target a chain of links ends at (the path itself when it is no link). A dangling link
// gives the path it points to, so saving creates that file.
bool resolveLinks(std::string& path, std::string* error) {
  for (int depth = 0; depth < 40; ++depth) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return true;
    std::string target(PATH_MAX, '\0');
    const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
    if (n < 0) {
      setError(error, "Cannot follow the link " + path + ": " + reason());
      return false;
    }
    target.resize(static_cast<std::size_t>(n));
    path = (!target.empty() && target.front() == '/') ? target : folderOf(path) + target;
  }
  setError(error, "Cannot save " + path + ": too many levels of links.");
  return false;
}

std::string folderForOpen(const std::string& path) {
  const std::string folder = folderOf(path);
  return folder.empty() ? std::string(".") : folder;
}

// A save holds a lock on each of its temporary files until it is done with them, so that a
// save of the same file by another process never takes them for leftovers. True when `fd` is
// locked and `path` still names it: a cleaner may have removed the name just before.
bool holdAsOurs(int fd, const std::string& path) {
  // Held by another save's clean-up this moment. A file system without locks holds nothing;
  // there the clean-up goes by age instead.
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) return false;
  struct stat byPath {}, byFd {};
  return ::fstat(fd, &byFd) == 0 && ::lstat(path.c_str(), &byPath) == 0 && byPath.st_ino == byFd.st_ino &&
         byPath.st_dev == byFd.st_dev;
}

// Removes the temporary files of this target that no running save holds: what a killed save
// left behind. Where the file system cannot tell (no locks), only files older than any save
// could take are removed.
void removeLeftovers(const std::string& path) {
  const std::string prefix = temporaryPrefixFor(path);
  DIR* dir = ::opendir(folderForOpen(path).c_str());
  if (!dir) return;
  const std::time_t now = std::time(nullptr);
  while (const dirent* entry = ::readdir(dir)) {
    const std::string_view name = entry->d_name;
    if (!name.starts_with(prefix) || !name.ends_with(".tmp")) continue;
    const std::string file = folderOf(path) + std::string(name);
    Fd fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY));
    if (!fd.ok()) continue;
    if (::flock(fd.get(), LOCK_EX | LOCK_NB) == 0) {
      ::unlink(file.c_str());
    } else if (errno != EWOULDBLOCK) {
      struct stat st {};
      if (::fstat(fd.get(), &st) == 0 && now - st.st_mtime > kLeftoverAgeSeconds) ::unlink(file.c_str());
    }
  }
  ::closedir(dir);
}

// Creates a new file for writing; the process umask applies to `mode` as with any new file.
// With `locked`, the file is held as ours (holdAsOurs) before it is answered.
int createExclusive(const std::string& folder, const std::string& prefix, const char* suffix, std::string& created,
                    mode_t mode, bool locked = false) {
  for (int attempt = 0; attempt < 20; ++attempt) {
    created = folder + prefix + randomSuffix() + suffix;
    const int fd = ::open(created.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode);
    if (fd < 0 && errno != EEXIST) return fd;
    if (fd < 0) continue;
    if (!locked || holdAsOurs(fd, created)) return fd;
    ::close(fd);  // taken away by another save's clean-up: try another name
    errno = EEXIST;
  }
  return -1;
}

void syncFolder(const std::string& path) {
  Fd dir(::open(folderForOpen(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.ok()) ::fsync(dir.get());
}

// Writes `bytes` into a fresh temporary file; true with `tmpPath` set, the file flushed.
// `suffix` ".tmp" marks a file a later save may remove once no save holds it: with `hold`,
// the file stays open and locked in it until the caller is done. An in-place save's copy
// (".saved") is kept.
bool writeTemporary(const std::string& folder, const std::string& prefix, const char* suffix, std::string_view bytes,
                    const struct stat* existing, std::string& tmpPath, int& savedErrno, Fd* hold = nullptr) {
  Fd fd(createExclusive(folder, prefix, suffix, tmpPath, existing ? (existing->st_mode & 07777) : 0666,
                        hold != nullptr));
  if (!fd.ok()) {
    savedErrno = errno;
    return false;
  }
  bool ok = writeAll(fd.get(), bytes);
  if (ok && existing) {
    // The replacement takes over mode and owner; changing the owner needs privileges, and a
    // group change only membership, so each is tried on its own.
    ::fchmod(fd.get(), existing->st_mode & 07777);
    if (::fchown(fd.get(), existing->st_uid, existing->st_gid) != 0 &&
        ::fchown(fd.get(), static_cast<uid_t>(-1), existing->st_gid) != 0) {
      // Neither could be kept: the file belongs to the saving user, as a new file would.
    }
    ::fchmod(fd.get(), existing->st_mode & 07777);  // a change of owner clears set-id bits
  }
  ok = ok && ::fsync(fd.get()) == 0;
  savedErrno = errno;
  if (hold && ok) {
    *hold = std::move(fd);
    return true;
  }
  ok = fd.close() && ok;
  if (!ok) {
    if (savedErrno == 0) savedErrno = errno;
    ::unlink(tmpPath.c_str());
  }
  return ok;
}

std::string temporaryFolder() {
  const char* tmp = std::getenv("TMPDIR");
  std::string folder = (tmp && *tmp) ? tmp : "/tmp";
  if (folder.back() != '/') folder += '/';
  return folder;
}

// Rewrites the target in place, for a file whose hard links must stay or whose folder takes
// no new file. The complete new content is first put into a copy that survives a failure.
bool writeInPlace(const std::string& path, std::string_view bytes, std::string* error) {
  std::string copy;
  int savedErrno = 0;
  const std::string prefix = temporaryPrefixFor(path);
  if (!writeTemporary(folderOf(path), prefix, ".saved", bytes, nullptr, copy, savedErrno) &&
      !writeTemporary(temporaryFolder(), "kavel-save" + prefix, ".saved", bytes, nullptr, copy, savedErrno)) {
    errno = savedErrno;
    setError(error, "Cannot save " + path + ": no temporary copy can be made (" + reason() + ").");
    return false;
  }
  Fd fd(::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
  bool ok = fd.ok();
  if (ok) {
    ok = writeAll(fd.get(), bytes) && ::ftruncate(fd.get(), static_cast<off_t>(bytes.size())) == 0 &&
         ::fsync(fd.get()) == 0;
    const int e = errno;
    ok = fd.close() && ok;
    if (!ok) errno = e;
  }
  if (!ok) {
    setError(error, "Cannot save " + path + ": " + reason() + ". The complete new content is in " + copy + ".");
    return false;
  }
  ::unlink(copy.c_str());
  return true;
}

}  // namespace

std::string temporaryPrefixFor(const std::string& path) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, ".%08x~", nameHash(fileNameOf(path)));
  return buffer;
}

namespace {

// A target as a save finds it: links followed, and refused when it is no regular file or is
// read-only.
struct Target {
  std::string requested;
  std::string path;
  bool exists = false;
  struct stat existing {};
};

bool examineTarget(const std::string& requested, Target& target, std::string* error) {
  target.requested = requested;
  target.path = requested;
  if (!resolveLinks(target.path, error)) return false;
  target.exists = ::stat(target.path.c_str(), &target.existing) == 0;
  if (!target.exists) return true;
  if (!S_ISREG(target.existing.st_mode)) {
    setError(error, "Cannot save " + requested + ": it is " +
                        (S_ISDIR(target.existing.st_mode) ? std::string("a folder") : std::string("not a regular file")) +
                        ".");
    return false;
  }
  // Renaming over a read-only file would succeed; the user meant it to stay as it is. The
  // mode bits are checked as well because access() grants everything to root.
  if ((target.existing.st_mode & 0222) == 0 || ::access(target.path.c_str(), W_OK) != 0) {
    setError(error, "Cannot save " + requested + ": the file is read-only.");
    return false;
  }
  return true;
}

}  // namespace

bool writeFileAtomic(const std::string& requested, std::string_view bytes, std::string* error) {
  Target target;
  if (!examineTarget(requested, target, error)) return false;
  const std::string& path = target.path;
  const bool exists = target.exists;
  removeLeftovers(path);

  if (exists && target.existing.st_nlink > 1) return writeInPlace(path, bytes, error);

  std::string tmpPath;
  int savedErrno = 0;
  Fd held;
  if (!writeTemporary(folderOf(path), temporaryPrefixFor(path), ".tmp", bytes, exists ? &target.existing : nullptr,
                      tmpPath, savedErrno, &held)) {
    // A writable file in a folder that takes no new file is still saved, in place.
    if (exists && (savedErrno == EACCES || savedErrno == EPERM)) return writeInPlace(path, bytes, error);
    errno = savedErrno;
    setError(error, "Cannot save " + requested + ": " + reason() + ".");
    return false;
  }
  if (::rename(tmpPath.c_str(), path.c_str()) != 0) {
    setError(error, "Cannot save " + requested + ": " + reason() + ".");
    ::unlink(tmpPath.c_str());
    return false;
  }
  syncFolder(path);
  return true;
}

bool writeFilesAtomic(const std::vector<FileContent>& files, std::string* error) {
  struct Step {
    Target target;
    std::string_view bytes;
    std::string tmpPath;  // empty: rewritten in place
    Fd held;              // the temporary file, held until the step is done
    std::string backup;   // a second name of the replaced file, to put it back
    Fd backupHeld;
    bool done = false;
  };
  std::vector<Step> steps(files.size());
  const auto discard = [&steps] {
    for (Step& s : steps) {
      if (!s.done && !s.tmpPath.empty()) ::unlink(s.tmpPath.c_str());
    }
  };

  // Every new content is on disk before any target changes.
  for (std::size_t i = 0; i < files.size(); ++i) {
    Step& step = steps[i];
    step.bytes = files[i].bytes;
    if (!examineTarget(files[i].path, step.target, error)) {
      discard();
      return false;
    }
    const Target& t = step.target;
    removeLeftovers(t.path);
    if (t.exists && t.existing.st_nlink > 1) continue;
    int savedErrno = 0;
    if (!writeTemporary(folderOf(t.path), temporaryPrefixFor(t.path), ".tmp", step.bytes,
                        t.exists ? &t.existing : nullptr, step.tmpPath, savedErrno, &step.held)) {
      step.tmpPath.clear();
      if (t.exists && (savedErrno == EACCES || savedErrno == EPERM)) continue;
      errno = savedErrno;
      setError(error, "Cannot save " + t.requested + ": " + reason() + ".");
      discard();
      return false;
    }
  }

  // Renames need no room on the disk; should one still fail, the replaced files come back.
  const auto undo = [&steps] {
    for (Step& s : steps) {
      if (!s.done || s.tmpPath.empty()) continue;
      if (!s.backup.empty()) {
        ::rename(s.backup.c_str(), s.target.path.c_str());
      } else if (!s.target.exists) {
        ::unlink(s.target.path.c_str());
      }
      s.done = false;
      s.tmpPath.clear();
    }
  };
  for (Step& step : steps) {
    const Target& t = step.target;
    if (step.tmpPath.empty()) {
      if (!writeInPlace(t.path, step.bytes, error)) {
        discard();
        undo();
        return false;
      }
      step.done = true;
      continue;
    }
    // A second name for the file being replaced takes no room on the disk; where the file
    // system has no hard links, this step cannot be undone.
    for (int attempt = 0; t.exists && step.backup.empty() && attempt < 20; ++attempt) {
      const std::string name = folderOf(t.path) + temporaryPrefixFor(t.path) + randomSuffix() + ".tmp";
      if (::link(t.path.c_str(), name.c_str()) != 0) {
        if (errno != EEXIST) break;
        continue;
      }
      Fd fd(::open(name.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY));
      if (fd.ok() && holdAsOurs(fd.get(), name)) {
        step.backup = name;
        step.backupHeld = std::move(fd);
      } else {
        ::unlink(name.c_str());
        break;
      }
    }
    if (::rename(step.tmpPath.c_str(), t.path.c_str()) != 0) {
      setError(error, "Cannot save " + t.requested + ": " + reason() + ".");
      if (!step.backup.empty()) ::unlink(step.backup.c_str());
      step.backup.clear();
      discard();
      undo();
      return false;
    }
    step.done = true;
  }
  for (Step& step : steps) {
    if (!step.backup.empty()) ::unlink(step.backup.c_str());
    syncFolder(step.target.path);
  }
  return true;
}

}  // namespace kavel::text
