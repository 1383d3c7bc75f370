#include "text/Encoding.h"

#include <cerrno>
#include <iconv.h>

namespace kavel::text {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

// Length of the well-formed UTF-8 sequence starting at i, or 0 when it is malformed.
size_t utf8SequenceLength(std::string_view s, size_t i) {
  const auto b0 = static_cast<unsigned char>(s[i]);
  if (b0 < 0x80) return 1;
  size_t len;
  unsigned lo = 0x80, hi = 0xBF;
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    len = 2;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    len = 3;
    if (b0 == 0xE0) lo = 0xA0;
    if (b0 == 0xED) hi = 0x9F;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    len = 4;
    if (b0 == 0xF0) lo = 0x90;
    if (b0 == 0xF4) hi = 0x8F;
  } else {
    return 0;
  }
  if (i + len > s.size()) return 0;
  for (size_t k = 1; k < len; ++k) {
    const auto b = static_cast<unsigned char>(s[i + k]);
    const unsigned l = (k == 1) ? lo : 0x80;
    const unsigned h = (k == 1) ? hi : 0xBF;
    if (b < l || b > h) return 0;
  }
  return len;
}

// RAII wrapper so that every path closes the converter.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (ok()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t get() const { return cd_; }

 private:
  iconv_t cd_;
};

}  // namespace

bool isValidUtf8(std::string_view bytes) {
  for (size_t i = 0; i < bytes.size();) {
    const size_t n = utf8SequenceLength(bytes, i);
    if (n == 0) return false;
    i += n;
  }
  return true;
}

FileEncoding detectEncoding(std::string_view bytes) {
  return isValidUtf8(bytes) ? FileEncoding::Utf8 : FileEncoding::Cp932;
}

std::string sanitizeUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (size_t i = 0; i < bytes.size();) {
    const size_t n = utf8SequenceLength(bytes, i);
    if (n == 0) {
      out += kReplacement;
      ++i;
    } else {
      out.append(bytes.substr(i, n));
      i += n;
    }
  }
  return out;
}

std::string cp932ToUtf8(std::string_view bytes) {
  bool ascii = true;
  for (char c : bytes) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
  if (ascii) return std::string(bytes);

  Converter conv("UTF-8", "CP932");
  if (!conv.ok()) return sanitizeUtf8(bytes);
  std::string out;
  out.reserve(bytes.size() * 2);
  char buffer[1024];
  auto* in = const_cast<char*>(bytes.data());
  size_t inLeft = bytes.size();
  while (inLeft > 0) {
    char* outPtr = buffer;
    size_t outLeft = sizeof buffer;
    const size_t r = iconv(conv.get(), &in, &inLeft, &outPtr, &outLeft);
    out.append(buffer, static_cast<size_t>(outPtr - buffer));
    if (r == static_cast<size_t>(-1)) {
      if (errno == E2BIG) continue;
      // An invalid or truncated byte: show it as a replacement character and go on.
      out += kReplacement;
      ++in;
      --inLeft;
      iconv(conv.get(), nullptr, nullptr, nullptr, nullptr);
    }
  }
  return out;
}

std::optional<std::string> utf8ToCp932(std::string_view utf8) {
  bool ascii = true;
  for (char c : utf8) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
  if (ascii) return std::string(utf8);
  if (!isValidUtf8(utf8)) return std::nullopt;

  Converter conv("CP932", "UTF-8");
  if (!conv.ok()) return std::nullopt;
  std::string out;
  out.reserve(utf8.size());
  char buffer[1024];
  auto* in = const_cast<char*>(utf8.data());
  size_t inLeft = utf8.size();
  while (inLeft > 0) {
    char* outPtr = buffer;
    size_t outLeft = sizeof buffer;
    const size_t r = iconv(conv.get(), &in, &inLeft, &outPtr, &outLeft);
    out.append(buffer, static_cast<size_t>(outPtr - buffer));
    if (r == static_cast<size_t>(-1) && errno != E2BIG) return std::nullopt;
  }
  return out;
}

std::string decode(std::string_view bytes, FileEncoding encoding) {
  return encoding == FileEncoding::Utf8 ? sanitizeUtf8(bytes) : cp932ToUtf8(bytes);
}

std::string encodeForFile(std::string_view utf8) {
  if (auto cp = utf8ToCp932(utf8)) return *cp;
  return std::string(utf8);
}

}  // namespace kavel::text
