#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "core/model/Program.h"
#include "core/model/ProgramSet.h"
#include "core/text/Format.h"
#include "core/model/StatementKind.h"
#include "core/text/TextFile.h"
#include "Statements.h"
#include "TempFolder.h"

using namespace kavel;
using kavel::testing::kinds;
using kavel::testing::levels;

namespace {

// Builds a program row by row as the file reader does (levels by the creation rule).
Program make(std::initializer_list<int> kinds) {
  Program p;
  for (int k : kinds) {
    Statement s;
    s.sno = k;
    p.appendRow(s);
  }
  return p;
}

}  // namespace

TEST(Program, AutomaticRowsAndTheirLevels) {
  Program p;
  EXPECT_EQ(p.insertStatement(0, kIf), 0u);
  EXPECT_EQ(kinds(p), (std::vector<int>{kIf, kElse, kEnd}));
  EXPECT_EQ(levels(p), (std::vector<int>{0, 0, 0}));
  EXPECT_EQ(p.rows()[2].cno, kClosesIfChain);

  // A While inside the If's body, then a For inside the While.
  const std::size_t w = p.insertStatement(1, kWhile);
  EXPECT_EQ(w, 1u);
  EXPECT_EQ(p.rows()[2].cno, kClosesWhile);
  p.insertStatement(2, kFor);
  EXPECT_EQ(p.rows()[3].cno, kClosesFor);
  p.insertStatement(3, kWait);
  EXPECT_EQ(kinds(p), (std::vector<int>{kIf, kWhile, kFor, kWait, kEnd, kEnd, kElse, kEnd}));
  EXPECT_EQ(levels(p), (std::vector<int>{0, 1, 2, 3, 2, 1, 0, 0}));
  EXPECT_EQ(p.blockExtent(1), (std::pair<std::size_t, std::size_t>{1, 5}));
  EXPECT_EQ(p.blockExtent(0), (std::pair<std::size_t, std::size_t>{0, 7}));
  EXPECT_EQ(p.blockExtent(3), (std::pair<std::size_t, std::size_t>{3, 3}));
}

TEST(Program, BlockWithoutEndRunsToTheLastRow) {
  Program p = make({kWait, kWhile, kWait, kWait});
  EXPECT_EQ(p.blockExtent(1), (std::pair<std::size_t, std::size_t>{1, 3}));
}

TEST(Program, LevelsAfterRemoval) {
  // If / body / Else / body / End: deleting the Else moves its body up into the If branch.
  Program p = make({kIf, kWait, kElse, kWait, kEnd, kWait});
  EXPECT_EQ(levels(p), (std::vector<int>{0, 1, 0, 1, 0, 0}));
  p.removeRows(2, 1);
  EXPECT_EQ(kinds(p), (std::vector<int>{kIf, kWait, kWait, kEnd, kWait}));
  EXPECT_EQ(levels(p), (std::vector<int>{0, 1, 1, 0, 0}));

  // Removing a whole block leaves the rows below at the outer level.
  Program q = make({kWait, kWhile, kWait, kEnd, kWait});
  const auto [first, last] = q.blockExtent(1);
  q.removeRows(first, last - first + 1);
  EXPECT_EQ(levels(q), (std::vector<int>{0, 0}));

  // Removing an opener leaves its body and End at levels that never go below 0.
  Program r = make({kWhile, kWait, kEnd});
  r.removeRows(0, 1);
  EXPECT_EQ(levels(r), (std::vector<int>{0, 0}));
}

TEST(Program, InsertionAllowed) {
  //                 0    1      2      3      4     5      6     7
  Program p = make({kWait, kIf, kWait, kElse, kWait, kEnd, kWhile, kEnd});
  struct Case {
    std::size_t at;
    int kind;
    bool allowed;
    const char* why;
  } cases[] = {
      {3, kElseIf, true, "ElseIf on the Else of a chain"},
      {4, kElseIf, false, "ElseIf inside the Else body"},
      {1, kElseIf, false, "ElseIf on the If row itself"},
      {2, kElseIf, false, "ElseIf on a row of the If body (the new row would sit inside it)"},
      {5, kElseIf, false, "ElseIf on the End of a chain that already has its Else"},
      {3, kElse, false, "Else in front of an existing Else"},
      {0, kBreak, false, "Break above the first loop, though an End follows"},
      {6, kBreak, false, "Break on the While row itself"},
      {7, kBreak, true, "Break inside the While"},
      {7, kContinue, true, "Continue inside the While"},
      {8, kEnd, false, "appending an End"},
      {8, kElse, false, "appending an Else"},
      {8, kBreak, false, "appending a Break"},
      {8, kWait, true, "appending a Wait"},
      {0, kSetup, true, "Setup at row 0"},
      {1, kSetup, false, "Setup below row 0"},
      {5, kMotorForward, true, "motor anywhere"},
  };
  for (const auto& c : cases) EXPECT_EQ(p.insertionAllowed(c.at, c.kind), c.allowed) << c.why;

  Program chain = make({kIf, kWait, kElseIf, kWait, kEnd});
  EXPECT_TRUE(chain.insertionAllowed(4, kElse)) << "Else on the End of a chain without one";
  EXPECT_FALSE(chain.insertionAllowed(2, kElse)) << "Else in front of an ElseIf of the chain";
  EXPECT_TRUE(chain.insertionAllowed(4, kElseIf)) << "ElseIf on the End after an ElseIf";
  EXPECT_FALSE(chain.insertionAllowed(3, kElse)) << "Else on a body row";

  Program nested = make({kWhile, kWhile, kWait, kEnd, kEnd});
  EXPECT_FALSE(nested.insertionAllowed(1, kBreak)) << "Break on an inner While, even inside a loop";
}

