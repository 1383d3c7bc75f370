#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/editor/ProgramStatus.h"

using namespace kavel;

TEST(ProgramStatus, PanelsByStyleStateAndRows) {
  MessageTable m;
  m.setText(1, 77, "Saved");
  m.setText(1, 78, "Modified");
  m.setLanguage(1);
  struct Case {
    const char* name;
    ProgramStatusInput in;
    ProgramStatusTexts want;
  };
  const std::vector<Case> cases = {
      {"empty and new", {false, 0, false, 0, 1, 1, ""}, {"", "", ""}},
      {"a failure in an empty window stays", {false, 0, false, 0, 1, 1, "Can't Open ... /x.Kvl"},
       {"", "", "Can't Open ... /x.Kvl"}},
      {"saved rows", {false, 3, false, 1, 1, 1, "/u/a.Kvl"}, {"P:2/3", "Saved", "/u/a.Kvl"}},
      {"modified rows", {true, 3, false, 0, 1, 1, "/u/a.Kvl"}, {"P:1/3", "Modified", "/u/a.Kvl"}},
      {"modified and emptied", {true, 0, false, 0, 1, 1, ""}, {"P:0/0", "Modified", ""}},
      {"selection past the end clamps", {false, 2, false, 5, 1, 1, ""}, {"P:2/2", "Saved", ""}},
      {"C-code caret", {true, 4, true, 0, 12, 3, "/u/a.c"}, {"    12:  3", "Modified", "/u/a.c"}},
  };
  for (const Case& c : cases) {
    const ProgramStatusTexts got = programStatusTexts(c.in, m);
    EXPECT_EQ(got.position, c.want.position) << c.name;
    EXPECT_EQ(got.state, c.want.state) << c.name;
    EXPECT_EQ(got.file, c.want.file) << c.name;
  }
}
