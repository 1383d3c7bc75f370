// The message file reader on any bytes; what it read, written and read again, stays the same.

#include <cstdint>
#include <memory>
#include <string>

#include "FuzzFile.h"
#include "core/i18n/MessageTable.h"

using namespace kavel;

namespace {

bool sameColumn(const MessageTable& a, const MessageTable& b, int language) {
  for (int n = 0; n < MessageTable::kEntries; ++n) {
    if (a.text(language, n) != b.text(language, n)) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string in = fuzz::inputFile("in.Txt", data, size);
  // On the heap: clang 14 crashes evaluating a local table's initialiser.
  auto first = std::make_unique<MessageTable>();
  if (!first->load(1, in)) return 0;
  const std::string out = fuzz::scratchFolder() + "out.Txt";
  fuzz::require(first->write(1, out));
  auto second = std::make_unique<MessageTable>();
  fuzz::require(second->load(1, out));
  fuzz::require(second->write(1, out));
  auto third = std::make_unique<MessageTable>();
  fuzz::require(third->load(1, out));
  fuzz::require(sameColumn(*second, *third, 1));
  return 0;
}
