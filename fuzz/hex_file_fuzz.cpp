// Any file as a HEX image: the reader must refuse or accept it without crashing, and what it
// accepts must be records the boot loader can take.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/comm/HexFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const kavel::HexReadResult r = kavel::parseHexFile(std::string_view(reinterpret_cast<const char*>(data), size));
  if (r.ok) {
    if (r.image.records.empty() || r.image.records.back().type != 1) __builtin_trap();
    for (const kavel::HexRecord& rec : r.image.records) {
      if (rec.line.empty() || rec.line[0] != ':' || rec.endOffset > size) __builtin_trap();
    }
  } else if (r.error.empty()) {
    __builtin_trap();
  }
  return 0;
}
