// The C source of the C-code edit style: the header scan and the header replacement.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzFile.h"
#include "core/setup/CSourceHeader.h"
#include "core/setup/IoSetup.h"
#include "core/text/Encoding.h"
#include "core/text/TextFile.h"

using namespace kavel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const text::FileEncoding encoding = text::detectEncoding(bytes);
  std::vector<std::string> lines;
  for (std::string_view l : text::splitLines(text::withoutBom(bytes), bytes.size() + 2)) {
    lines.push_back(text::decode(l, encoding));
  }
  IoSetup io;
  SetupRecord record;
  (void)readSetupFromCSource(lines, io, record);
  const std::vector<std::string> header = setupHeaderLines(record, io);
  const std::vector<std::string> replaced = replaceCSourceHeader(lines, header);
  // No user code is ever dropped: every line after the old header is still there.
  fuzz::require(replaced.size() >= header.size());
  IoSetup io2;
  SetupRecord record2;
  fuzz::require(readSetupFromCSource(replaced, io2, record2));
  return 0;
}
