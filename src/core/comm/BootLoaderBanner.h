#pragma once
// The boot-loader banners a download recognises, and which product and microcontroller each
// one belongs to.

#include <string_view>

#include "core/settings/ProductVariant.h"

namespace kavel {

struct BannerMatch {
  int row = 0;            // 1..8 in the table's order; 0 when the line holds no banner
  bool accepted = false;  // the banner fits the variant and MCU2620_
  bool named() const { return row >= 1 && row <= 5; }  // rows that name a product
};

/// Tests `line` against the banner table in its order (substring tests); the first row that
/// matches decides. Bare "Loader2420", "Loader2520" and "Loader2620" are never accepted.
BannerMatch matchBootLoaderBanner(std::string_view line, ProductVariant variant, int mcu2620);

}  // namespace kavel
