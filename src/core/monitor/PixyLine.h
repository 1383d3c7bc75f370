#pragma once
// The camera monitor's reading of a "#Pixy:" line: up to seven blocks of 20 characters, each
// a signature and a box in camera pixels, turned into boxes on the 708 x 468 camera field
// (the camera's 320 x 200 pixels drawn at scale 2 from (32, 32)) and a status text.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kavel {

inline constexpr int kCameraFieldWidth = 708;
inline constexpr int kCameraFieldHeight = 468;
inline constexpr int kCameraOrigin = 32;  // where camera pixel (0, 0) lands
inline constexpr int kPixyMaxBlocks = 7;

struct PixyBox {
  int signature = 0;  // 1..7
  int left = 0, right = 0, top = 0, bottom = 0;
  std::uint32_t colour = 0;  // 0x00BBGGRR, the signature's colour
  bool operator==(const PixyBox&) const = default;
};

struct PixyFrame {
  std::vector<PixyBox> boxes;
  std::string status;  // "[%d]x:%3d(w:%3d), y:%3d(h:%3d) " per box
};

/// Reads the blocks from position 7 (counted from 1) while a block starts inside the line, at
/// most seven. A block holds five three-digit fields at offsets 0, 4, 8, 12 and 16: signature,
/// centre x and y, width and height; fields that are not numbers read 0. A signature of 0 (or
/// not a number) ends the list. A signature outside 1..7 has no colour: that block is skipped.
/// left = 2x - w + 32, right = left + 2w, top = 2y - h + 32, bottom = top + 2h; the colour is
/// colours[signature - 1].
PixyFrame readPixyLine(std::string_view line, const std::array<std::uint32_t, 7>& colours);

}  // namespace kavel