TEST(Program, RowLimitCountsTheAutomaticRows) {
  Program p;
  for (int i = 0; i < 998; ++i) p.appendRow(Statement{});
  EXPECT_TRUE(p.insertionAllowed(998, kWait));
  EXPECT_TRUE(p.insertionAllowed(0, kWhile));
  EXPECT_FALSE(p.insertionAllowed(0, kIf)) << "three rows would exceed 1000";
  p.appendRow(Statement{});
  p.appendRow(Statement{});
  EXPECT_FALSE(p.insertionAllowed(1000, kWait));
  EXPECT_FALSE(p.insertionAllowed(0, kWait));
}

TEST(ProgramSet, CaptionsAndDefaultNames) {
  ProgramSet set;
  EXPECT_EQ(set.main().caption(), "Main - [ New ]");
  EXPECT_EQ(set[7].caption(), "Sub-7 [ New ]");
  EXPECT_TRUE(set.main().open);
  EXPECT_EQ(defaultFileName(3, "/nonexistent/"), "SubFile-03");

  // Other test runs share the temporary folder: a folder of this run's own, emptied first.
  const kavel::testing::TempFolder temp("kavel-default-names");
  const std::string dir = temp.str() + "/";
  for (int n : {0, 1, 3}) {
    ASSERT_TRUE(text::writeFileAtomic(dir + "NewFile-0" + std::to_string(n) + ".Kvl", "x"));
  }
  EXPECT_EQ(defaultFileName(0, dir), "NewFile-02");
  EXPECT_EQ(nextNewFileNumber(dir), 2);

  // All 100 taken: the previous number stays.
  for (int n = 0; n < 100; ++n) {
    ASSERT_TRUE(text::writeFileAtomic(dir + text::format("NewFile-%02d.Kvl", n), "x"));
  }
  EXPECT_EQ(nextNewFileNumber(dir, 17), 17);
  EXPECT_EQ(defaultFileName(0, dir, 17), "NewFile-17");
  std::filesystem::remove_all(dir);
}

TEST(ProgramSet, SubNumberForFile) {
  ProgramSet set;
  auto addCall = [&](int program, int n, const std::string& file) {
    Statement s;
    s.sno = s.cno = kSubCall;
    s.val0 = n;
    s.cmt = file;
    set[program].appendRow(s);
  };
  addCall(0, 1, "a.Kvl");
  addCall(0, 3, "b.Kvl");
  EXPECT_EQ(set.subNumberForFile(0, "b.Kvl"), 3);
  EXPECT_EQ(set.subNumberForFile(0, "c.Kvl"), 2);
  EXPECT_EQ(set.subNumberForFile(0, ""), 2);
  addCall(5, 4, "x.Kvl");
  EXPECT_EQ(set.subNumberForFile(5, "y.Kvl"), 4) << "in a Sub, one above Main's highest call";
  EXPECT_EQ(set.subNumberForFile(5, "a.Kvl"), 1) << "a file Main already calls keeps its number";

  // No number beyond Sub-30: 0 tells the caller to refuse (the program set has no Sub-31).
  addCall(0, 99, "damaged.Kvl");
  EXPECT_EQ(set.subNumberForFile(0, "damaged.Kvl"), 2) << "a damaged call's number is not taken over";
  for (int n = 2; n <= 30; ++n) {
    if (n != 3) addCall(0, n, "s" + std::to_string(n) + ".Kvl");
  }
  EXPECT_EQ(set.subNumberForFile(0, "new.Kvl"), 0);
  addCall(7, 30, "isr.Kvl");
  EXPECT_EQ(set.subNumberForFile(7, "other.Kvl"), 0);
}

TEST(ProgramSet, SaveEnabledFollowsOpenSubs) {
  ProgramSet set;
  EXPECT_FALSE(set.saveEnabled());
  set[4].open = true;
  set[4].modified = true;
  EXPECT_TRUE(set.saveEnabled()) << "Main current, a modified Sub is open";
  set.current = 2;
  EXPECT_FALSE(set.saveEnabled());
}
