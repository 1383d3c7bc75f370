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

const char* kindOfFile(mode_t mode) {
  if (S_ISDIR(mode)) return "a folder";
  if (S_ISFIFO(mode)) return "a pipe (FIFO)";
  if (S_ISCHR(mode)) return "a character device";
  if (S_ISBLK(mode)) return "a block device";
  if (S_ISSOCK(mode)) return "a socket";
  return "a special file";
}

std::string sizeText(std::size_t bytes) {
  if (bytes >= (1u << 20) && bytes % (1u << 20) == 0) return std::to_string(bytes >> 20) + " MiB";
  if (bytes >= 1024 && bytes % 1024 == 0) return std::to_string(bytes >> 10) + " KiB";
  return std::to_string(bytes) + " bytes";
}

}  // namespace

bool readFileBytes(const std::string& path, std::string& bytes, std::string* error, std::size_t maxBytes) {
  bytes.clear();
  // O_NONBLOCK: opening a FIFO without a writer, or a device, must not wait; regular files
  // ignore the flag.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) {
    setError(error, "Cannot open", path);
    return false;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    setError(error, "Cannot read", path);
    ::close(fd);
    return false;
  }
  if (!S_ISREG(st.st_mode)) {
    ::close(fd);
    if (error) *error = "Cannot open " + path + ": it is " + kindOfFile(st.st_mode) + ", not a file.";
    return false;
  }
  const auto tooLarge = [&] {
    if (error) {
      *error = "Cannot open " + path + ": it is larger than " + sizeText(maxBytes) +
               ", too large for a file of this kind.";
    }
    bytes.clear();
    ::close(fd);
    return false;
  };
  if (st.st_size < 0 || static_cast<unsigned long long>(st.st_size) > maxBytes) return tooLarge();
  bytes.reserve(static_cast<std::size_t>(st.st_size));
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      setError(error, "Cannot read", path);
      bytes.clear();
      ::close(fd);
      return false;
    }
    if (n == 0) break;
    // The size was checked at open; a file that grows meanwhile is still cut off at the limit.
    if (bytes.size() + static_cast<std::size_t>(n) > maxBytes) return tooLarge();
    bytes.append(buffer, static_cast<std::size_t>(n));
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
