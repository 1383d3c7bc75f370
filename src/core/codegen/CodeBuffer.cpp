#include "core/codegen/CodeBuffer.h"

#include <algorithm>
#include <cstdio>
#include <optional>

#include "core/text/Encoding.h"

namespace kavel {

void CodeBuffer::EmitLine(int indent, std::string_view text, int tabSpaces) {
  origins_.push_back(origin_);
  if (target_ == CodeTarget::CSourceEditor) {
    lines_.emplace_back(text);
    return;
  }
  char prefix[16];
  const int n = std::snprintf(prefix, sizeof prefix, "%03d|", static_cast<int>(lines_.size() + 1));
  // The settings file allows at most 32 spaces a step; a larger value in memory is held to it.
  const int step = std::clamp(tabSpaces, 0, kMaxTabSpaces);
  const std::size_t spaces = indent > 0 ? static_cast<std::size_t>(indent) * static_cast<std::size_t>(step) : 0;
  std::string line;
  line.reserve(static_cast<std::size_t>(n) + spaces + text.size());
  line.append(prefix, static_cast<std::size_t>(n));
  line.append(spaces, ' ');
  line.append(text);
  lines_.push_back(std::move(line));
}

std::string CodeBuffer::joined() const {
  std::string out;
  for (const std::string& line : lines_) {
    out += line;
    out += '\n';
  }
  return out;
}

std::string_view withoutLinePrefix(std::string_view line) {
  const std::size_t bar = line.find('|');
  if (bar != std::string_view::npos && bar >= 1 && bar <= 6) return line.substr(bar + 1);
  return line;
}

namespace {

// The last character of a UTF-8 line ("" for an empty line).
std::string_view lastCharacter(std::string_view line) {
  std::size_t start = line.size();
  while (start > 0) {
    --start;
    if ((static_cast<unsigned char>(line[start]) & 0xC0) != 0x80) break;
  }
  return line.substr(start);
}

// Whether the line would end in the byte of a backslash once written in CP932: characters such
// as 表, ソ or 能 have 0x5C as their second byte, and the compiler, reading bytes, takes it with
// the line end for a line continuation that pulls the next generated line into a comment.
bool endsInCp932Backslash(std::string_view line) {
  const std::string_view last = lastCharacter(line);
  if (last.size() < 2) return false;
  const std::optional<std::string> bytes = text::utf8ToCp932(last);
  return bytes && bytes->size() == 2 && static_cast<unsigned char>((*bytes)[1]) == 0x5C;
}

}  // namespace

std::string generatedFileBytes(const std::vector<std::string>& lines) {
  std::string text;
  std::size_t size = 0;
  for (const std::string& line : lines) size += line.size() + 2;
  text.reserve(size);
  for (const std::string& line : lines) {
    const std::string_view content = withoutLinePrefix(line);
    text += content;
    // An ideographic space, which the compiler does not take for white space, keeps the next
    // line a line of its own and shows as nothing in a Japanese editor.
    if (endsInCp932Backslash(content)) text += "\xE3\x80\x80";
    text += "\r\n";
  }
  return text::encodeForFile(text);
}

}  // namespace kavel
