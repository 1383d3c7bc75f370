#pragma once
// The five product identities one build can take on. The variant is read from the
// application title at start and decides many defaults.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kavel {

using ProductVariant = int;  // 0..4

/// The application title of this build and the version marker the main window shows.
inline constexpr std::string_view kApplicationTitle = "MORVANE Kavel for Wrenlet CORE";
inline constexpr std::string_view kVersionMarker = "Ver.20190706";

/// "<title>  [ Ver.20190706 ]": the main window caption, also written into program files.
std::string mainWindowTitle(std::string_view applicationTitle = kApplicationTitle);

/// The variant a title selects (first match of "Glent", "Wrenlet CORE (V)", "Wrenlet CORE",
/// "QV7B-RX"; otherwise 1).
ProductVariant variantFromTitle(std::string_view title);

struct VariantInfo {
  const char* productLabel;
  const char* userFolder;  // relative to the program folder, ends with "/"
  const char* productImage;
  const char* wallpaperImage;
  const char* logoImage;
  std::uint32_t workspaceColour;  // 0x00BBGGRR
  int mcu2620;
  std::array<const char*, 10> connectorNames;  // CN1..CN10 defaults ("" for none)
  std::array<int, 10> connectorModes;          // CN1..CN10 defaults (ConnectorMode codes)
};

/// Fixed data of a variant; an index outside 0..4 gives the data of variant 3.
const VariantInfo& variantInfo(ProductVariant variant);

/// The variant itself when it is 0..4, else 3 (the variant this build runs as).
ProductVariant normalizedVariant(ProductVariant variant);

}  // namespace kavel
