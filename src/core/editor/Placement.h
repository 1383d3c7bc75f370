#pragma once
// Where the program window puts the statement dialogs and its edit popup menu, and how far it
// scrolls to show a row. Positions are in screen pixels.

namespace kavel {

/// Screen position of the program window's layout area: the main window's position plus the
/// program window's position plus the layout area's (scrolled) position. `paletteWidth` is the
/// side panel's palette width when the panel is docked on the left, else 0.
struct LayoutOrigin {
  int x = 0;
  int y = 0;
  int paletteWidth = 0;
};

struct ScreenPoint {
  int x = 0;
  int y = 0;
  bool operator==(const ScreenPoint&) const = default;
};

/// The screen the dialog must stay on.
struct ScreenArea {
  int height = 0;       // screen height
  int desktopLeft = 0;  // left edge of the desktop
  int desktopWidth = 0;
};

/// Top-left of a statement dialog of `width` x `height` opened for the row whose icon button is
/// at (iconX, iconY) in the layout area: below and right of the icon, moved back onto the screen.
ScreenPoint dialogPosition(const LayoutOrigin& origin, int iconX, int iconY, int width, int height,
                           const ScreenArea& screen);

/// Where the edit popup menu of a row opens: beside its icon button.
ScreenPoint popupPositionForRow(const LayoutOrigin& origin, int iconX, int iconY);

/// Where the edit popup menu opens for the position after the last row (`rowCount`).
ScreenPoint popupPositionAfterLastRow(const LayoutOrigin& origin, int rowCount);

/// The vertical scroll position (in rows) that centres row `row` in a view showing
/// `visibleRows` rows: row - visibleRows / 2, at least 0.
int centredScrollPosition(int row, int visibleRows);

}  // namespace kavel
