#include "core/text/Encoding.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>
#include <utility>

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

// One converter per direction and thread, opened on first use: opening a converter costs
// more than converting a whole program file.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (ok()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t get() const {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
    return cd_;
  }

 private:
  iconv_t cd_;
};

const Converter& toUtf8() {
  thread_local Converter conv("UTF-8", "CP932");
  return conv;
}

const Converter& toCp932() {
  thread_local Converter conv("CP932", "UTF-8");
  return conv;
}

bool isAscii(char c) { return static_cast<unsigned char>(c) < 0x80; }

// Converts a run of non-ASCII UTF-8 text; false when a character has no CP932 form.
bool appendCp932(std::string& out, std::string_view run) {
  const Converter& conv = toCp932();
  if (!conv.ok()) return false;
  char buffer[1024];
  auto* in = const_cast<char*>(run.data());
  size_t inLeft = run.size();
  while (inLeft > 0) {
    char* outPtr = buffer;
    size_t outLeft = sizeof buffer;
    const size_t r = iconv(conv.get(), &in, &inLeft, &outPtr, &outLeft);
    out.append(buffer, static_cast<size_t>(outPtr - buffer));
    if (r == static_cast<size_t>(-1) && errno != E2BIG) return false;
  }
  return true;
}

}  // namespace

bool isValidUtf8(std::string_view bytes) {
  for (size_t i = 0; i < bytes.size();) {
    const size_t n = utf8SequenceLength(bytes, i);
    if (n == 0) return false;
    i += n;
  }
  return true;
}

std::string_view withoutBom(std::string_view bytes) {
  if (bytes.starts_with(kUtf8Bom)) bytes.remove_prefix(kUtf8Bom.size());
  return bytes;
}

FileEncoding detectEncoding(std::string_view bytes) {
  if (bytes.starts_with(kUtf8Bom)) return FileEncoding::Utf8;
  if (!isValidUtf8(bytes)) return FileEncoding::Cp932;
  const auto isAsciiLetter = [](unsigned char c) { return (c | 0x20) >= 'a' && (c | 0x20) <= 'z'; };
  bool twoByteOnly = true;
  bool latinInWords = true;
  bool anyTwoByte = false;
  for (std::size_t i = 0; i < bytes.size();) {
    const std::size_t n = utf8SequenceLength(bytes, i);
    if (n >= 3) twoByteOnly = false;
    if (n == 2) {
      anyTwoByte = true;
      const auto b0 = static_cast<unsigned char>(bytes[i]);
      const auto b1 = static_cast<unsigned char>(bytes[i + 1]);
      const unsigned cp = ((b0 & 0x1Fu) << 6) | (b1 & 0x3Fu);
      // Latin-1 letters and Latin Extended-A/B, between letters or at a word's end.
      const bool latinLetter = cp >= 0xC0 && cp <= 0x24F && cp != 0xD7 && cp != 0xF7;
      const bool before = i > 0 && (isAsciiLetter(static_cast<unsigned char>(bytes[i - 1])) ||
                                    static_cast<unsigned char>(bytes[i - 1]) >= 0x80);
      const bool after = i + 2 < bytes.size() && isAsciiLetter(static_cast<unsigned char>(bytes[i + 2]));
      if (!latinLetter || !(before || after)) latinInWords = false;
    }
    i += n;
  }
  if (!anyTwoByte || !twoByteOnly || latinInWords) return FileEncoding::Utf8;
  return FileEncoding::Cp932;
}

std::string decodeFile(std::string_view bytes) { return decode(withoutBom(bytes), detectEncoding(bytes)); }

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
  if (std::all_of(bytes.begin(), bytes.end(), isAscii)) return std::string(bytes);

  const Converter& conv = toUtf8();
  if (!conv.ok()) return sanitizeUtf8(bytes);
  iconv_t cd = conv.get();
  std::string out;
  out.reserve(bytes.size() * 2);
  char buffer[1024];
  auto* in = const_cast<char*>(bytes.data());
  size_t inLeft = bytes.size();
  while (inLeft > 0) {
    char* outPtr = buffer;
    size_t outLeft = sizeof buffer;
    const size_t r = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    out.append(buffer, static_cast<size_t>(outPtr - buffer));
    if (r == static_cast<size_t>(-1)) {
      if (errno == E2BIG) continue;
      // An invalid or truncated byte: show it as a replacement character and go on.
      out += kReplacement;
      ++in;
      --inLeft;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
  }
  return out;
}

std::optional<std::string> utf8ToCp932(std::string_view utf8) {
  if (std::all_of(utf8.begin(), utf8.end(), isAscii)) return std::string(utf8);
  if (!isValidUtf8(utf8)) return std::nullopt;

  // ASCII is the same in both; only the runs between are converted.
  std::string out;
  out.reserve(utf8.size());
  size_t pos = 0;
  while (pos < utf8.size()) {
    size_t end = pos;
    while (end < utf8.size() && isAscii(utf8[end])) ++end;
    out.append(utf8.substr(pos, end - pos));
    pos = end;
    while (end < utf8.size() && !isAscii(utf8[end])) ++end;
    if (end > pos && !appendCp932(out, utf8.substr(pos, end - pos))) return std::nullopt;
    pos = end;
  }
  return out;
}

std::string decode(std::string_view bytes, FileEncoding encoding) {
  return encoding == FileEncoding::Utf8 ? sanitizeUtf8(bytes) : cp932ToUtf8(bytes);
}

std::string encodeForFile(std::string_view utf8) {
  // CP932 bytes that would be taken for UTF-8, and the few characters CP932 maps back to a
  // different one, make the text go out as marked UTF-8 instead.
  auto cp = utf8ToCp932(utf8);
  if (cp && (*cp == utf8 || decodeFile(*cp) == utf8)) return std::move(*cp);
  std::string out(kUtf8Bom);
  out += utf8;
  return out;
}

}  // namespace kavel::text
