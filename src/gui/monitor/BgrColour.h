#pragma once
// Colours are kept as 0x00BBGGRR (red in the low byte), as the settings file stores them.

#include <QColor>

#include <cstdint>

namespace kavel::gui {

inline QColor fromBgr(std::uint32_t bgr) { return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF); }

inline std::uint32_t toBgr(const QColor& c) {
  return static_cast<std::uint32_t>(c.red()) | static_cast<std::uint32_t>(c.green()) << 8 |
         static_cast<std::uint32_t>(c.blue()) << 16;
}

}  // namespace kavel::gui
