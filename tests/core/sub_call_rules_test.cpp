#include <gtest/gtest.h>

#include "core/model/StatementKind.h"
#include "core/model/SubCallRules.h"

using namespace kavel;

namespace {

void addCall(ProgramSet& set, int program, int n, const std::string& name) {
  Statement s;
  s.sno = s.cno = kSubCall;
  s.val0 = n;
  s.cmt = name;
  set[program].appendRow(s);
}

}  // namespace

TEST(SubCallRules, NamesAndPicks) {
  EXPECT_EQ(programNameOf("/home/u/prog/Grab.Kvl"), "Grab");
  EXPECT_EQ(programNameOf("Grab"), "Grab");
  EXPECT_EQ(programNameOf("/a.b/Grab"), "Grab");
  EXPECT_EQ(programNameOf("/x/.hidden"), ".hidden");

  EXPECT_EQ(checkSubPick("/p/Main.Kvl", "/p/Main.Kvl", ""), SubPick::MainAsSub);
  EXPECT_EQ(checkSubPick("/p/Grab.Kvl", "/p/Main.Kvl", "Grab"), SubPick::InsideItself);
  EXPECT_EQ(checkSubPick("/p/Grab.Kvl", "/p/Main.Kvl", ""), SubPick::Accepted);
  EXPECT_EQ(checkSubPick("/p/Grab.Kvl", "", "Turn"), SubPick::Accepted) << "an unsaved Main matches nothing";

  ProgramSet set;
  addCall(set, 0, 1, "Grab");
  EXPECT_TRUE(mainCallsName(set, "Grab"));
  EXPECT_FALSE(mainCallsName(set, "Turn"));
  EXPECT_FALSE(mainCallsName(set, ""));
}

TEST(SubCallRules, NumbersStayWithinOneToThirty) {
  ProgramSet set;
  addCall(set, 0, 1, "a");
  addCall(set, 0, 3, "b");
  addCall(set, 0, 45, "damaged");
  struct Case {
    const char* name;
    int inProgram, row;
    std::string file;
    int number;
  } cases[] = {
      {"a file Main calls shares its number", 0, -1, "b", 3},
      {"a new file takes the first free number", 0, -1, "c", 2},
      {"an empty name too", 0, -1, "", 2},
      {"the edited row's own number is free", 0, 0, "c", 1},
      {"a number outside 1..30 is not shared", 0, -1, "damaged", 2},
      {"in a Sub, a file Main calls", 4, -1, "a", 1},
      {"in a Sub, one above Main's highest valid call", 4, -1, "new", 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(subNumberFor(set, c.inProgram, c.row, c.file), c.number);
  }

  ProgramSet full;
  for (int n = 1; n <= 30; ++n) addCall(full, 0, n, "f" + std::to_string(n));
  EXPECT_EQ(subNumberFor(full, 0, -1, "more"), 0) << "no number is free: never 31";
  EXPECT_EQ(subNumberFor(full, 0, -1, "f7"), 7);
  EXPECT_EQ(subNumberFor(full, 2, -1, "more"), 0);
}

TEST(SubCallRules, PlansTheCall) {
  ProgramSet set;
  addCall(set, 0, 1, "Grab");
  addCall(set, 0, 2, "Turn");  // the row being edited, index 1
  struct Case {
    const char* name;
    int oldNumber;
    std::string oldName;
    int bufferNumber;
    std::string newName;
    bool interrupt, edit;
    SubCallPlan plan;
  } cases[] = {
      {"unchanged call", 2, "Turn", 2, "Turn", false, false, {2, 0, false, false}},
      {"unchanged call opened for editing", 2, "Turn", 2, "Turn", false, true, {2, 0, true, true}},
      {"another file Main calls", 2, "Turn", 2, "Grab", false, false, {1, 2, false, false}},
      {"a new file", 2, "Turn", 2, "Walk", false, true, {2, 2, true, true}},
      {"no file: an empty Sub opens", 0, "", 0, "", false, false, {2, 0, true, false}},
      {"made the interrupt routine", 2, "Turn", 2, "Turn", true, true, {30, 2, true, true}},
      {"stays the interrupt routine", 30, "Turn", 30, "Turn", true, false, {30, 0, false, false}},
      {"no longer the interrupt routine", 30, "Turn", 0, "Turn", false, false, {2, 30, false, false}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(planSubCall(set, 0, 1, c.oldNumber, c.oldName, c.bufferNumber, c.newName, c.interrupt, c.edit), c.plan);
  }
}
