#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>

#include "core/monitor/ChartHistory.h"
#include "core/monitor/ChartScale.h"

using namespace kavel;

namespace {

using Values = std::array<std::optional<double>, ChartHistory::kConnectors>;

Values only(std::size_t c, std::optional<double> v) {
  Values values{};
  values[c] = v;
  return values;
}

}  // namespace

TEST(ChartHistory, KeepsTheNewestSamplesOnceFullAndNeverGrows) {
  ChartHistory h(4);
  for (int i = 0; i < 11; ++i) h.add(i * 100, only(0, i));
  ASSERT_EQ(h.size(), 4u);
  EXPECT_EQ(h.capacity(), 4u);
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(h.at(i).atMs, static_cast<std::int64_t>((7 + i) * 100)) << i;
    EXPECT_EQ(h.at(i).value[0], 7.0 + i) << i;
  }
  EXPECT_EQ(h.newest(), 1000);
  h.clear();
  EXPECT_EQ(h.size(), 0u);
  EXPECT_FALSE(h.newest());
  h.add(5, only(1, 2.5));
  EXPECT_EQ(h.at(0).value[1], 2.5);
}

TEST(ChartHistory, FindsTheStartOfTheWindowAcrossTheRingsWrap) {
  ChartHistory h(8);
  for (int i = 0; i < 13; ++i) h.add(i * 10, only(0, i));  // keeps 50 .. 120
  struct Case {
    std::int64_t from;
    std::size_t index;
  } cases[] = {{0, 0}, {50, 0}, {51, 1}, {95, 5}, {120, 7}, {121, 8}};
  for (const Case& c : cases) EXPECT_EQ(h.firstAtOrAfter(c.from), c.index) << "from " << c.from;
}

TEST(ChartHistory, ATimeGoingBackIsHeldAtTheNewestSoTheOrderStays) {
  ChartHistory h(4);
  h.add(100, only(0, 1));
  h.add(90, only(0, 2));
  EXPECT_EQ(h.at(1).atMs, 100);
  EXPECT_EQ(h.firstAtOrAfter(100), 0u);
}

TEST(ChartHistory, RangeSkipsMissingValuesAndOlderSamples) {
  ChartHistory h(16);
  h.add(0, only(2, -40));
  h.add(10, only(2, 7));
  h.add(20, only(2, std::nullopt));  // a thermistor's "--"
  h.add(30, only(2, 3));
  const auto r = h.range(2, 5);
  ASSERT_TRUE(r);
  EXPECT_EQ(r->low, 3);
  EXPECT_EQ(r->high, 7);
  EXPECT_FALSE(h.range(3, 0)) << "a connector without values";
  EXPECT_FALSE(h.range(2, 31)) << "nothing after the last sample";
  EXPECT_FALSE(h.range(10, 0)) << "no eleventh connector";
}

TEST(ChartScale, RoundsTheEndsToWholeReadableSteps) {
  struct Case {
    double low, high;
    double axisLow, axisHigh, step;
  } cases[] = {
      {0, 100, 0, 100, 20},      // percent
      {3, 97, 0, 100, 20},
      {0, 1, 0, 1, 0.2},         // HIGH / LOW
      {21, 34, 20, 35, 5},       // centimetres
      {-12, 47, -20, 60, 20},
      {50, 50, 40, 60, 10},      // flat: one step of room each side
      {0, 0, -0.2, 0.2, 0.2},
      {34, 21, 20, 35, 5},       // ends given the wrong way round
  };
  for (const Case& c : cases) {
    const ChartAxis a = chartAxis(c.low, c.high);
    EXPECT_DOUBLE_EQ(a.step, c.step) << c.low << ".." << c.high;
    EXPECT_NEAR(a.low, c.axisLow, 1e-9) << c.low << ".." << c.high;
    EXPECT_NEAR(a.high, c.axisHigh, 1e-9) << c.low << ".." << c.high;
  }
}

TEST(ChartScale, UnitsAndTheRangeEachKindIsSeenAgainst) {
  struct Case {
    MonitorValueKind kind;
    std::string unit;
    double low, high;
  } cases[] = {
      {MonitorValueKind::HighLow, "", 0, 1},      {MonitorValueKind::Percent, "%", 0, 100},
      {MonitorValueKind::ServoPercent, "%", 0, 100}, {MonitorValueKind::Distance, "cm", 0, 0},
      {MonitorValueKind::Temperature, "\u2103", 0, 0},
  };
  for (const Case& c : cases) {
    const ChartUnit u = chartUnit(c.kind);
    EXPECT_EQ(u.unit, c.unit) << c.unit;
    EXPECT_EQ(u.low, c.low) << c.unit;
    EXPECT_EQ(u.high, c.high) << c.unit;
  }
}
