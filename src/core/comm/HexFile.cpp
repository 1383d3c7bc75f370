#include "core/comm/HexFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "core/text/Format.h"

namespace kavel {
namespace {

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

/// The record in `line` (without line end), or an error text.
bool parseRecord(std::string_view line, HexRecord& record, std::string& error) {
  if (line.empty() || line[0] != ':') {
    error = "not an Intel HEX record (it does not start with \":\")";
    return false;
  }
  const std::string_view digits = line.substr(1);
  if (digits.size() < 10 || digits.size() % 2 != 0) {
    error = text::format("a record needs an even number of at least 10 hexadecimal digits, this one has %zu",
                         digits.size());
    return false;
  }
  std::vector<int> bytes;
  bytes.reserve(digits.size() / 2);
  for (std::size_t i = 0; i < digits.size(); i += 2) {
    const int hi = hexDigit(digits[i]), lo = hexDigit(digits[i + 1]);
    if (hi < 0 || lo < 0) {
      error = text::format("character %zu is not a hexadecimal digit", i + (hi < 0 ? 2 : 3));
      return false;
    }
    bytes.push_back(hi * 16 + lo);
  }
  const int count = bytes[0];
  if (static_cast<std::size_t>(count) + 5 != bytes.size()) {
    error = text::format("the byte count says %d data bytes, the record holds %zu", count, bytes.size() - 5);
    return false;
  }
  int sum = 0;
  for (std::size_t i = 0; i + 1 < bytes.size(); ++i) sum += bytes[i];
  const int expected = (0x100 - (sum & 0xFF)) & 0xFF;
  if (expected != bytes.back()) {
    error = text::format("checksum is %02X, the record's bytes give %02X", bytes.back(), expected);
    return false;
  }
  record.byteCount = count;
  record.address = bytes[1] * 256 + bytes[2];
  record.type = bytes[3];
  if (record.type > 5) {
    error = text::format("record type %02X is not one of 00 to 05", record.type);
    return false;
  }
  record.line.assign(line);
  return true;
}

}  // namespace

HexReadResult parseHexFile(std::string_view text) {
  HexReadResult result;
  result.image.fileSize = text.size();
  std::size_t pos = 0;
  int lineNumber = 0;
  bool sawEnd = false;
  while (pos < text.size()) {
    const std::size_t nl = text.find('\n', pos);
    const std::size_t end = nl == std::string_view::npos ? text.size() : nl;
    const std::size_t next = nl == std::string_view::npos ? text.size() : nl + 1;
    ++lineNumber;
    std::string_view line = text.substr(pos, end - pos);
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) line.remove_suffix(1);
    pos = next;
    if (line.empty()) continue;
    if (sawEnd) continue;  // the boot loader never sees what follows the end record
    HexRecord record;
    std::string error;
    if (!parseRecord(line, record, error)) {
      result.error = text::format("line %d: %s", lineNumber, error.c_str());
      return result;
    }
    record.endOffset = next;
    if (record.type == 1) sawEnd = true;
    result.image.records.push_back(std::move(record));
  }
  if (result.image.records.empty()) {
    result.error = "no Intel HEX records in the file";
    return result;
  }
  if (!sawEnd) {
    result.error = "the end-of-file record (:00000001FF) is missing; the file looks cut short";
    return result;
  }
  result.ok = true;
  return result;
}

HexReadResult readHexFile(const std::string& path) {
  HexReadResult result;
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    result.error = text::format("cannot open %s: %s", path.c_str(), std::strerror(errno));
    return result;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    result.error = text::format("%s is not a regular file", path.c_str());
    return result;
  }
  if (static_cast<std::size_t>(st.st_size) > kHexFileLimit) {
    ::close(fd);
    result.error = text::format("%s is %lld bytes, too large for a HEX image of the board", path.c_str(),
                                static_cast<long long>(st.st_size));
    return result;
  }
  std::string data(static_cast<std::size_t>(st.st_size), '\0');
  std::size_t done = 0;
  while (done < data.size()) {
    const ssize_t n = ::read(fd, data.data() + done, data.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  const int readErr = errno;
  ::close(fd);
  if (done != data.size()) {
    result.error = text::format("cannot read %s: %s", path.c_str(), std::strerror(readErr));
    return result;
  }
  result = parseHexFile(data);
  if (!result.ok) result.error = path + ": " + result.error;
  return result;
}

}  // namespace kavel
