#include <gtest/gtest.h>

#include <vector>

#include "core/shell/PrintLayout.h"

using kavel::PrintLayout;
using kavel::PrintRect;
using Style = PrintLayout::Style;

namespace {

// A 2000 x 3000 pixel page at 300 dpi with a 50-pixel line: u = 2, margins 100 and 150.
PrintLayout statements() { return PrintLayout(Style::Statements, 2000, 3000, 300, 50); }
PrintLayout code() { return PrintLayout(Style::Code, 2000, 3000, 300, 50); }

}  // namespace

TEST(PrintLayout, UnitIsA150DpiDotAndNeverZero) {
  const struct {
    int dpi;
    int unit;
  } cases[] = {{0, 1}, {72, 1}, {150, 1}, {299, 1}, {300, 2}, {600, 4}, {1200, 8}};
  for (const auto& c : cases) {
    EXPECT_EQ(PrintLayout(Style::Statements, 1000, 1000, c.dpi, 10).unit(), c.unit) << c.dpi << " dpi";
  }
}

TEST(PrintLayout, MarginsAreFivePercentOfThePage) {
  const PrintLayout l = statements();
  EXPECT_EQ(l.left(), 100);
  EXPECT_EQ(l.right(), 1900);
  EXPECT_EQ(l.top(), 150);
  EXPECT_EQ(l.bottom(), 2850);
  EXPECT_EQ(l.headerY(), 50);    // two lines above the top margin
  EXPECT_EQ(l.footerY(), 2900);  // one line below the bottom margin
  EXPECT_EQ(l.rightTextEdge(), 1890);
}

TEST(PrintLayout, StatementRowsStackFromBelowTheHeader) {
  const PrintLayout l = statements();
  EXPECT_EQ(l.rowHeight(), 50 + 16 * 2);
  EXPECT_EQ(l.iconWidth(), 82 * 80 / 30);
  EXPECT_EQ(l.rowTop(0), 150 + 3 * 2 + 8);
  EXPECT_EQ(l.rowTop(1), 164 + 82);
  EXPECT_EQ(l.textY(164), 164 + 8 * 2);
}

TEST(PrintLayout, RowBoxesFollowTheLabelAndIndent) {
  const PrintLayout l = statements();
  const PrintRect icon = l.iconBox(164, 60, 2);
  // left + label + level * i/2 + 24; boxes end 3u before the next row.
  EXPECT_EQ(icon, (PrintRect{100 + 60 + 218 + 24, 164, 218, 82 - 6}));
  // Inset u + (i - h*52/28)/2 + 1 across, u + 1 down.
  EXPECT_EQ(l.glyphRect(icon), (PrintRect{402 + 36, 164 + 3, 218 - 72, 76 - 6}));
  const PrintRect text = l.textBox(icon, 300, 40);
  EXPECT_EQ(text, (PrintRect{402 + 218 + 4, 164, 300 + 80, 76}));
  EXPECT_EQ(l.textX(text, 40), 624 + 40);
}

TEST(PrintLayout, GridRunsEveryHalfIconFromTheFirstColumnToTheRightMargin) {
  const std::vector<int> xs = statements().gridLines(60);
  ASSERT_EQ(xs.size(), 16u);
  EXPECT_EQ(xs.front(), 100 + 60 + 24);
  EXPECT_EQ(xs[1] - xs[0], 109);
  EXPECT_LE(xs.back(), 1900);
  EXPECT_GT(xs.back() + 109, 1900);
}

TEST(PrintLayout, PagesHoldWholeRowsOnly) {
  const PrintLayout l = statements();
  EXPECT_EQ(l.rowsPerPage(), (2850 - 164) / 82);  // 32
  const struct {
    int rows;
    int pages;
  } cases[] = {{0, 1}, {1, 1}, {32, 1}, {33, 2}, {64, 2}, {70, 3}};
  for (const auto& c : cases) EXPECT_EQ(l.pageCount(c.rows), c.pages) << c.rows << " rows";
  // The last row of a page ends above the bottom margin; one more would pass it.
  EXPECT_LE(l.rowTop(l.rowsPerPage() - 1) + l.rowHeight(), l.bottom());
  EXPECT_GT(l.rowTop(l.rowsPerPage()) + l.rowHeight(), l.bottom());
}

TEST(PrintLayout, CodeLinesAreLowerAndSitCloserToTheirTop) {
  const PrintLayout l = code();
  EXPECT_EQ(l.rowHeight(), 50 + 8 * 2);
  EXPECT_EQ(l.textY(164), 164 + 4 * 2);
  EXPECT_EQ(l.codeTextX(60), 100 + 60 + 24);
  EXPECT_EQ(l.rowsPerPage(), (2850 - 164) / 66);  // 40
  EXPECT_EQ(l.pageCount(70), 2);
}

TEST(PrintLayout, AFontTallerThanThePageStillAdvancesOneRowPerPage) {
  const PrintLayout l(Style::Statements, 2000, 3000, 300, 5000);
  EXPECT_EQ(l.rowsPerPage(), 1);
  EXPECT_EQ(l.pageCount(3), 3);
}
