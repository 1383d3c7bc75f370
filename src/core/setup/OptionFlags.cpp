#include "core/setup/OptionFlags.h"

namespace kavel {

void clearOptionFlags(IoSetup& io, ProductVariant variant) {
  const bool interrupt = io.interruptInUse;
  io = IoSetup{io.cnMode, io.cnName};
  io.useLcd = lcdByVariant(variant);
  io.interruptInUse = interrupt;
}

}  // namespace kavel
