#include "core/build/BuildOutput.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "core/text/Encoding.h"

namespace kavel {
namespace {

// Only the shown part is read, so a tool chain that wrote gigabytes costs no more than this.
bool readHead(const std::string& path, std::size_t limit, std::string& bytes, off_t& total) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return false;
  }
  total = st.st_size;
  bytes.resize(std::min<std::size_t>(limit, static_cast<std::size_t>(st.st_size)));
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  bytes.resize(done);
  ::close(fd);
  return true;
}

}  // namespace

BuildOutput readBuildOutput(const std::string& path, std::size_t limit) {
  BuildOutput output;
  std::string bytes;
  off_t total = 0;
  if (!readHead(path, limit, bytes, total)) {
    output.readable = false;
    return output;
  }
  // A cut in the middle of a multi-byte character must not turn the whole text into CP932.
  std::size_t keep = bytes.size();
  if (static_cast<off_t>(bytes.size()) < total) {
    while (keep > 0 && bytes.size() - keep < 4 && (static_cast<unsigned char>(bytes[keep - 1]) & 0xC0) == 0x80) --keep;
    if (keep > 0 && static_cast<unsigned char>(bytes[keep - 1]) >= 0xC0) --keep;
    if (!text::isValidUtf8(std::string_view(bytes).substr(0, keep))) keep = bytes.size();
  }
  const std::string_view head = std::string_view(bytes).substr(0, keep);
  const std::string decoded = text::isValidUtf8(head) ? std::string(head) : text::cp932ToUtf8(head);

  output.text.reserve(decoded.size());
  for (std::size_t i = 0; i < decoded.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(decoded[i]);
    if (c == '\r') {
      output.text += '\n';
      if (i + 1 < decoded.size() && decoded[i + 1] == '\n') ++i;
    } else if (c == '\n' || c == '\t' || c >= 0x20) {
      output.text += c == 0x7F ? '?' : static_cast<char>(c);
    } else {
      output.text += '?';
    }
  }
  if (static_cast<off_t>(keep) < total) {
    output.complete = false;
    if (!output.text.empty() && output.text.back() != '\n') output.text += '\n';
    output.text += "... (" + std::to_string(total - static_cast<off_t>(keep)) + " more bytes of " + path +
                   " not shown)\n";
  }
  return output;
}

}  // namespace kavel
