// Any file as a world: the reader must refuse it with a message that names the file, or accept
// a world that it writes out and reads back the same.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "sim/WorldFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const kavel::sim::WorldReadResult r = kavel::sim::parseWorld(text, "w.json");
  if (!r.ok) {
    if (r.error.rfind("w.json:", 0) != 0) __builtin_trap();
    return 0;
  }
  const kavel::sim::WorldReadResult again = kavel::sim::parseWorld(kavel::sim::worldToJson(r.world), "again.json");
  if (!again.ok || !(again.world == r.world)) __builtin_trap();
  return 0;
}
