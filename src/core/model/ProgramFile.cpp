#include "core/model/ProgramFile.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string_view>

#include "core/i18n/MessageTable.h"
#include "core/model/ProgramFileLines.h"
#include "core/model/ProgramSet.h"
#include "core/model/StatementKind.h"
#include "core/settings/AppSettings.h"
#include "core/setup/IoSetup.h"
#include "core/setup/SetupCodec.h"
#include "core/text/Encoding.h"
#include "core/text/Format.h"
#include "core/text/TextFile.h"

namespace kavel {
namespace {

using text::format;

constexpr std::string_view kConversionVersion = "20140707";

constexpr const char* kOldVersionJa[] = {
    "\xE3\x81\x93\xE3\x81\xAE\xE3\x83\x97\xE3\x83\xAD\xE3\x82\xB0\xE3\x83\xA9\xE3\x83\xA0\xE3\x81\xAF"
    "2014\xE5\xB9\xB4\xE4\xBB\xA5\xE5\x89\x8D\xE3\x81\xAE\xE6\x97\xA7\xE3\x83\x90\xE3\x83\xBC\xE3\x82\xB8"
    "\xE3\x83\xA7\xE3\x83\xB3\xE3\x81\xA7\xE4\xBD\x9C\xE6\x88\x90\xE3\x81\x95\xE3\x82\x8C\xE3\x81\x9F"
    "\xE3\x82\x82\xE3\x81\xAE\xE3\x81\xA7\xE3\x81\x99\xE3\x80\x82\xE3\x81\x93\xE3\x81\xAE\xE3\x81\xBE"
    "\xE3\x81\xBE\xE9\x96\x8B\xE3\x81\x8F\xE3\x81\xA8\xE6\x96\xB0\xE3\x83\x90\xE3\x83\xBC\xE3\x82\xB8"
    "\xE3\x83\xA7\xE3\x83\xB3\xE5\xAF\xBE\xE5\xBF\x9C\xE3\x81\xAE\xE3\x82\x82\xE3\x81\xAE\xE3\x81\xAB"
    "\xE5\xA4\x89\xE6\x8F\x9B\xE3\x81\x95\xE3\x82\x8C\xE3\x81\xBE\xE3\x81\x99\xE3\x80\x82",
    "\xE6\x97\xA7\xE3\x83\x90\xE3\x83\xBC\xE3\x82\xB8\xE3\x83\xA7\xE3\x83\xB3\xE3\x81\xA7\xE9\x96\x8B"
    "\xE3\x81\x8F\xE4\xBA\x88\xE5\xAE\x9A\xE3\x81\x8C\xE3\x81\x82\xE3\x82\x8B\xE5\xA0\xB4\xE5\x90\x88"
    "\xE3\x81\xAF\xE3\x80\x81\xE7\xB7\xA8\xE9\x9B\x86\xE3\x82\x92\xE4\xB8\xAD\xE6\xAD\xA2\xE3\x81\x97"
    "\xE3\x81\xA6\xE3\x80\x81\xE3\x83\x90\xE3\x83\x83\xE3\x82\xAF\xE3\x82\xA2\xE3\x83\x83\xE3\x83\x97"
    "\xE3\x82\x92\xE4\xBD\x9C\xE6\x88\x90\xE3\x81\x97\xE3\x81\xA6\xE3\x81\x8B\xE3\x82\x89\xE9\x96\x8B"
    "\xE3\x81\x8D\xE7\x9B\xB4\xE3\x81\x97\xE3\x81\xA6\xE4\xB8\x8B\xE3\x81\x95\xE3\x81\x84\xE3\x80\x82",
    "\xE3\x80\x8C\xE3\x81\xAF\xE3\x81\x84\xE3\x80\x8D\xE3\x81\xA7\xE9\x96\x8B\xE3\x81\x8F\xE3\x80\x81"
    "\xE3\x80\x8C\xE3\x81\x84\xE3\x81\x84\xE3\x81\x88\xE3\x80\x8D\xE3\x81\xA7\xE4\xB8\xAD\xE6\xAD\xA2"
    "\xE3\x81\x97\xE3\x81\xBE\xE3\x81\x99\xE3\x80\x82",
};
constexpr const char* kOldVersionEn[] = {
    "This program was built using a pre-2014 version of Kavel.",
    "If you click 'Yes', this program will be updated to be compatible with this newer version of Kavel.",
    "If you want to back up your program, click 'No' to return to the main screen.",
};

std::string oldVersionQuestion(int language) {
  const auto& lines = language == 0 ? kOldVersionJa : kOldVersionEn;
  return std::string(lines[0]) + "\r\n" + lines[1] + "\r\n" + lines[2];
}

// Keeps each value inside its six columns so that one odd value cannot shift the fields of
// its line.
int fitValue(int v) { return std::clamp(v, -99999, 999999); }
int fitKind(int k) { return std::clamp(k, -9, 99); }

// Longest text a comment, name or title may bring into its line: with the longest row prefix
// (51 bytes) and the line end, the line still fits the reader's line buffer, even when the file
// is written in UTF-8, the longer of the two encodings.
constexpr std::size_t kMaxLineText = 450;

// A comment is one line of the file: a line break inside it would start a new line, a NUL
// would make the file look binary, and a line longer than the reader's buffer would be split
// into a second line that fails to read, so the whole program would be lost on the next load.
std::string oneLine(std::string s) {
  std::replace_if(s.begin(), s.end(), [](char c) { return c == '\r' || c == '\n' || c == '\0'; }, ' ');
  if (s.size() > kMaxLineText) {
    std::size_t cut = kMaxLineText;
    while (cut > 0 && (static_cast<unsigned char>(s[cut]) & 0xC0) == 0x80) --cut;  // whole characters only
    s.resize(cut);
  }
  return s;
}

void appendRowLine(std::string& out, int number, int sno, int cno, int v0, int v1, int v2, const std::string& cmt) {
  char buffer[64];
  const int n = std::snprintf(buffer, sizeof buffer, "[%04d]:sno:%02d,cno:%02d,val:%06d-%06d-%06d,cmt:", number,
                              fitKind(sno), fitKind(cno), fitValue(v0), fitValue(v1), fitValue(v2));
  out.append(buffer, static_cast<std::size_t>(std::max(n, 0)));
  out += oneLine(cmt);
  out += "\r\n";
}

void raiseFlags(const Statement& row, IoSetup& io, const AppSettings& settings, const ProgramFileHooks& hooks) {
  switch (row.sno) {
    case kContinue:
    case kCCode:
      io.advancedMode = true;
      break;
    case kSubCall:
      io.advancedMode = true;
      if (row.val0 == 30) io.interruptInUse = true;
      break;
    case kPwm:
      io.useMcb = true;
      io.advancedMode = true;
      break;
    case kServo:
      io.servoInUse = true;
      break;
    case kOutput:
      io.outputInUse = true;
      break;
    case kLcd:
      io.useLcd = true;
      if (hooks.setLcdButton) hooks.setLcdButton(true);
      if (settings.variant < 3) io.advancedMode = true;
      break;
    case kGamePadTest:
      io.useSnx4410 = true;
      io.advancedMode = true;
      break;
    default:
      break;
  }
  if (row.cno == kOutput) io.outputInUse = true;
}

// Variable rows of files before 20140707 used a shorter operand list.
void convertOldVariable(Statement& row) {
  const int t = row.val0 / 10 % 100;
  if (t > 16) row.val0 += 100;
  if (row.cno == kVariableItem) {
    if (row.val1 < 5) {
      row.val1 += 26;
    } else if (row.val1 <= 20) {
      row.val1 -= 4;
    } else {
      row.val1 += 10;
    }
  }
}

// Text of a field of the file. A UTF-8 file's bytes are taken as they stand, so that a name
// that is no valid UTF-8 (a file name from another system) comes back byte for byte and still
// names its file; Shift-JIS is converted, and bytes it does not know make the line damaged.
std::optional<std::string> fieldText(std::string_view bytes, text::FileEncoding encoding) {
  if (encoding == text::FileEncoding::Utf8) return std::string(bytes);
  std::string s = text::cp932ToUtf8(bytes);
  if (s.find("\xEF\xBF\xBD") != std::string::npos) return std::nullopt;  // U+FFFD: no Shift-JIS there
  return s;
}

constexpr const char* kNotText = "it holds bytes that are neither Shift-JIS nor UTF-8 text";

bool isBlank(std::string_view line) {
  return std::all_of(line.begin(), line.end(), [](char c) { return c == ' ' || c == '\t'; });
}

// Why a file that does not open (or is no file) cannot be read, and whether it may still be a
// program file that is just not there.
ProgramFileResult openFailure(const std::string& path, const std::string& openPath, const std::string& why) {
  ProgramFileResult result;
  result.error = why;
  struct stat st {};
  if (::stat(openPath.c_str(), &st) == 0 && !S_ISDIR(st.st_mode)) {
    result.outcome = ProgramFileOutcome::NotProgram;
    if (S_ISREG(st.st_mode) && static_cast<unsigned long long>(st.st_size) > kMaxProgramFileBytes) {
      result.error = openPath + " is too large to be a Kavel program file.";
    } else if (S_ISREG(st.st_mode)) {
      result.outcome = ProgramFileOutcome::CannotOpen;  // it may be one that is not readable now
    }
  }
  if (openPath != path && ::stat(path.c_str(), &st) != 0) result.error += "; there is no file " + path + " either.";
  return result;
}

}  // namespace

std::string programFileText(const Program& program, const ProgramFileContext& context) {
  // A line break in a file name would end the title line early and take the version marker
  // with it, and every later load would convert the rows again.
  std::string out = "Title:" + oneLine(program.caption() + " " + context.mainWindowTitle) + "\r\n";
  for (int n = 1; n <= 10; ++n) {
    out += format("CN%02d:", n) + oneLine(context.io.cnName[static_cast<std::size_t>(n - 1)]) + "\r\n";
  }
  const SetupRecord& setup = context.setup;
  out.reserve(out.size() + 64 * (program.size() + 1));
  appendRowLine(out, 0, kSetup, setup.setupKind, setup.setupValue[0], setup.setupValue[1], setup.setupValue[2],
                setup.setupComment);
  int number = 1;
  for (const Statement& row : program.rows()) {
    appendRowLine(out, number++, row.sno, row.cno, row.val0, row.val1, row.val2, row.cmt);
  }
  return out;
}

bool writeProgramFile(Program& program, const std::string& path, const ProgramFileContext& context,
                      std::string* error) {
  const std::string previousName = program.titleName;
  program.titleName = text::baseNameOf(path);
  if (!text::writeFileAtomic(path, text::encodeForFile(programFileText(program, context)), error)) {
    program.titleName = previousName;
    program.statusText = "Can't Save ... " + path;
    return false;
  }
  program.statusText = path;
  program.path = path;
  return true;
}

std::string programFilePath(const std::string& path) {
  if (!text::extensionOf(path).empty()) return path;
  const std::string withExtension = path + std::string(kProgramFileExtension);
  struct stat st {};
  if (::stat(withExtension.c_str(), &st) != 0 && ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode)) return path;
  return withExtension;
}

