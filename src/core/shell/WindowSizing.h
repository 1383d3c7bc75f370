#pragma once
// Sizes of the program windows inside the main window's client area.

namespace kavel {

struct WindowSize {
  int width = 0;
  int height = 0;
  bool operator==(const WindowSize&) const = default;
};

/// The size of a new program window placed at (x, y) in a child area of `areaWidth` x
/// `areaHeight`: the width left of x less 10 %, the height less an eighth less y.
WindowSize newProgramWindowSize(int areaWidth, int areaHeight, int x, int y);

/// The program window's size after the main window was resized, for a child area of
/// `areaWidth` x `areaHeight` (the client less the side panel): a window wider than the area
/// becomes 8/9 of it, one narrower than two thirds 11/12 of it; a window higher than the area
/// becomes 4/5 of it, one lower than two thirds 6/7 of it. Other sizes stay.
WindowSize resizedProgramWindow(int areaWidth, int areaHeight, const WindowSize& window);

}  // namespace kavel
