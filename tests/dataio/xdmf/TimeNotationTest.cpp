#include <gtest/gtest.h>

#include <cmath>

#include "dataio/xdmf/TimeNotation.hpp"

using dataio::notationFor;
using dataio::TimeNotation;
using dataio::timeText;

// Ordinary runs keep "%f"; a document whose times it would merge or spell
// out in hundreds of digits writes them all in the shortest exact form.
TEST(TimeNotation, SixDecimalsUnlessTheyMergeTimesOrGrowTooLong) {
  const struct {
    std::vector<double> times;
    TimeNotation expected;
  } cases[] = {
      {{0.0, 10.0, 20.0}, TimeNotation::fixed},
      {{-10.0, 0.0, 1e-6, 999999999999999.9}, TimeNotation::fixed},
      {{}, TimeNotation::fixed},
      {{0.0, 1e-7, 2e-7}, TimeNotation::shortest},  // all three print 0.000000
      {{1.0000001, 1.0000004}, TimeNotation::shortest},
      {{0.0, 1e15}, TimeNotation::shortest},
      {{-1e300}, TimeNotation::shortest},
  };
  for (const auto& c : cases) EXPECT_EQ(notationFor(c.times), c.expected) << ::testing::PrintToString(c.times);
  EXPECT_EQ(timeText(12.5, TimeNotation::fixed), "12.500000");
  EXPECT_EQ(timeText(12.5, TimeNotation::shortest), "12.5");
  EXPECT_EQ(timeText(1e-7, TimeNotation::shortest), "1e-07");
  EXPECT_EQ(timeText(0.1 + 0.2, TimeNotation::shortest), "0.30000000000000004");
  EXPECT_EQ(timeText(1e300, TimeNotation::shortest), "1e+300");
}