ProgramFileResult readProgramFile(Program& program, const std::string& path, ProgramFileContext& context,
                                  const ProgramFileHooks& hooks) {
  const std::string openPath = programFilePath(path);
  std::string bytes;
  std::string why;
  if (!text::readFileBytes(openPath, bytes, &why, kMaxProgramFileBytes)) {
    program.statusText = "Can't Open ... " + path;
    return openFailure(path, openPath, why);
  }
  return readProgramText(program, bytes, path, context, hooks);
}

ProgramFileResult readProgramText(Program& program, std::string_view bytes, const std::string& path,
                                  ProgramFileContext& context, const ProgramFileHooks& hooks) {
  ProgramFileResult result;
  if (const std::string why = notAProgramFile(bytes); !why.empty()) {
    result.outcome = ProgramFileOutcome::NotProgram;
    result.error = path + " " + why + ".";
    program.statusText = "Can't Open ... " + path;
    return result;
  }
  const std::string openPath = programFilePath(path);
  const auto encoding = text::detectEncoding(bytes);
  const auto lines = splitProgramLines(text::withoutBom(bytes));

  AppSettings& settings = context.settings;
  IoSetup& io = context.io;
  if (hooks.beforeClear) hooks.beforeClear(program);
  program.clear();
  program.statusText = path;
  if (hooks.setSetupButton) hooks.setSetupButton(false);
  if (settings.variant < 3) {
    io.useLcd = false;
    if (hooks.setLcdButton) hooks.setLcdButton(false);
  }

  const std::string title = text::decode(lines[0].substr(0, kMaxProgramLine), encoding);
  // Only the title's start names the program; a Sub's file name may hold any text.
  const bool mainFile = title.starts_with("Title:Main");

  int warning = 0;
  if (title.find("QV7B") != std::string::npos) {
    warning = 0;
  } else if (title.find("QV7-UP") != std::string::npos) {
    warning = 138;
  } else if (title.find("QV7") != std::string::npos) {
    warning = 139;
  } else if (title.find("ZN4") != std::string::npos) {
    warning = 140;
  }
  if (warning != 0 && !context.messages(warning).empty() && hooks.productWarning) {
    hooks.productWarning(context.messages(warning));
  }

  const std::size_t ver = title.find("Ver.");
  const std::string version = ver == std::string::npos ? std::string() : title.substr(ver + 4, 8);
  const bool oldFile = version < kConversionVersion;
  if (oldFile && hooks.askOldVersion &&
      !hooks.askOldVersion(context.messages(44), oldVersionQuestion(context.messages.language()))) {
    result.outcome = ProgramFileOutcome::Declined;
    return result;
  }

  program.titleName = text::baseNameOf(path);
  program.path = openPath;

  // The rows read so far stay; the program no longer matches its file.
  const auto stop = [&](std::size_t index, const std::string& reason) {
    result.outcome = ProgramFileOutcome::Damaged;
    result.stoppedAt = index + 1;
    const std::size_t last = lines.size();
    result.error = format("Line %zu of %s: %s. Reading stopped there: %s not read.", index + 1, path.c_str(),
                          reason.c_str(),
                          index + 1 == last ? "that line was"
                                            : format("lines %zu to %zu were", index + 1, last).c_str());
    program.modified = true;
  };

  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string_view line = lines[i];
    if (line.size() > kMaxProgramLine) {
      stop(i, format("it is longer than %zu bytes, more than a line of a program file holds", kMaxProgramLine));
      break;
    }
    if (i == 0 || isBlank(line)) continue;
    std::string why;
    if (line.starts_with("CN")) {
      // Only a Main file's CN01 to CN10 name connectors; other CN lines carry nothing.
      const std::optional<ConnectorLine> cn = parseConnectorLine(line);
      if (!cn || !mainFile) continue;
      const std::optional<std::string> name = fieldText(cn->name, encoding);
      if (!name) {
        stop(i, kNotText);
        break;
      }
      io.cnName[static_cast<std::size_t>(cn->number - 1)] = *name;
      continue;
    }
    if (!line.starts_with("[")) {
      stop(i, "it is not a line of a Kavel program file (" + quoted(line, encoding) + ")");
      break;
    }

    const std::optional<RowLine> fields = parseRowLine(line, encoding, why);
    if (!fields) {
      stop(i, why);
      break;
    }
    const std::optional<std::string> cmt = fieldText(fields->cmt, encoding);
    if (!cmt) {
      stop(i, kNotText);
      break;
    }
    Statement row;
    row.sno = fields->sno;
    row.cno = fields->cno;
    row.val0 = fields->val0;
    row.val1 = fields->val1;
    row.val2 = fields->val2;
    row.cmt = *cmt;

    if (row.sno == kSetup) {
      if (mainFile) {
        context.setup.setupKind = row.cno;
        context.setup.setupValue = {row.val0, row.val1, row.val2};
        context.setup.setupComment = row.cmt;
      }
      DecodeSetup(io, row.cno, row.val0, row.val1, row.val2);
      const auto& values = context.setup.setupValue;
      if (values[0] != 111111 || values[1] != 110000) {
        if (hooks.setSetupButton) hooks.setSetupButton(true);
      } else if (settings.SetupDef == 1) {
        if (hooks.setSetupButton) hooks.setSetupButton(false);
      }
      if (!line.starts_with("[0000]")) program.modified = true;
    } else {
      if (program.size() >= Program::kMaxRows) {
        stop(i, format("the program already holds %zu rows, the most a program can hold", Program::kMaxRows));
        break;
      }
      switch (row.sno) {
        case kEnd:
          row.val0 = row.val1 = row.val2 = 0;
          row.cmt.clear();
          break;
        case kIf:
        case kElseIf:
        case kWhile:
        case kVariable:
          if (oldFile && (row.cno == kVariable || row.cno == kVariableItem)) convertOldVariable(row);
          break;
        case kElse:
        case kContinue:
        case kBreak:
          row.cno = 0;
          row.val0 = row.val1 = row.val2 = 0;
          row.cmt.clear();
          break;
        default:
          break;
      }
      raiseFlags(row, io, settings, hooks);
      program.appendRow(std::move(row));
    }
    if (hooks.processEvents) hooks.processEvents();
  }

  if (io.outputInUse || io.servoInUse || io.advancedMode) {
    if (hooks.setSetupButton) hooks.setSetupButton(true);
  }
  if (result.outcome == ProgramFileOutcome::Damaged) return result;
  result.ok = true;
  result.outcome = ProgramFileOutcome::Read;
  return result;
}

}  // namespace kavel
