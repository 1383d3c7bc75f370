#include "driver/cmdline.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "driver/reader.h"

namespace kcc8 {

int mode = -1;
bool processor_specified = false;
int procedural_abstraction_count = 4;
std::string Part_Name;
poptContext s_option_context = nullptr;
std::string toolpath;

namespace {

constexpr int kExtended = 256;
constexpr int kNoExtended = 257;
constexpr int kProcessor = 'p';

int s_processorOptions = 0;

bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool equalsIgnoringCase(const std::string& a, const char* b) {
  const size_t n = std::strlen(b);
  if (a.size() != n) return false;
  for (size_t i = 0; i < n; ++i) {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

bool isProcessorOption(const char* option) { return option != nullptr && std::strcmp(option, "-p") == 0; }

void reportConflict() {
  std::fputs("Cannot specify both the --extended and --no-extended command-line options\n", stderr);
}

bool takeProcessor() {
  bool ok = true;
  // popt hands over a copy of the option's text; it is ours to release.
  char* text = poptGetOptArg(s_option_context);
  Part_Name = text ? strstrip(text) : "";
  std::free(text);

  if (ReadResource(Part_Name.c_str(), toolpath.c_str()) != 0) {
    std::fputs("Part not supported or error in resource file\n", stderr);
    std::exit(1);
  }
  processor_specified = true;
  if (++s_processorOptions == 2) {
    std::fputs("The -p option may only be specified once\n", stderr);
    ok = false;
  }
  if (!equalsIgnoringCase(GetFamilyName(), "18xxxx")) {
    std::fprintf(stderr, "Processor family '%s' is not supported by the Compiler\n",
                 GetFamilyName().c_str());
    std::exit(1);
  }
  return ok;
}

}  // namespace

struct poptOption options_table[] = {
    {"extended", '\0', POPT_ARG_NONE, nullptr, kExtended, "generate extended mode code", nullptr},
    {"no-extended", '\0', POPT_ARG_NONE, nullptr, kNoExtended, "generate non-extended mode code",
     nullptr},
    {"pa", '\0', POPT_ARG_INT | POPT_ARGFLAG_ONEDASH, &procedural_abstraction_count, 0,
     "Set procedural abstraction repeat count (default = 4)", "<repeat count>"},
    {nullptr, 'p', POPT_ARG_STRING, nullptr, kProcessor, "Set processor (default is generic)",
     "<processor>"},
    POPT_TABLEEND};

bool cmd_init(int argc, char** argv) {
  mode = -1;
  processor_specified = false;
  procedural_abstraction_count = 4;
  Part_Name.clear();
  s_processorOptions = 0;
  cmd_free();

  s_option_context = poptGetContext(nullptr, argc, const_cast<const char**>(argv), options_table, 0);
  if (s_option_context) poptSetOtherOptionHelp(s_option_context, "[options] file [options]");
  return s_option_context != nullptr;
}

bool cmd_parse_args() {
  if (!s_option_context) return false;
  bool result = true;
  for (;;) {
    const int code = poptGetNextOpt(s_option_context);
    if (code == -1) return result;
    // A -p without its processor name at the end of the line would build for no processor
    // at all; the user meant to name one.
    if (code == POPT_ERROR_NOARG && isProcessorOption(poptBadOption(s_option_context, 0))) {
      std::fputs("Option -p needs a processor name (for example -p 18F2620)\n", stderr);
      result = false;
      continue;
    }
    // popt's other complaints (unknown option, missing or bad argument) are the compiler's
    // business: the argument travels on unchanged.
    if (code <= 0) continue;
    switch (code) {
      case kExtended:
        if (mode == 1) {
          reportConflict();
          result = false;
        } else {
          mode = 0;
        }
        break;
      case kNoExtended:
        if (mode == 0) {
          reportConflict();
          result = false;
        } else {
          mode = 1;
        }
        break;
      case kProcessor:
        if (!takeProcessor()) result = false;
        break;
      default:
        std::fputs("Unhandled argument\n", stderr);
        std::abort();
    }
  }
}

void cmd_free() {
  if (s_option_context) poptFreeContext(s_option_context);
  s_option_context = nullptr;
}

char* strstrip(char* text) {
  char* start = text;
  while (isBlank(*start)) ++start;
  size_t length = std::strlen(start);
  std::memmove(text, start, length + 1);
  while (length > 0 && isBlank(text[length - 1])) text[--length] = '\0';
  return text;
}

}  // namespace kcc8
