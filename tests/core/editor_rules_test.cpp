#include <gtest/gtest.h>

#include "core/editor/CodeEditing.h"
#include "core/editor/EditMenu.h"
#include "core/editor/Placement.h"
#include "core/model/StatementKind.h"

using namespace kavel;

namespace {

std::vector<Statement> clip(std::initializer_list<int> kinds) {
  std::vector<Statement> out;
  for (int k : kinds) out.push_back(Statement{k, 0, k, 0, 0, 0, {}});
  return out;
}

}  // namespace

TEST(EditMenu, EnablingByRowKindAndClipboard) {
  struct Case {
    const char* what;
    int kind;
    std::vector<Statement> clipboard;
    EditMenuState expected;  // changeCondition, cut, copy, paste, remove, discard, cancel
  };
  const Case cases[] = {
      {"plain row, empty clipboard", kWait, {}, {false, true, true, false, true, true, true}},
      {"plain row, rows on the clipboard", kWait, clip({kWait}), {false, true, true, true, true, true, true}},
      {"End row or after the last row", kEnd, clip({kWait}), {false, false, false, true, false, true, true}},
      {"End row, empty clipboard", kEnd, {}, {false, false, false, false, false, true, true}},
      {"If", kIf, {}, {true, true, true, false, true, true, true}},
      {"While", kWhile, clip({kFor, kEnd}), {true, true, true, true, true, true, true}},
      {"ElseIf, empty clipboard", kElseIf, {}, {true, true, true, false, true, true, true}},
      {"ElseIf, clipboard starts with an ElseIf", kElseIf, clip({kElseIf}), {true, true, true, true, true, true, true}},
      {"ElseIf, clipboard starts with another kind", kElseIf, clip({kWait, kElseIf}),
       {true, false, false, true, true, true, true}},
      {"Else", kElse, {}, {false, false, false, false, true, true, true}},
      {"For", kFor, {}, {false, true, true, false, true, true, true}},
  };
  for (const Case& c : cases) {
    const EditMenuState m = editMenuState(c.kind, c.clipboard);
    SCOPED_TRACE(c.what);
    EXPECT_EQ(m.changeCondition, c.expected.changeCondition);
    EXPECT_EQ(m.cut, c.expected.cut);
    EXPECT_EQ(m.copy, c.expected.copy);
    EXPECT_EQ(m.paste, c.expected.paste);
    EXPECT_EQ(m.remove, c.expected.remove);
    EXPECT_EQ(m.discard, c.expected.discard);
    EXPECT_EQ(m.cancel, c.expected.cancel);
  }
}

TEST(Placement, DialogBelowAndRightOfTheRowKeptOnTheScreen) {
  const ScreenArea screen{800, 0, 1280};
  struct Case {
    const char* what;
    LayoutOrigin origin;
    int iconX, iconY, width, height;
    ScreenPoint expected;
  };
  const Case cases[] = {
      {"room enough", {100, 50, 0}, 24, 68, 300, 200, {100 + 24 + 92, 50 + 68 + 150}},
      {"palette docked left adds its width", {100, 50, 136}, 24, 8, 300, 200, {100 + 24 + 92 + 136, 50 + 8 + 150}},
      {"too low: moved up to 40 above the screen's bottom", {0, 0, 0}, 24, 600, 300, 200, {116, 800 - 200 - 40}},
      {"too far right: right edge on the desktop's", {1000, 0, 0}, 64, 8, 300, 100, {1280 - 300, 158}},
      {"left of the desktop", {-500, 0, 0}, 24, 8, 300, 100, {0, 158}},
      {"taller than the screen keeps its top on it", {0, 0, 0}, 24, 8, 300, 900, {116, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(dialogPosition(c.origin, c.iconX, c.iconY, c.width, c.height, screen), c.expected);
  }
}

TEST(Placement, PopupMenuAndCentredScrolling) {
  EXPECT_EQ(popupPositionForRow({10, 20, 0}, 64, 38), (ScreenPoint{10 + 64 + 80, 20 + 38 + 150}));
  EXPECT_EQ(popupPositionForRow({10, 20, 136}, 24, 8), (ScreenPoint{10 + 24 + 80 + 136, 20 + 8 + 150}));
  EXPECT_EQ(popupPositionAfterLastRow({10, 20, 0}, 5), (ScreenPoint{90, 20 + 150 + 150}));
  EXPECT_EQ(centredScrollPosition(100, 20), 90);
  EXPECT_EQ(centredScrollPosition(3, 20), 0);
  EXPECT_EQ(centredScrollPosition(0, 0), 0);
}

TEST(CodeEditing, TabInsertsSpacesUpToTheNextStop) {
  struct Case {
    int column, tabWidth, spaces;
  };
  const Case cases[] = {
      {3, 4, 5}, {0, 4, 4}, {1, 4, 3}, {2, 4, 2}, {0, 2, 2}, {1, 2, 3}, {5, 2, 3},
      // A damaged tab width cannot divide by zero.
      {3, 0, 2}, {3, -4, 2},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(tabSpaces(c.column, c.tabWidth), c.spaces) << "column " << c.column << " width " << c.tabWidth;
  }
}

TEST(CodeEditing, EnterRepeatsTheLeadingSpaces) {
  EXPECT_EQ(leadingSpaces("    x = 1;"), "    ");
  EXPECT_EQ(leadingSpaces("x"), "");
  EXPECT_EQ(leadingSpaces("   "), "   ");
  EXPECT_EQ(leadingSpaces("\tx"), "");
}
