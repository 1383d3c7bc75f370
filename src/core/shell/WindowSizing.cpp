#include "core/shell/WindowSizing.h"

#include <algorithm>

namespace kavel {

WindowSize newProgramWindowSize(int areaWidth, int areaHeight, int x, int y) {
  const int width = areaWidth - x;
  WindowSize s;
  s.width = std::max(width - width / 10, 0);
  s.height = std::max(areaHeight - areaHeight / 8 - y, 0);
  return s;
}

WindowSize resizedProgramWindow(int areaWidth, int areaHeight, const WindowSize& window) {
  WindowSize s = window;
  if (areaWidth < window.width) {
    s.width = areaWidth / 9 * 8;
  } else if (window.width < areaWidth * 2 / 3) {
    s.width = areaWidth / 12 * 11;
  }
  if (areaHeight < window.height) {
    s.height = areaHeight / 5 * 4;
  } else if (window.height < areaHeight * 2 / 3) {
    s.height = areaHeight / 7 * 6;
  }
  return s;
}

}  // namespace kavel
