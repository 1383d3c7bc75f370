#include "core/editor/Placement.h"

#include <algorithm>

namespace kavel {
namespace {

// The distance from the layout origin to a point just below a row, with the heights of the
// window frames, menu and tool bar in between.
constexpr int kBelowRow = 150;
constexpr int kRightOfIcon = 92;
constexpr int kIconWidth = 80;
constexpr int kRowHeight = 30;
constexpr int kBottomMargin = 40;

}  // namespace

ScreenPoint dialogPosition(const LayoutOrigin& origin, int iconX, int iconY, int width, int height,
                           const ScreenArea& screen) {
  ScreenPoint p;
  p.y = origin.y + iconY + kBelowRow;
  p.x = origin.x + iconX + kRightOfIcon + origin.paletteWidth;
  if (p.y + height + kBottomMargin > screen.height) p.y = screen.height - height - kBottomMargin;
  if (p.x + width > screen.desktopWidth) {
    p.x = screen.desktopWidth - width;
  } else if (p.x < screen.desktopLeft) {
    p.x = screen.desktopLeft;
  }
  // A dialog taller than the screen keeps its title bar reachable.
  p.y = std::max(p.y, 0);
  return p;
}

ScreenPoint popupPositionForRow(const LayoutOrigin& origin, int iconX, int iconY) {
  return {origin.x + iconX + kIconWidth + origin.paletteWidth, origin.y + iconY + kBelowRow};
}

ScreenPoint popupPositionAfterLastRow(const LayoutOrigin& origin, int rowCount) {
  return {origin.x + kIconWidth + origin.paletteWidth, origin.y + rowCount * kRowHeight + kBelowRow};
}

int centredScrollPosition(int row, int visibleRows) { return std::max(row - visibleRows / 2, 0); }

}  // namespace kavel
