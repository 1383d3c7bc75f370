#pragma once
// The option modules of the I/O setup when the Setup option is off.

#include "core/settings/ProductVariant.h"
#include "core/setup/IoSetup.h"

namespace kavel {

/// Whether a variant's board carries the LCD without an option module (variants 3 and 4).
inline bool lcdByVariant(ProductVariant variant) { return variant > 2; }

/// With the Setup option off no option module is in use: every option flag of `io` is
/// cleared, the connector modes and names and the interrupt-routine flag stay, and `useLcd`
/// follows the variant.
void clearOptionFlags(IoSetup& io, ProductVariant variant);

}  // namespace kavel
