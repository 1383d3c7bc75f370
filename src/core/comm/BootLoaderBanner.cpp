#include "core/comm/BootLoaderBanner.h"

#include <array>

namespace kavel {
namespace {

struct BannerRow {
  std::string_view text;
  bool (*accepts)(ProductVariant, int mcu2620);
};

constexpr std::array<BannerRow, 8> kBanners{{
    {"Glent Loader2620", [](ProductVariant v, int) { return v == 0; }},
    {"QV7B Loader2620", [](ProductVariant v, int) { return v == 1 || v == 2; }},
    {"WL Loader2520", [](ProductVariant v, int m) { return (v == 3 || v == 4) && m == 0; }},
    {"WL-101 Loader2520", [](ProductVariant v, int m) { return (v == 3 || v == 4) && m == 0; }},
    {"WL Loader2620", [](ProductVariant v, int m) { return (v == 3 || v == 4) && m == 1; }},
    {"Loader2420", [](ProductVariant, int) { return false; }},
    {"Loader2520", [](ProductVariant, int) { return false; }},
    {"Loader2620", [](ProductVariant, int) { return false; }},
}};

}  // namespace

BannerMatch matchBootLoaderBanner(std::string_view line, ProductVariant variant, int mcu2620) {
  for (std::size_t i = 0; i < kBanners.size(); ++i) {
    if (line.find(kBanners[i].text) != std::string_view::npos) {
      return {static_cast<int>(i) + 1, kBanners[i].accepts(variant, mcu2620)};
    }
  }
  return {};
}

}  // namespace kavel
