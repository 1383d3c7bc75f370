#include "core/text/TextFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kavel::text {
namespace {

void setError(std::string* error, const std::string& what, const std::string& path) {
  if (error) *error = what + " " + path + ": " + std::strerror(errno);
}

size_t lastSeparator(const std::string& path) { return path.find_last_of("/\\"); }

}  // namespace

bool readFileBytes(const std::string& path, std::string& bytes, std::string* error) {
  bytes.clear();
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    setError(error, "Cannot open", path);
    return false;
  }
  struct stat st {};
  if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
    ::close(fd);
    errno = EISDIR;
    setError(error, "Cannot open", path);
    return false;
  }
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      setError(error, "Cannot read", path);
      ::close(fd);
      return false;
    }
    if (n == 0) break;
    bytes.append(buffer, static_cast<size_t>(n));
  }
  ::close(fd);
  return true;
}

std::vector<std::string_view> splitLines(std::string_view bytes, size_t bufferSize) {
  std::vector<std::string_view> lines;
  const size_t maxPiece = bufferSize > 1 ? bufferSize - 1 : 1;
  size_t pos = 0;
  while (pos < bytes.size()) {
    const size_t limit = std::min(bytes.size(), pos + maxPiece);
    size_t end = pos;
    while (end < limit && bytes[end] != '\n') ++end;
    std::string_view piece = bytes.substr(pos, end - pos);
    size_t next = end;
    if (end < limit) {
      next = end + 1;  // the LF belongs to this piece
    } else if (end < bytes.size() && bytes[end] == '\n' && !piece.empty() && piece.back() == '\r') {
      next = end + 1;  // the piece filled the buffer up to its CR: CR LF is still its line end
    }
    const bool lineEnded = next > end || end == bytes.size();
    if (lineEnded && !piece.empty() && piece.back() == '\r') piece.remove_suffix(1);
    lines.push_back(piece);
    pos = next;
  }
  return lines;
}

bool writeFileAtomic(const std::string& path, std::string_view bytes, std::string* error) {
  struct stat existing {};
  if (::stat(path.c_str(), &existing) == 0 && S_ISREG(existing.st_mode)) {
    // Renaming over a read-only file would succeed; the user meant it to stay as it is. The
    // mode bits are checked as well because access() grants everything to root.
    if ((existing.st_mode & 0222) == 0 || ::access(path.c_str(), W_OK) != 0) {
      if (error) *error = path + " is read-only";
      return false;
    }
  }
  std::string folder = folderOf(path);
  std::string tmpl = folder + "." + fileNameOf(path) + ".XXXXXX";
  std::vector<char> name(tmpl.begin(), tmpl.end());
  name.push_back('\0');
  const int fd = ::mkstemp(name.data());
  if (fd < 0) {
    setError(error, "Cannot create a file in the folder of", path);
    return false;
  }
  const std::string tmpPath(name.data());
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      setError(error, "Cannot write", path);
      ::close(fd);
      ::unlink(tmpPath.c_str());
      return false;
    }
    done += static_cast<size_t>(n);
  }
  // Keep the permissions of the file we replace; a new file gets the usual 0644 minus umask.
  struct stat st {};
  mode_t mode = 0666;
  if (::stat(path.c_str(), &st) == 0) {
    mode = st.st_mode & 07777;
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode &= ~mask;
  }
  ::fchmod(fd, mode);
  if (::close(fd) != 0) {
    setError(error, "Cannot write", path);
    ::unlink(tmpPath.c_str());
    return false;
  }
  if (::rename(tmpPath.c_str(), path.c_str()) != 0) {
    setError(error, "Cannot replace", path);
    ::unlink(tmpPath.c_str());
    return false;
  }
  return true;
}

bool fileExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

std::string folderOf(const std::string& path) {
  const size_t p = lastSeparator(path);
  return p == std::string::npos ? std::string() : path.substr(0, p + 1);
}

std::string fileNameOf(const std::string& path) {
  const size_t p = lastSeparator(path);
  return p == std::string::npos ? path : path.substr(p + 1);
}

std::string baseNameOf(const std::string& path) {
  std::string name = fileNameOf(path);
  const size_t dot = name.rfind('.');
  if (dot != std::string::npos) name.erase(dot);
  return name;
}

std::string extensionOf(const std::string& path) {
  const std::string name = fileNameOf(path);
  const size_t dot = name.rfind('.');
  return dot == std::string::npos ? std::string() : name.substr(dot);
}

}  // namespace kavel::text
