#include "core/settings/IniFile.h"

#include <climits>
#include <sys/stat.h>
#include <unistd.h>

#include "core/text/Encoding.h"
#include "core/text/Format.h"
#include "core/text/TextFile.h"

namespace kavel {
namespace {

// Settings files are a few kilobytes; other programs' sections may add some, and a file that
// cannot be read is never written over, so the limit is generous.
constexpr size_t kMaxSettingsFileBytes = text::kMaxTextFileBytes;

std::string_view trim(std::string_view s) {
  const auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; };
  while (!s.empty() && isSpace(s.front())) s.remove_prefix(1);
  while (!s.empty() && isSpace(s.back())) s.remove_suffix(1);
  return s;
}

bool sameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

/// The name of a section header line ("[ name ]"), or nullopt for any other line.
std::optional<std::string_view> sectionName(std::string_view line) {
  line = trim(line);
  if (line.empty() || line.front() != '[') return std::nullopt;
  const size_t close = line.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return trim(line.substr(1, close - 1));
}

struct KeyLine {
  std::string_view key;
  std::string_view value;
};

std::optional<KeyLine> keyLine(std::string_view line) {
  const size_t eq = line.find('=');
  if (eq == std::string_view::npos) return std::nullopt;
  const std::string_view key = trim(line.substr(0, eq));
  if (key.empty()) return std::nullopt;
  return KeyLine{key, trim(line.substr(eq + 1))};
}

bool isBlank(std::string_view line) { return trim(line).empty(); }

std::string oneLine(std::string_view value) {
  std::string out(value);
  for (char& c : out) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return out;
}

}  // namespace

IniFile IniFile::fromBytes(std::string_view bytes) {
  IniFile ini;
  const text::FileEncoding encoding = text::detectEncoding(bytes);
  ini.utf8_ = encoding == text::FileEncoding::Utf8;
  ini.bom_ = bytes.starts_with(text::kUtf8Bom);
  ini.fromFile_ = true;
  bytes = text::withoutBom(bytes);
  // No length limit per line: settings lines are short, and cutting one would corrupt the key
  // that follows when the file is written back.
  while (!bytes.empty()) {
    const size_t lf = bytes.find('\n');
    const size_t end = lf == std::string_view::npos ? bytes.size() : lf + 1;
    const std::string_view raw = bytes.substr(0, end);
    std::string_view content = raw;
    if (content.ends_with('\n')) content.remove_suffix(1);
    if (content.ends_with('\r')) content.remove_suffix(1);
    ini.lines_.push_back(text::decode(content, encoding));
    ini.raw_.emplace_back(raw);
    bytes.remove_prefix(end);
  }
  return ini;
}

void IniFile::setLine(size_t index, std::string line) {
  lines_[index] = std::move(line);
  raw_[index].reset();
}

void IniFile::insertLine(size_t index, std::string line) {
  // The line before gets a line end when the file ended without one.
  if (index > 0 && index == raw_.size() && raw_[index - 1] && !raw_[index - 1]->ends_with('\n')) {
    *raw_[index - 1] += "\r\n";
  }
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(index), std::move(line));
  raw_.insert(raw_.begin() + static_cast<std::ptrdiff_t>(index), std::nullopt);
}

std::optional<std::string> IniFile::composed(bool utf8WithBom) const {
  const bool utf8 = utf8WithBom || utf8_;
  const bool sameEncoding = utf8WithBom ? utf8_ : true;
  std::string out = (utf8WithBom || bom_) ? std::string(text::kUtf8Bom) : std::string();
  for (size_t i = 0; i < lines_.size(); ++i) {
    const std::string& line = lines_[i];
    if (raw_[i] && sameEncoding) {
      out += *raw_[i];
      continue;
    }
    if (raw_[i]) {
      // Converting to UTF-8: a line whose bytes were not clean CP932 keeps its bytes.
      const auto back = text::utf8ToCp932(line);
      std::string_view content = *raw_[i];
      const std::string_view end = content.ends_with("\r\n") ? "\r\n" : content.ends_with('\n') ? "\n" : "";
      content.remove_suffix(end.size());
      out += (back && *back == content) ? line : std::string(content);
      out += end;
      continue;
    }
    if (utf8) {
      out += line;
    } else {
      auto cp = text::utf8ToCp932(line);
      if (!cp || text::cp932ToUtf8(*cp) != line) return std::nullopt;
      out += *cp;
    }
    out += "\r\n";
  }
  // The file must read back in the encoding it was written in.
  const bool readsAsUtf8 = text::detectEncoding(out) == text::FileEncoding::Utf8;
  if (readsAsUtf8 != utf8) return std::nullopt;
  return out;
}

