#include "core/build/HistoryName.h"

#include <charconv>

#include "core/text/Format.h"
#include "core/text/TextFile.h"

namespace kavel {

std::string historyName(const std::string& path, bool cCodeStyle, const std::tm& when) {
  std::string base = path.substr(0, path.size() - text::extensionOf(path).size());
  const std::size_t n = base.size();
  int counter = 0;
  // Positions counted from 1: "_" at n - 18, "#" at n - 17, the counter at n - 16 .. n - 14.
  if (n >= 19 && base[n - 19] == '_' && base[n - 18] == '#') {
    const char* first = base.data() + (n - 17);
    const char* last = first + 3;
    const auto [end, ec] = std::from_chars(first, last, counter);
    if (ec != std::errc() || end != last || counter < 0) counter = 1;
    base.resize(n - 19);
  }
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%y%m%d-%H%M%S", &when);
  return text::format("%s_#%03d-%s%s", base.c_str(), counter + 1, stamp, cCodeStyle ? ".c" : ".Kvl");
}

std::string historyName(const std::string& path, bool cCodeStyle) {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return historyName(path, cCodeStyle, local);
}

}  // namespace kavel
