// Each limit of the combined hazard curves: a flow on it belongs to the class, one just beyond it to the next.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "results/envelopes/HazardClass.hpp"

using results::hazardClassOf;

static double above(double x) { return std::nextafter(x, 100.0); }

TEST(HazardClass, EachLimitHoldsOnItAndFailsJustBeyond) {
  struct Case {
    double depth, speed;
    int expected;
  };
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const Case cases[] = {
      {0.3, 1.0, 1},         {above(0.3), 0.5, 2},  {0.1, 2.0, 1},         {0.1, above(2.0), 5},
      {0.5, 1.2, 2},         {0.5, above(1.2), 4},  {above(0.5), 0.1, 3},  {1.2, 0.5, 3},
      {above(1.2), 0.1, 4},  {1.0, 1.0, 4},         {1.0, above(1.0), 5},  {2.0, 0.5, 4},
      {above(2.0), 0.1, 5},  {1.0, 4.0, 5},         {1.0, above(4.0), 6},  {4.0, 1.0, 5},
      {above(4.0), 0.1, 6},  {2.0, 2.0, 5},         {0.25, 1.2, 1},        {0.25, above(1.2), 2},
      {nan, 1.0, 0},         {1.0, nan, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(hazardClassOf(c.depth, c.speed), c.expected) << c.depth << " " << c.speed;
}
