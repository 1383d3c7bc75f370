#include <gtest/gtest.h>

#include "core/shell/ShellTexts.h"
#include "core/shell/WindowSizing.h"

using namespace kavel;

TEST(WindowSizing, NewWindowAndResizing) {
  EXPECT_EQ(newProgramWindowSize(1000, 800, 0, 0), (WindowSize{900, 700}));
  EXPECT_EQ(newProgramWindowSize(1000, 800, 100, 20), (WindowSize{810, 680}));
  EXPECT_EQ(newProgramWindowSize(10, 10, 50, 50), (WindowSize{0, 0}));

  struct Case {
    const char* what;
    int areaW, areaH;
    WindowSize window, expected;
  };
  const Case cases[] = {
      {"fits: unchanged", 900, 600, {700, 500}, {700, 500}},
      {"wider than the area", 900, 600, {1000, 500}, {800, 500}},
      {"narrower than two thirds", 900, 600, {500, 500}, {825, 500}},
      {"higher than the area", 900, 600, {700, 700}, {700, 480}},
      {"lower than two thirds", 900, 700, {700, 300}, {700, 600}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(resizedProgramWindow(c.areaW, c.areaH, c.window), c.expected) << c.what;
  }
}

TEST(ShellTexts, CloseQuestionBreaksBeforeTheQuotedYes) {
  EXPECT_EQ(closeQuestionText("Main - [ A ]", " has changed. \"Yes\" saves it.", 1),
            "Main - [ A ] has changed.\n\"Yes\" saves it.");
  EXPECT_EQ(closeQuestionText("Sub-2 [ B ]", " \u306f\u5909\u66f4\u3002\u300c\u306f\u3044\u300d\u3067\u4fdd\u5b58", 0),
            "Sub-2 [ B ] \u306f\u5909\u66f4\u3002\n\u300c\u306f\u3044\u300d\u3067\u4fdd\u5b58");
  // Without the quoted Yes of the current language the text stays one line.
  EXPECT_EQ(closeQuestionText("Main - [ A ]", " changed. \"Yes\" saves.", 0), "Main - [ A ] changed. \"Yes\" saves.");
  EXPECT_EQ(closeQuestionText("T", "", 1), "T");
}

TEST(ShellTexts, StatusPositions) {
  EXPECT_EQ(rowPositionText(3, 10), "P:3/10");
  EXPECT_EQ(rowPositionText(11, 10), "P:10/10");
  EXPECT_EQ(rowPositionText(1, 0), "P:0/0");
}
