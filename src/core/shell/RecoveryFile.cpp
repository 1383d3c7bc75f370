#include "core/shell/RecoveryFile.h"

#include <charconv>
#include <cstdint>
#include <cstddef>
#include <optional>

#include "core/text/Format.h"
#include "core/text/TextFile.h"

namespace kavel {
namespace {

constexpr std::string_view kMagic = "Kavel recovery";

// FNV-1a: enough to tell a torn or edited text from the one written, with no dependency.
std::uint32_t checkSum(std::string_view bytes) {
  std::uint32_t h = 2166136261u;
  for (unsigned char c : bytes) {
    h ^= c;
    h *= 16777619u;
  }
  return h;
}

// A path is one header line: the line breaks and the escape character itself are written as
// %0A, %0D and %25, so any file name survives.
std::string escapePath(std::string_view path) {
  std::string out;
  for (char c : path) {
    if (c == '%') out += "%25";
    else if (c == '\n') out += "%0A";
    else if (c == '\r') out += "%0D";
    else out += c;
  }
  return out;
}

std::optional<std::string> unescapePath(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      out += text[i];
      continue;
    }
    const std::string_view code = text.substr(i + 1, 2);
    if (code == "25") out += '%';
    else if (code == "0A") out += '\n';
    else if (code == "0D") out += '\r';
    else return std::nullopt;
    i += 2;
  }
  return out;
}

template <typename T>
std::optional<T> number(std::string_view text, int base = 10) {
  T v{};
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v, base);
  if (ec != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
  return v;
}

// Takes the next header line "Name: value" off `rest`; nullopt when the line is missing or
// carries another name.
std::optional<std::string_view> field(std::string_view& rest, std::string_view name) {
  const std::size_t end = rest.find('\n');
  if (end == std::string_view::npos) return std::nullopt;
  std::string_view line = rest.substr(0, end);
  rest.remove_prefix(end + 1);
  if (!line.starts_with(name) || line.substr(name.size()).substr(0, 2) != ": ") return std::nullopt;
  return line.substr(name.size() + 2);
}

RecoveryRead damaged(std::string reason) {
  RecoveryRead r;
  r.verdict = RecoveryRead::Verdict::Damaged;
  r.reason = std::move(reason);
  return r;
}

}  // namespace

std::string recoveryWindowName(int window) { return window == 0 ? "Main" : text::format("Sub-%d", window); }

std::string recoveryFileBytes(const RecoveryFile& file) {
  std::string out;
  out += kMagic;
  out += "\n";
  out += text::format("Version: %d\n", RecoveryFile::kFormatVersion);
  out += file.window == 0 ? std::string("Window: Main\n") : text::format("Window: Sub %d\n", file.window);
  out += file.content == RecoveryFile::Content::CCode ? "Content: c-code\n" : "Content: rows\n";
  out += "Path: " + escapePath(file.originalPath) + "\n";
  out += text::format("Length: %zu\n", file.text.size());
  out += text::format("Check: %08x\n", checkSum(file.text));
  out += "\n";
  out += file.text;
  return out;
}

RecoveryRead parseRecoveryFile(std::string_view bytes) {
  std::string_view rest = bytes;
  if (!rest.starts_with(kMagic) || rest.substr(kMagic.size(), 1) != "\n") {
    return damaged("it does not start as a recovery file");
  }
  rest.remove_prefix(kMagic.size() + 1);

  // The version comes first so that a later format can change everything after it.
  const auto version = field(rest, "Version");
  const auto versionNumber = version ? number<int>(*version) : std::nullopt;
  if (!versionNumber) return damaged("its format version is missing or unreadable");
  if (*versionNumber != RecoveryFile::kFormatVersion) {
    RecoveryRead r;
    r.verdict = RecoveryRead::Verdict::OtherVersion;
    r.reason = text::format("it was written in format version %d; this version restores format version %d",
                            *versionNumber, RecoveryFile::kFormatVersion);
    return r;
  }

  RecoveryFile file;
  const auto window = field(rest, "Window");
  if (!window) return damaged("the window line is missing");
  if (*window == "Main") {
    file.window = 0;
  } else if (window->starts_with("Sub ")) {
    const auto n = number<int>(window->substr(4));
    if (!n || *n < 1 || *n > 30) return damaged("the window line names no Sub program from 1 to 30");
    file.window = *n;
  } else {
    return damaged("the window line names neither Main nor a Sub program");
  }

  const auto content = field(rest, "Content");
  if (content == "rows") {
    file.content = RecoveryFile::Content::Rows;
  } else if (content == "c-code" && file.window == 0) {
    file.content = RecoveryFile::Content::CCode;
  } else {
    return damaged("the content line is missing or unknown");
  }

  const auto path = field(rest, "Path");
  const auto unescaped = path ? unescapePath(*path) : std::nullopt;
  if (!unescaped) return damaged("the path line is missing or garbled");
  file.originalPath = *unescaped;

  const auto length = field(rest, "Length");
  const auto check = field(rest, "Check");
  const std::size_t expectedLength = length ? number<std::size_t>(*length).value_or(SIZE_MAX) : SIZE_MAX;
  const std::optional<std::uint32_t> expectedSum =
      check && check->size() == 8 ? number<std::uint32_t>(*check, 16) : std::nullopt;
  if (expectedLength == SIZE_MAX || !expectedSum) return damaged("the length or check sum line is missing or unreadable");
  if (!rest.starts_with("\n")) return damaged("the header does not end where it should");
  rest.remove_prefix(1);
  if (rest.size() != expectedLength) {
    return damaged(text::format("its text is %zu bytes long instead of %zu (cut short or added to)", rest.size(),
                                expectedLength));
  }
  if (checkSum(rest) != expectedSum.value_or(0)) return damaged("its text does not match its check sum");
  file.text = std::string(rest);

  RecoveryRead r;
  r.verdict = RecoveryRead::Verdict::Ok;
  r.file = std::move(file);
  return r;
}

RecoveryRead readRecoveryFile(const std::string& path) {
  std::string bytes;
  std::string error;
  if (!text::readFileBytes(path, bytes, &error)) return damaged(error);
  return parseRecoveryFile(bytes);
}

bool writeRecoveryFile(const std::string& path, const RecoveryFile& file, std::string* error) {
  return text::writeFileAtomic(path, recoveryFileBytes(file), error);
}

}  // namespace kavel