bool IniFile::load(const std::string& path, std::string* error) {
  *this = IniFile();
  if (!text::fileExists(path)) {
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) {  // something that is not a file, e.g. a folder
      if (error) *error = path + " is not a file";
      return false;
    }
    return true;
  }
  std::string bytes;
  if (!text::readFileBytes(path, bytes, error, kMaxSettingsFileBytes)) return false;
  // Such a file would be read as a few odd lines, and writing keys into it would append ASCII
  // sections to whatever it really holds.
  if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) {
    if (error) *error = path + " is UTF-16 text; settings files are read in Shift-JIS or UTF-8";
    return false;
  }
  if (bytes.find('\0') != std::string::npos) {
    if (error) *error = path + " holds binary data (NUL bytes); it is not a settings file";
    return false;
  }
  *this = fromBytes(bytes);
  return true;
}

std::string IniFile::toBytes() const {
  if (!fromFile_) {
    std::string text;
    for (const std::string& line : lines_) {
      text += line;
      text += "\r\n";
    }
    return text::encodeForFile(text);
  }
  if (auto same = composed(false)) return *same;
  return *composed(true);
}

bool IniFile::save(const std::string& path, std::string* error) const {
  return text::writeFileAtomic(path, toBytes(), error);
}

IniFile::Found IniFile::find(std::string_view section, std::string_view key) const {
  Found found;
  for (size_t i = 0; i < lines_.size(); ++i) {
    const std::string_view line = lines_[i];
    if (auto name = sectionName(line)) {
      if (found.header) break;  // the section ended
      if (sameName(*name, section)) {
        found.header = i;
        found.sectionEnd = i + 1;
      }
      continue;
    }
    if (!found.header) continue;
    if (!isBlank(line)) found.sectionEnd = i + 1;
    if (!found.key) {
      if (auto kv = keyLine(line); kv && sameName(kv->key, key)) found.key = i;
    }
  }
  return found;
}

std::optional<std::string> IniFile::value(std::string_view section, std::string_view key) const {
  const Found found = find(section, key);
  if (!found.key) return std::nullopt;
  return std::string(keyLine(lines_[*found.key])->value);
}

std::string IniFile::readString(std::string_view section, std::string_view key,
                                const std::string& fallback) const {
  auto v = value(section, key);
  return v ? *v : fallback;
}

int IniFile::readInteger(std::string_view section, std::string_view key, int fallback) const {
  auto v = value(section, key);
  if (!v) return fallback;
  return parseInteger(*v).value_or(fallback);
}

void IniFile::writeString(std::string_view section, std::string_view key, std::string_view value) {
  std::string line = std::string(key) + "=" + oneLine(value);
  const Found found = find(section, key);
  if (found.key) {
    if (keyLine(lines_[*found.key])->value != trim(oneLine(value))) setLine(*found.key, std::move(line));
  } else if (found.header) {
    insertLine(found.sectionEnd, std::move(line));
  } else {
    if (!lines_.empty() && !isBlank(lines_.back())) insertLine(lines_.size(), std::string());
    insertLine(lines_.size(), "[" + std::string(section) + "]");
    insertLine(lines_.size(), std::move(line));
  }
}

void IniFile::writeInteger(std::string_view section, std::string_view key, long long value) {
  writeString(section, key, std::to_string(value));
}

void IniFile::writeColour(std::string_view section, std::string_view key, std::uint32_t colour) {
  writeString(section, key, text::format("0x%06X", colour));
}

bool IniFile::hasSection(std::string_view section) const {
  return find(section, {}).header.has_value();
}

std::optional<int> IniFile::parseInteger(std::string_view text) {
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    const std::string_view digits = text.substr(2);
    if (digits.size() > 8) return std::nullopt;
    std::uint32_t v = 0;
    for (char c : digits) {
      int d;
      if (c >= '0' && c <= '9') d = c - '0';
      else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
      else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
      else return std::nullopt;
      v = v * 16 + static_cast<std::uint32_t>(d);
    }
    return static_cast<int>(v);
  }
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  if (i == text.size()) return std::nullopt;
  long long v = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c < '0' || c > '9') return std::nullopt;
    v = v * 10 + (c - '0');
    if (v > static_cast<long long>(INT_MAX) + 1) return std::nullopt;
  }
  if (negative) v = -v;
  if (v < INT_MIN || v > INT_MAX) return std::nullopt;
  return static_cast<int>(v);
}

}  // namespace kavel
