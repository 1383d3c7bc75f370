#include "shell/HistoryName.h"

#include <cctype>

#include "text/Format.h"
#include "text/TextFile.h"

namespace kavel {
namespace {

constexpr std::size_t kSuffixLength = 19;  // "_#" nnn "-" yymmdd "-" hhnnss

}  // namespace

std::string historyFileName(const std::string& path, const std::tm& when, const std::string& extension) {
  std::string base = path;
  const std::string ext = text::extensionOf(path);
  if (!ext.empty()) base.resize(base.size() - ext.size());

  int previous = 0;
  if (base.size() >= kSuffixLength && base[base.size() - 19] == '_' && base[base.size() - 18] == '#') {
    const std::string digits = base.substr(base.size() - 17, 3);
    bool numeric = true;
    for (char c : digits) numeric = numeric && std::isdigit(static_cast<unsigned char>(c));
    if (numeric) previous = std::stoi(digits);
    base.resize(base.size() - kSuffixLength);
  }
  // Beyond 999 the number keeps counting with more digits rather than wrapping to an old name.
  return text::format("%s_#%03d-%02d%02d%02d-%02d%02d%02d%s", base.c_str(), previous + 1, when.tm_year % 100,
                      when.tm_mon + 1, when.tm_mday, when.tm_hour, when.tm_min, when.tm_sec, extension.c_str());
}

}  // namespace kavel
