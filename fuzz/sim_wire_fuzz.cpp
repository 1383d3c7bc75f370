// Any bytes from a simulated program's process: the client's reading of the channel must take
// whole messages or say the stream is broken, and read every snapshot without crashing.

#include <cstddef>
#include <cstdint>
#include <string>

#include "sim/SimWire.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string stream(reinterpret_cast<const char*>(data), size);
  kavel::sim::WireMessage m;
  bool broken = false;
  while (kavel::sim::takeMessage(stream, m, broken)) {
    kavel::sim::SimSnapshot s;
    if (kavel::sim::decodeSnapshot(m.payload, s)) {
      // What was read writes out and reads back the same.
      kavel::sim::SimSnapshot again;
      if (!kavel::sim::decodeSnapshot(kavel::sim::encodeSnapshot(s).substr(5), again)) __builtin_trap();
    }
    kavel::sim::WireReader r(m.payload);
    r.u8();
    r.i64();
    r.text();
  }
  if (broken && stream.size() < 4) __builtin_trap();
  return 0;
}
