#include <gtest/gtest.h>

#include "core/editor/RowClipboard.h"
#include "core/model/StatementKind.h"
#include "Statements.h"

using namespace kavel;
using kavel::testing::kinds;
using kavel::testing::levels;
using kavel::testing::programOf;

namespace {

Statement row(int sno, int cno = -1, int v0 = 0, std::string cmt = {}) {
  Statement s;
  s.sno = sno;
  s.cno = cno < 0 ? sno : cno;
  s.val0 = v0;
  s.cmt = std::move(cmt);
  return s;
}

}  // namespace

TEST(RowClipboard, CopyingABlockTakesItsRowsWithoutLevels) {
  // If / Wait / Else / While / Wait / End / End, then a motor row.
  Program p = programOf({row(kIf, kUnconditional), row(kWait, -1, 500), row(kElse, 0), row(kWhile, kUnconditional),
                    row(kWait), row(kEnd, kClosesWhile), row(kEnd, kClosesIfChain), row(kMotorForward, -1, 50)});
  RowClipboard clip;
  copyBlockToClipboard(p, 3, clip);
  ASSERT_EQ(clip.size(), 3u);
  EXPECT_EQ(clip[0].sno, kWhile);
  EXPECT_EQ(clip[2].cno, kClosesWhile);
  for (const Statement& s : clip) EXPECT_EQ(s.level, 0);

  copyBlockToClipboard(p, 7, clip);  // appends: a single row
  ASSERT_EQ(clip.size(), 4u);
  EXPECT_EQ(clip[3].val0, 50);

  copyBlockToClipboard(p, 99, clip);  // no such row
  EXPECT_EQ(clip.size(), 4u);
}

TEST(RowClipboard, PastingABlockRecomputesLevelsAndKeepsTheClipboard) {
  Program source = programOf({row(kIf, kUnconditional), row(kWait, -1, 500, "first"), row(kElse, 0), row(kEnd, kClosesIfChain)});
  RowClipboard clip;
  copyBlockToClipboard(source, 0, clip);

  Program target = programOf({row(kWhile, kUnconditional), row(kWait), row(kEnd, kClosesWhile)});
  ASSERT_EQ(pasteRows(target, 1, clip, 3), 4u);
  EXPECT_EQ(kinds(target), (std::vector<int>{kWhile, kIf, kWait, kElse, kEnd, kWait, kEnd}));
  EXPECT_EQ(levels(target), (std::vector<int>{0, 1, 2, 1, 1, 1, 0}));
  EXPECT_EQ(target.rows()[2].cmt, "first");
  EXPECT_EQ(target.rows()[2].val0, 500);
  EXPECT_EQ(target.rows()[3].cno, 0);               // Else takes no values
  EXPECT_EQ(target.rows()[4].cno, kClosesIfChain);  // End keeps its block kind
  EXPECT_EQ(clip.size(), 4u);

  // The same rows paste again, here after the last row.
  EXPECT_EQ(pasteRows(target, target.size(), clip, 3), 4u);
  EXPECT_EQ(target.size(), 11u);
}

TEST(RowClipboard, SubCallIntoItsOwnSubBecomesACommentedCCodeRow) {
  const Statement call = row(kSubCall, kSubCall, 3, "Grab");
  struct Case {
    int window;
    int sno;
    std::string cmt;
  };
  const Case cases[] = {{3, kCCode, "// Grab"}, {2, kSubCall, "Grab"}, {0, kSubCall, "Grab"}};
  for (const Case& c : cases) {
    const Statement s = pastedRow(call, c.window);
    EXPECT_EQ(s.sno, c.sno) << "window " << c.window;
    EXPECT_EQ(s.cmt, c.cmt) << "window " << c.window;
    if (s.sno == kCCode) {
      EXPECT_EQ(s.cno, kCCode);
      EXPECT_EQ(s.val0, 0);
    }
  }
  Program sub3(3);
  ASSERT_EQ(pasteRows(sub3, 0, {call}, 3), 1u);
  EXPECT_EQ(sub3.rows()[0].sno, kCCode);
  EXPECT_EQ(sub3.rows()[0].cmt, "// Grab");
}

TEST(RowClipboard, RefusedPastesLeaveTheProgramUnchanged) {
  const Program base = programOf({row(kWhile, kUnconditional), row(kWait), row(kEnd, kClosesWhile), row(kWait)});
  struct Case {
    const char* what;
    std::size_t at;
    RowClipboard clip;
    bool allowed;
  };
  const Case cases[] = {
      {"empty clipboard", 0, {}, false},
      {"ElseIf after the last row", 4, {row(kElseIf, kUnconditional)}, false},
      {"Else after the last row", 4, {row(kElse, 0)}, false},
      {"Break after the last row", 4, {row(kBreak, 0)}, false},
      {"Continue after the last row", 4, {row(kContinue, 0)}, false},
      {"Break inside the loop", 1, {row(kBreak, 0)}, true},
      {"Break outside any loop", 3, {row(kBreak, 0)}, false},
      {"ElseIf outside an if-chain", 1, {row(kElseIf, kUnconditional)}, false},
      {"plain row anywhere", 0, {row(kWait)}, true},
      {"plain row after the last row", 4, {row(kWait)}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Program p = base;
    EXPECT_EQ(pasteAllowed(p, c.at, c.clip), c.allowed);
    const std::size_t n = pasteRows(p, c.at, c.clip, 0);
    if (!c.allowed) {
      EXPECT_EQ(n, 0u);
      EXPECT_EQ(p.rows(), base.rows());
    }
  }
}

TEST(RowClipboard, APasteMayNotCarryAProgramPastItsRowLimit) {
  Program p;
  for (std::size_t i = 0; i < Program::kMaxRows - 1; ++i) p.appendRow(row(kWait));
  EXPECT_TRUE(pasteAllowed(p, 0, {row(kWait)}));
  EXPECT_FALSE(pasteAllowed(p, 0, {row(kWait), row(kWait)}));
  EXPECT_EQ(pasteRows(p, p.size(), {row(kWait), row(kWait)}, 0), 0u);
  EXPECT_EQ(p.size(), Program::kMaxRows - 1);
}
