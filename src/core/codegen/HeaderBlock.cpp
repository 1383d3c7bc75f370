#include "core/codegen/HeaderBlock.h"

#include <algorithm>

#include "core/setup/CSourceHeader.h"
#include "core/text/TextFile.h"

namespace kavel {
namespace {

// Start of the UTF-8 character `count` characters before `end` (or 0).
std::size_t charactersBefore(const std::string& s, std::size_t end, std::size_t count) {
  std::size_t pos = end;
  while (pos > 0 && count > 0) {
    --pos;
    while (pos > 0 && (static_cast<unsigned char>(s[pos]) & 0xC0) == 0x80) --pos;
    --count;
  }
  return pos;
}

// Start of the last UTF-8 character of `s`.
std::size_t lastCharacterStart(const std::string& s) { return s.empty() ? 0 : charactersBefore(s, s.size(), 1); }

}  // namespace

const std::string kSeparatorLine = "//" + std::string(80, '-');

std::vector<std::string> includeLines() {
  return {"#include \"M_Main.h\"", "#include \"M_I2C.h\"", "#include \"M_SIO.h\"", "#include \"M_EIO.h\""};
}

std::string buildFolderPart(const std::string& buildFolder) {
  const std::size_t last = lastCharacterStart(buildFolder);
  const std::size_t mark = buildFolder.find("Build_V");
  if (mark != std::string::npos && mark < last) return buildFolder.substr(mark, last - mark);
  const std::size_t from = charactersBefore(buildFolder, last, 20);
  return " ... " + buildFolder.substr(from, last - from);
}

std::vector<std::string> fullHeaderBlock(const std::string& title, const std::string& mainWindowCaption,
                                         const std::string& buildFolder, const SetupRecord& setup, const IoSetup& io) {
  std::vector<std::string> lines;
  lines.reserve(20);
  lines.push_back(kSeparatorLine);
  lines.push_back("// Title: " + title);
  lines.push_back("// Build:" + mainWindowCaption + " - [ " + buildFolderPart(buildFolder) + " ]");
  lines.push_back(kSeparatorLine);
  for (std::string& line : setupHeaderLines(setup, io)) lines.push_back(std::move(line));
  lines.push_back(kSeparatorLine);
  for (std::string& line : includeLines()) lines.push_back(std::move(line));
  lines.push_back(kSeparatorLine);
  return lines;
}

std::vector<std::string> shortHeaderBlock() {
  std::vector<std::string> lines{kSeparatorLine};
  for (std::string& line : includeLines()) lines.push_back(std::move(line));
  lines.push_back(kSeparatorLine);
  return lines;
}

std::string programNameForBuild(const std::string& path) {
  const std::string name = text::fileNameOf(path);
  return name.substr(0, name.size() - text::extensionOf(name).size()) + ".C";
}

std::string programNameForView(const std::string& caption) {
  const std::size_t open = caption.find("[ ");
  if (open == std::string::npos) return caption;
  const std::size_t close = caption.find(" ]", open + 2);
  if (close == std::string::npos) return caption;
  return caption.substr(open + 2, close - open - 2) + ".C";
}

std::vector<std::string> cSkeletonBody(int tabSpaces) {
  return {"// Program Name : ", kSeparatorLine, "void user_main(void)", "{",
          std::string(static_cast<std::size_t>(std::max(tabSpaces, 0)), ' ') + ";", "}", kSeparatorLine};
}

}  // namespace kavel
