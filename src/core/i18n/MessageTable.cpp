#include "core/i18n/MessageTable.h"

#include <string_view>
#include <utility>
#include <vector>

#include "core/text/Encoding.h"
#include "core/text/Format.h"
#include "core/text/TextFile.h"

namespace kavel {
namespace {

constexpr std::string_view kSeparator =
    "//---------------------------------------------------------------------------";
static_assert(kSeparator.size() == 2 + 75);
constexpr std::string_view kLineEnd = "\r\n";
// "[" and three number characters; shorter lines cannot hold a number.
constexpr std::size_t kNumberEnd = 4;
constexpr std::size_t kTextStart = 6;

const std::string kEmpty;

bool validLanguage(int language) { return language >= 0 && language < MessageTable::kLanguages; }

bool isFileEntry(int n) {
  return n >= MessageTable::kFirstFileEntry && n <= MessageTable::kLastFileEntry;
}

// The number in characters 2 to 4 of a message line, 0 when they do not read as a decimal
// number. Blanks around the digits are allowed so that a hand-edited "[ 77]" still counts.
int messageNumber(std::string_view line) {
  std::string_view field = line.substr(1, kNumberEnd - 1);
  while (!field.empty() && field.front() == ' ') field.remove_prefix(1);
  while (!field.empty() && field.back() == ' ') field.remove_suffix(1);
  if (field.empty()) return 0;
  int n = 0;
  for (char c : field) {
    if (c < '0' || c > '9') return 0;
    n = n * 10 + (c - '0');
  }
  return n;
}

// A grid cell may hold line ends (pasted text); in the file they would start new lines.
std::string singleLine(std::string_view utf8) {
  std::string out = text::sanitizeUtf8(utf8);
  for (char& c : out) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return out;
}

std::size_t utf8SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xF0) return 4;
  if (lead >= 0xE0) return 3;
  return 2;
}

// The longest prefix of a valid UTF-8 text, cut between characters, whose bytes in the given
// file encoding fit kMaxTextBytes.
std::string fitToLine(const std::string& utf8, text::FileEncoding encoding) {
  // CP932 never needs more bytes than UTF-8 for the same character.
  if (utf8.size() <= MessageTable::kMaxTextBytes) return utf8;
  std::size_t used = 0;
  std::size_t end = 0;
  while (end < utf8.size()) {
    const std::size_t len = utf8SequenceLength(static_cast<unsigned char>(utf8[end]));
    std::size_t bytes = len;
    if (encoding == text::FileEncoding::Cp932 && len > 1) {
      if (auto cp = text::utf8ToCp932(std::string_view(utf8).substr(end, len))) bytes = cp->size();
    }
    if (used + bytes > MessageTable::kMaxTextBytes) break;
    used += bytes;
    end += len;
  }
  return utf8.substr(0, end);
}

std::string composeFile(int language, const std::vector<std::string>& texts) {
  int highest = 0;
  for (int i = MessageTable::kFirstFileEntry; i <= MessageTable::kLastFileEntry; ++i) {
    if (!texts[static_cast<std::size_t>(i)].empty()) highest = i;
  }
  std::string out;
  auto line = [&out](std::string_view s) {
    out += s;
    out += kLineEnd;
  };
  line(kSeparator);
  line(text::format("// %s", MessageTable::columnTitle(language)));
  line(kSeparator);
  for (int i = MessageTable::kFirstFileEntry; i <= highest + 1; ++i) {
    const std::string& t = texts[static_cast<std::size_t>(i)];
    line(text::format("[%03d]:", i) + t);
    if (t.empty()) line(kSeparator);  // an empty message closes a group
  }
  line(kSeparator);
  return out;
}

}  // namespace

bool MessageTable::load(int language, const std::string& path) {
  if (!validLanguage(language)) return false;
  auto& column = table_[static_cast<std::size_t>(language)];
  column.fill(std::string());

  std::string bytes;
  if (!text::readFileBytes(path, bytes, nullptr, MessageTable::kMaxFileBytes)) return false;

  const text::FileEncoding encoding = text::detectEncoding(bytes);
  for (std::string_view line : text::splitLines(text::withoutBom(bytes), kLineBuffer)) {
    if (line.size() < kNumberEnd || line.front() != '[') continue;
    const int n = messageNumber(line);
    if (!isFileEntry(n)) continue;
    const std::string_view raw = line.size() > kTextStart ? line.substr(kTextStart) : "";
    column[static_cast<std::size_t>(n)] = text::decode(raw, encoding);
  }
  return true;
}

bool MessageTable::write(int language, const std::string& path) const {
  if (!validLanguage(language)) return false;
  const auto& column = table_[static_cast<std::size_t>(language)];

  std::vector<std::string> texts(kEntries);
  for (int i = kFirstFileEntry; i <= kLastFileEntry; ++i) {
    texts[static_cast<std::size_t>(i)] = singleLine(column[static_cast<std::size_t>(i)]);
  }
  auto fitted = [&texts](text::FileEncoding encoding) {
    std::vector<std::string> out(texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i) out[i] = fitToLine(texts[i], encoding);
    return out;
  };

  // CP932 keeps the files exchangeable with existing users; marked UTF-8 when a character has
  // no CP932 form, or when the CP932 bytes would not read back as the same text.
  const std::string asCp932 = composeFile(language, fitted(text::FileEncoding::Cp932));
  const auto converted = text::utf8ToCp932(asCp932);
  std::string bytes;
  if (converted && text::decodeFile(*converted) == asCp932) {
    bytes = *converted;
  } else {
    bytes = std::string(text::kUtf8Bom) + composeFile(language, fitted(text::FileEncoding::Utf8));
  }
  return text::writeFileAtomic(path, bytes);
}

const std::string& MessageTable::text(int language, int n) const {
  if (!validLanguage(language) || n < 0 || n >= kEntries) return kEmpty;
  return table_[static_cast<std::size_t>(language)][static_cast<std::size_t>(n)];
}

void MessageTable::setText(int language, int n, std::string text) {
  if (!validLanguage(language) || !isFileEntry(n)) return;
  table_[static_cast<std::size_t>(language)][static_cast<std::size_t>(n)] = std::move(text);
}

const char* MessageTable::columnTitle(int language) {
  return language == 0 ? "日本語" : "English";
}

}  // namespace kavel
