#include "core/codegen/CCodeLibrary.h"

#include "core/text/Encoding.h"
#include "core/text/Format.h"
#include "core/text/TextFile.h"

namespace kavel {
namespace {

constexpr std::size_t kLineBuffer = 1024;

bool isBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

void skipBlanks(std::string_view& s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
}

// Takes the characters up to (not including) `stop` off the front of `s`.
std::string_view takeUntil(std::string_view& s, char stop) {
  const std::size_t end = s.find(stop);
  const std::string_view field = s.substr(0, end);
  s.remove_prefix(field.size());
  return field;
}

}  // namespace

std::vector<CCodeLibEntry>& CCodeLibrary::table(CCodeTable t) {
  return t == CCodeTable::Defines ? defines : t == CCodeTable::Variable ? variables : functions;
}

const std::vector<CCodeLibEntry>& CCodeLibrary::table(CCodeTable t) const {
  return t == CCodeTable::Defines ? defines : t == CCodeTable::Variable ? variables : functions;
}

void CCodeLibrary::clear() {
  functions.clear();
  defines.clear();
  variables.clear();
}

std::optional<CCodeLibEntry> parseCCodeLibLine(std::string_view line) {
  if (line.empty() || static_cast<unsigned char>(line.front()) < 32 || line.front() == '/') return std::nullopt;
  CCodeLibEntry entry;
  std::string_view rest = line;

  // The type is one word, or two when the first is a qualifier.
  std::size_t typeEnd = rest.find(' ');
  typeEnd = typeEnd == std::string_view::npos ? rest.size() : typeEnd + 1;
  const std::string_view firstWord = rest.substr(0, typeEnd);
  if (firstWord.find("const") != std::string_view::npos || firstWord.find("volatile") != std::string_view::npos) {
    const std::size_t next = rest.find(' ', typeEnd);
    typeEnd = next == std::string_view::npos ? rest.size() : next;
  }
  entry.type = trimmed(rest.substr(0, typeEnd));
  rest.remove_prefix(typeEnd);

  skipBlanks(rest);
  entry.code = trimmed(takeUntil(rest, '\t'));
  skipBlanks(rest);
  const std::string_view third = takeUntil(rest, '\t');
  if (third.find("//") != std::string_view::npos) {
    entry.comment = trimmed(third);
  } else {
    entry.value = trimmed(third);
    skipBlanks(rest);
    entry.comment = trimmed(rest);
  }
  return entry;
}

CCodeTable tableFor(const CCodeLibEntry& entry) {
  if (entry.type.find("#define") != std::string::npos) return CCodeTable::Defines;
  if (entry.code.find('(') != std::string::npos) return CCodeTable::Function;
  return CCodeTable::Variable;
}

CCodeLibResult ReadCCodeLibrary(const std::string& path, CCodeLibrary& library) {
  library.clear();
  CCodeLibResult result;
  std::string bytes;
  // The library is a few hundred lines; far more is not a library file.
  if (!text::readFileBytes(path, bytes, nullptr, 4u << 20)) {
    result.title = "File Error";
    result.text = "Can't Open C-CodeLib.Txt";
    return result;
  }
  const auto encoding = text::detectEncoding(bytes);
  for (const std::string_view piece : text::splitLines(text::withoutBom(bytes), kLineBuffer)) {
    const std::string line = text::decode(piece, encoding);
    if (auto entry = parseCCodeLibLine(line)) library.table(tableFor(*entry)).push_back(std::move(*entry));
  }
  result.ok = true;
  return result;
}

std::string libraryRowNumber(int row) { return text::format("%3d", row); }

}  // namespace kavel
