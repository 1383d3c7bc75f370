#include "core/shell/ExampleIndex.h"

#include <set>
#include <sstream>

#include "core/text/TextFile.h"

namespace kavel {
namespace {

std::string trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t");
  return std::string(text.substr(first, last - first + 1));
}

// A plain file name: what the menu copies must stay inside the examples and worlds folders.
bool plainFileName(const std::string& name) {
  return !name.empty() && name.find('/') == std::string::npos && name.find('\\') == std::string::npos &&
         name != "." && name != "..";
}

}  // namespace

const std::string& ExampleEntry::title(int language) const {
  return language == 0 && !titleJa.empty() ? titleJa : titleEn;
}

std::vector<std::string> ExampleEntry::files() const {
  std::vector<std::string> all{file};
  all.insert(all.end(), subs.begin(), subs.end());
  return all;
}

std::string examplesFolder(const std::string& dataFolder) { return dataFolder + "examples/"; }

std::string worldsFolder(const std::string& dataFolder) { return dataFolder + "worlds/"; }

bool readExampleIndex(const std::string& path, std::vector<ExampleEntry>& entries, std::string* error) {
  entries.clear();
  std::string bytes;
  if (!text::readFileBytes(path, bytes, error)) return false;
  std::vector<ExampleEntry> read;
  std::set<std::string> names;
  int lineNo = 0;
  auto fail = [&](const std::string& what) {
    if (error) *error = path + ":" + std::to_string(lineNo) + ": " + what;
    return false;
  };
  for (std::string_view raw : text::splitLines(bytes, bytes.size() + 2)) {
    ++lineNo;
    const std::string line = trimmed(raw);
    if (line.empty() || line[0] == ';' || line[0] == '#') continue;
    if (line.front() == '[') {
      if (line.back() != ']') return fail("a section name needs its closing \"]\"");
      if (!read.empty() && read.back().titleEn.empty()) return fail("the example before this line has no title_en");
      ExampleEntry entry;
      entry.file = trimmed(std::string_view(line).substr(1, line.size() - 2));
      if (!plainFileName(entry.file)) return fail("\"" + entry.file + "\" is not a file name of the examples folder");
      if (!names.insert(entry.file).second) return fail(entry.file + " is listed twice");
      read.push_back(std::move(entry));
      continue;
    }
    const auto equals = line.find('=');
    if (equals == std::string::npos) return fail("expected key=value or [File.Kvl]");
    if (read.empty()) return fail("a key before the first [File.Kvl] section");
    const std::string key = trimmed(std::string_view(line).substr(0, equals));
    const std::string value = trimmed(std::string_view(line).substr(equals + 1));
    ExampleEntry& entry = read.back();
    if (key == "title_en") {
      entry.titleEn = value;
    } else if (key == "title_ja") {
      entry.titleJa = value;
    } else if (key == "about_en") {
      entry.aboutEn = value;
    } else if (key == "about_ja") {
      entry.aboutJa = value;
    } else if (key == "world") {
      if (!value.empty() && !plainFileName(value)) return fail("\"" + value + "\" is not a file name of the worlds folder");
      entry.world = value;
    } else if (key == "moves") {
      if (value != "yes" && value != "no") return fail("moves is yes or no, not \"" + value + "\"");
      entry.moves = value == "yes";
    } else if (key == "subs") {
      std::istringstream words(value);
      for (std::string sub; words >> sub;) {
        if (!plainFileName(sub)) return fail("\"" + sub + "\" is not a file name of the examples folder");
        entry.subs.push_back(sub);
      }
    } else {
      return fail("unknown key \"" + key + "\"");
    }
  }
  if (!read.empty() && read.back().titleEn.empty()) return fail(read.back().file + " has no title_en");
  entries = std::move(read);
  return true;
}

}  // namespace kavel
