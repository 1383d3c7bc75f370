#include "core/setup/CSourceHeader.h"

#include <string_view>

#include "core/settings/IniFile.h"
#include "core/setup/SetupCodec.h"
#include "core/text/Format.h"

namespace kavel {
namespace {

bool startsWith(std::string_view s, std::string_view prefix) {
  return s.substr(0, prefix.size()) == prefix;
}

/// Characters `from` to `to` (counted from 1) of a line; shorter when the line ends before.
std::string_view columns(std::string_view line, size_t from, size_t to) {
  if (line.size() < from) return {};
  return line.substr(from - 1, to - from + 1);
}

int numberOr(std::string_view field, int fallback) {
  // A value is decimal in this header; IniFile's reader would also take hexadecimal.
  if (field.empty() || (field.size() > 1 && (field[1] == 'x' || field[1] == 'X'))) return fallback;
  return IniFile::parseInteger(field).value_or(fallback);
}

}  // namespace

std::vector<std::string> setupHeaderLines(const SetupRecord& record, const IoSetup& io) {
  std::vector<std::string> lines;
  lines.push_back(text::format("// SetupVal:%06d-%06d-%06d,cmt:%s", record.setupValue[0],
                               record.setupValue[1], record.setupValue[2],
                               record.setupComment.c_str()));
  for (int n = 1; n <= 10; ++n) lines.push_back(text::format("// CN%02d:%s", n, io.cnName[n - 1].c_str()));
  return lines;
}

bool readSetupFromCSource(const std::vector<std::string>& lines, IoSetup& io, SetupRecord& record) {
  bool found = false;
  for (std::string_view line : lines) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (startsWith(line, "#include")) break;
    if (columns(line, 4, 12) == "SetupVal:") {
      record.setupValue[0] = numberOr(columns(line, 13, 18), 111111);
      record.setupValue[1] = numberOr(columns(line, 20, 25), 110000);
      record.setupValue[2] = numberOr(columns(line, 27, 32), 0);
      record.setupComment = std::string(line.size() >= 38 ? line.substr(37) : std::string_view{});
      record.setupKind = record.setupValue[1] >= 10 ? 8 : 7;
      DecodeSetup(io, record.setupKind, record.setupValue[0], record.setupValue[1],
                  record.setupValue[2]);
      found = true;
    } else if (columns(line, 4, 5) == "CN") {
      const int n = numberOr(columns(line, 6, 7), 1);
      if (n >= 1 && n <= 10) {
        io.cnName[n - 1] = std::string(line.size() >= 9 ? line.substr(8) : std::string_view{});
      }
    }
  }
  return found;
}

std::vector<std::string> replaceCSourceHeader(const std::vector<std::string>& source,
                                              const std::vector<std::string>& header) {
  size_t keepFrom = 0;
  bool afterInclude = false;
  for (size_t i = 0; i < source.size(); ++i) {
    if (startsWith(source[i], "#include")) {
      afterInclude = true;
    } else if (afterInclude && startsWith(source[i], "//--------")) {
      keepFrom = i + 1;
      break;
    }
  }
  std::vector<std::string> out(header);
  out.insert(out.end(), source.begin() + static_cast<std::ptrdiff_t>(keepFrom), source.end());
  return out;
}

}  // namespace kavel
