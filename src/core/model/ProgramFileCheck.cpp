#include "core/model/ProgramFileCheck.h"

#include <sys/stat.h>

#include "core/i18n/MessageTable.h"
#include "core/model/ProgramSet.h"
#include "core/settings/AppSettings.h"
#include "core/setup/IoSetup.h"
#include "core/text/TextFile.h"

namespace kavel {
namespace {

using Verdict = ProgramFileCheck::Verdict;

ProgramFileCheck refuse(Verdict v, std::string reason) { return {v, std::move(reason)}; }

// Reads the file through the guarded reader. A file that does not open is left to the reader's
// own "Can't Open" report; one the guard refuses (a pipe, a device, too large) gets its reason.
ProgramFileCheck readChecked(const std::string& path, std::string& bytes) {
  std::string error;
  if (!text::readFileBytes(path, bytes, &error, kMaxProgramFileBytes)) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return refuse(Verdict::CannotOpen, {});
    if (S_ISREG(st.st_mode) && static_cast<unsigned long long>(st.st_size) > kMaxProgramFileBytes) {
      return refuse(Verdict::NotProgram, text::fileNameOf(path) + " is too large to be a Kavel program file.");
    }
    if (!S_ISREG(st.st_mode)) return refuse(Verdict::NotProgram, error);
    return refuse(Verdict::CannotOpen, {});
  }
  if (bytes.find('\0') != std::string::npos) {
    return refuse(Verdict::NotProgram,
                  text::fileNameOf(path) + " holds binary data; it is not a Kavel program file.");
  }
  return {};
}

}  // namespace

ProgramFileCheck checkProgramFile(const std::string& path, const ProgramFileContext& context) {
  const std::string openPath = text::extensionOf(path).empty() ? path + kProgramFileExtension : path;
  std::string bytes;
  if (ProgramFileCheck c = readChecked(openPath, bytes); c.verdict != Verdict::Ok) return c;
  const std::string name = text::fileNameOf(openPath);
  if (bytes.empty()) return refuse(Verdict::NotProgram, name + " is empty; it is not a Kavel program file.");
  // A byte-order mark in front of the title is what some editors add; the reader ignores it.
  const std::string_view head = std::string_view(bytes).starts_with("\xEF\xBB\xBF")
                                    ? std::string_view(bytes).substr(3)
                                    : std::string_view(bytes);
  if (!head.starts_with("Title:")) {
    return refuse(Verdict::NotProgram,
                  name + " is not a Kavel program file: its first line does not begin with \"Title:\".");
  }

  // A trial read on copies of everything the reader changes.
  AppSettings settings = context.settings;
  IoSetup io = context.io;
  SetupRecord setup = context.setup;
  ProgramFileContext trial{settings, io, setup, context.messages, context.mainWindowTitle};
  Program scratch;
  const ProgramFileResult r = readProgramFile(scratch, openPath, trial);
  if (!r.ok) return refuse(r.error.empty() ? Verdict::CannotOpen : Verdict::Damaged, r.error);
  return {};
}

ProgramFileCheck checkCodeFile(const std::string& path) {
  std::string bytes;
  return readChecked(path, bytes);
}

}  // namespace kavel
