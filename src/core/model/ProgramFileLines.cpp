#include "core/model/ProgramFileLines.h"

#include <algorithm>
#include <charconv>

#include "core/text/Format.h"

namespace kavel {
namespace {

using text::format;

// The literal parts of a row line, by position; the numeric columns lie between them.
struct Literal {
  std::size_t pos;
  std::string_view text;
};
constexpr Literal kCommonLiterals[] = {{0, "["}, {5, "]:sno:"}, {13, ",cno:"}, {20, ",val:"}, {31, "-"}};
constexpr Literal kThreeValueLiterals[] = {{38, "-"}, {45, ",cmt:"}};
constexpr Literal kTwoValueLiterals[] = {{38, ",cmt:"}};
constexpr std::size_t kThreeValueLength = 50;
constexpr std::size_t kTwoValueLength = 43;

// A literal that the line holds only in part (it is cut inside it) matches as far as it goes.
bool literalsMatch(std::string_view line, const Literal* first, const Literal* last) {
  for (const Literal* l = first; l != last; ++l) {
    if (l->pos >= line.size()) return true;
    const std::string_view have = line.substr(l->pos, l->text.size());
    if (have != l->text.substr(0, have.size())) return false;
  }
  return true;
}

// A decimal integer filling its column: optional leading blanks, an optional sign, digits.
std::optional<int> parseColumn(std::string_view field) {
  while (!field.empty() && field.front() == ' ') field.remove_prefix(1);
  if (!field.empty() && field.front() == '+') field.remove_prefix(1);
  if (field.empty()) return std::nullopt;
  int value = 0;
  const auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), value);
  if (ec != std::errc() || end != field.data() + field.size()) return std::nullopt;
  return value;
}

bool isUtf16(std::string_view bytes) {
  if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) return true;
  // Without a byte-order mark: "Title:" with a NUL before or after each letter.
  return bytes.starts_with(std::string_view("T\0i\0t\0l\0e\0:\0", 12)) ||
         bytes.starts_with(std::string_view("\0T\0i\0t\0l\0e\0:", 12));
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::size_t lineAt(std::string_view bytes, std::size_t pos) {
  const std::string_view before = bytes.substr(0, pos);
  const bool atLineStart = before.empty() || before.back() == '\n' || before.back() == '\r';
  return splitProgramLines(before).size() + (atLineStart ? 1 : 0);
}

std::vector<std::string_view> splitProgramLines(std::string_view bytes) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] != '\r' && bytes[i] != '\n') continue;
    lines.push_back(bytes.substr(start, i - start));
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < bytes.size()) lines.push_back(bytes.substr(start));
  return lines;
}

std::string notAProgramFile(std::string_view bytes) {
  if (isUtf16(bytes)) {
    return "is UTF-16 text; Kavel reads program files in Shift-JIS or UTF-8. Save it in one of those with the "
           "editor that wrote it";
  }
  const std::string_view text = text::withoutBom(bytes);
  if (text.empty()) return "is empty; it is not a Kavel program file";
  if (const std::size_t nul = text.find('\0'); nul != std::string_view::npos) {
    return format("holds binary data (a NUL byte in line %zu); it is not a Kavel program file", lineAt(text, nul));
  }
  if (!text.starts_with("Title:")) return "does not begin with \"Title:\"; it is not a Kavel program file";
  return {};
}

std::optional<RowLine> parseRowLine(std::string_view line, text::FileEncoding encoding, std::string& why) {
  const bool twoValue = line.size() > 38 && line[38] == ',';
  const auto [formFirst, formLast] = twoValue ? std::pair(std::begin(kTwoValueLiterals), std::end(kTwoValueLiterals))
                                              : std::pair(std::begin(kThreeValueLiterals), std::end(kThreeValueLiterals));
  if (!literalsMatch(line, std::begin(kCommonLiterals), std::end(kCommonLiterals)) ||
      !literalsMatch(line, formFirst, formLast)) {
    why = "it does not have the columns of a program row (" + quoted(line, encoding) + ")";
    return std::nullopt;
  }
  if (line.size() < (twoValue ? kTwoValueLength : kThreeValueLength)) {
    why = "the row is cut short (" + quoted(line, encoding) + ")";
    return std::nullopt;
  }
  RowLine row;
  struct Column {
    std::size_t pos, len;
    int* target;
  };
  const Column columns[] = {{11, 2, &row.sno}, {18, 2, &row.cno}, {25, 6, &row.val0}, {32, 6, &row.val1},
                            {39, 6, twoValue ? nullptr : &row.val2}};
  for (const Column& c : columns) {
    if (!c.target) continue;
    const std::string_view field = line.substr(c.pos, c.len);
    const std::optional<int> v = parseColumn(field);
    if (!v) {
      why = format("%s is not a number (columns %zu to %zu)", quoted(field, encoding).c_str(), c.pos + 1, c.pos + c.len);
      return std::nullopt;
    }
    *c.target = *v;
  }
  row.cmt = line.substr(twoValue ? kTwoValueLength : kThreeValueLength);
  return row;
}

std::optional<ConnectorLine> parseConnectorLine(std::string_view line) {
  const int n = line.size() >= 5 && isDigit(line[2]) && isDigit(line[3]) && line[4] == ':'
                    ? (line[2] - '0') * 10 + (line[3] - '0')
                    : 0;
  if (n < 1 || n > 10) return std::nullopt;
  return ConnectorLine{n, line.substr(5)};
}

std::string quoted(std::string_view bytes, text::FileEncoding encoding) {
  constexpr std::size_t kLimit = 60;
  std::string s = text::decode(bytes, encoding);
  if (s.size() > kLimit) {
    std::size_t cut = kLimit;
    while (cut > 0 && (static_cast<unsigned char>(s[cut]) & 0xC0) == 0x80) --cut;
    s.resize(cut);
    s += "...";
  }
  std::replace_if(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }, '?');
  return "\"" + s + "\"";
}

}  // namespace kavel
