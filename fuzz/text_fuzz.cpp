// The text layer: line splitting, encoding detection and the write/read round trip.

#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzFile.h"
#include "core/text/Encoding.h"
#include "core/text/TextFile.h"

using namespace kavel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);

  const std::size_t buffer = size > 0 ? 2 + data[0] % 64 : 512;
  std::size_t total = 0;
  for (const std::string_view piece : text::splitLines(bytes, buffer)) {
    fuzz::require(piece.size() < buffer);
    fuzz::require(piece.find('\n') == std::string_view::npos);
    total += piece.size();
  }
  fuzz::require(total <= size);

  // Whatever a file holds reads as valid UTF-8, and that text written reads back unchanged.
  const std::string text = text::decodeFile(bytes);
  fuzz::require(text::isValidUtf8(text));
  fuzz::require(text::decodeFile(text::encodeForFile(text)) == text);

  // The same round trip for the bytes taken as UTF-8 text.
  const std::string asText = text::sanitizeUtf8(bytes);
  fuzz::require(text::decodeFile(text::encodeForFile(asText)) == asText);
  return 0;
}
