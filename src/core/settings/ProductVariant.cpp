#include "core/settings/ProductVariant.h"

namespace kavel {
namespace {

constexpr std::array<const char*, 10> kGlentNames{"RA0", "RA1", "RA2", "RA3", "RA5",
                                                  "RB2", "RB3", "RB1:RED", "RB4", "RB0:GRN"};
constexpr std::array<const char*, 10> kQv7bNames{"Ball", "Line", "L-Touch", "R-Touch", "C-Touch",
                                                 "",     "",     "",        "RED3",    "RED2"};
constexpr std::array<const char*, 10> kWrenletNames{"Ball", "Line", "L-Touch", "R-Touch", "",
                                                    "",     "",     "",        "RED3",    "RED2"};
constexpr std::array<int, 10> kGlentModes{1, 1, 1, 1, 1, 1, 1, 0, 1, 0};
constexpr std::array<int, 10> kBoardModes{1, 1, 1, 1, 1, 1, 1, 1, 0, 0};

const VariantInfo kVariants[5] = {
    {"Glent", "User_Glent/", "Glent.jpg", "Glnt_Wallpaper.jpg", "MORVANE_Logo.jpg", 0xC0DCC0, 1,
     kGlentNames, kGlentModes},
    {"QV7B", "User_QV7B/", "QV7B-FW.jpg", "QV7B_Wallpaper.jpg", "MORVANE_Logo.jpg", 0xC0DCC0, 1,
     kQv7bNames, kBoardModes},
    {"QV7B-RX", "User_QV7B/", "QV7B-RX.jpg", "QV7B_Wallpaper.jpg", "RX_Logo.jpg", 0xC0DCC0, 1,
     kQv7bNames, kBoardModes},
    {"Wrenlet", "User_WL/", "WL-Core.jpg", "WLC_Wallpaper.jpg", "MORVANE_Logo.jpg", 0xC0DCC0, 0,
     kWrenletNames, kBoardModes},
    {"www.wrenlet-robotics.example", "User_WL/", "WL-Core.jpg", "WLV_Wallpaper.jpg",
     "WLV_Logo.jpg", 0xC0C0C0, 0, kWrenletNames, kBoardModes},
};

}  // namespace

std::string mainWindowTitle(std::string_view applicationTitle) {
  std::string title(applicationTitle);
  title += "  [ ";
  title += kVersionMarker;
  title += " ]";
  return title;
}

ProductVariant variantFromTitle(std::string_view title) {
  // Order matters: "Wrenlet CORE (V)" also contains "Wrenlet CORE".
  if (title.find("Glent") != std::string_view::npos) return 0;
  if (title.find("Wrenlet CORE (V)") != std::string_view::npos) return 4;
  if (title.find("Wrenlet CORE") != std::string_view::npos) return 3;
  if (title.find("QV7B-RX") != std::string_view::npos) return 2;
  return 1;
}

ProductVariant normalizedVariant(ProductVariant variant) {
  return variant >= 0 && variant <= 4 ? variant : 3;
}

const VariantInfo& variantInfo(ProductVariant variant) { return kVariants[normalizedVariant(variant)]; }

}  // namespace kavel
