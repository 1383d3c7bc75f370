#include <gtest/gtest.h>

#include "core/model/RepeatCount.h"

using namespace kavel;

TEST(RepeatCount, TypedTextGivesALimitedCount) {
  struct Case {
    const char* text;
    int count;
  } cases[] = {
      {"10", 10},     {"0", 0},     {"100", 100},   {"250", 100},  {"-3", 0},
      {"+7", 7},      {" 12 ", 12}, {"007", 7},     {"", 0},       {"abc", 0},
      {"12x", 0},     {"1 2", 0},   {"-", 0},       {"1e2", 0},    {"99999999999999999999", 100},
      {"-99999999999999999999", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(repeatCountFromText(c.text), c.count) << '"' << c.text << '"';
}

TEST(RepeatCount, StoredCountsAreLimited) {
  EXPECT_EQ(clampRepeatCount(-1), 0);
  EXPECT_EQ(clampRepeatCount(55), 55);
  EXPECT_EQ(clampRepeatCount(1000), 100);
}
