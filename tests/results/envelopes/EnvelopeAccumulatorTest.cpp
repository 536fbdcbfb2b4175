// The envelope reductions on a few cells whose values are worked out by hand.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <regex>
#include <string>
#include <vector>

#include "results/envelopes/EnvelopeAccumulator.hpp"
#include "support/FailureReport.hpp"

using results::EnvelopeAccumulator;
using results::Envelopes;
using results::HydraulicSlice;

namespace {

const double notANumber = std::numeric_limits<double>::quiet_NaN();

// The hydraulic state of every cell at one stored time. The speed is taken
// from the velocity, as the export's flow_velocity_abs gives it.
struct State {
  std::vector<double> depth;
  std::vector<double> surface;
  std::vector<double> velocityX;
  std::vector<double> velocityY;
  std::vector<double> speed;

  // Cells at rest on a flat bed at level 10.
  static State resting(const std::vector<double>& depths) {
    State state{depths, {}, std::vector<double>(depths.size(), 0.0), std::vector<double>(depths.size(), 0.0), {}};
    for (double h : depths) state.surface.push_back(10.0 + h);
    state.computeSpeed();
    return state;
  }

  State& velocity(std::size_t cell, double x, double y) {
    velocityX[cell] = x;
    velocityY[cell] = y;
    computeSpeed();
    return *this;
  }

  // A NaN water surface, as the export carries it on: NaN depth, velocity and
  // speed (a NaN depth is not below the dry threshold).
  State broken(std::size_t cell) const {
    State state = *this;
    for (std::vector<double>* column :
         {&state.depth, &state.surface, &state.velocityX, &state.velocityY, &state.speed}) {
      (*column)[cell] = notANumber;
    }
    return state;
  }

  void computeSpeed() {
    speed.clear();
    for (std::size_t i = 0; i < depth.size(); ++i) {
      speed.push_back(std::sqrt(velocityY[i] * velocityY[i] + velocityX[i] * velocityX[i]));
    }
  }

  HydraulicSlice slice(std::size_t first, std::size_t cells) const {
    return {first, cells, surface.data() + first, depth.data() + first, velocityX.data() + first,
            velocityY.data() + first, speed.data() + first};
  }
  HydraulicSlice all() const { return slice(0, depth.size()); }
};

// Cell 0 of the envelopes of one cell.
struct OneCell {
  double depthMax, depthTmax, surfaceMax, surfaceTmax, speedMax, speedTmax, atMaxX, atMaxY, atMaxZ, hazardMax,
      arrival, duration;
};

OneCell cell(const Envelopes& e, std::size_t i) {
  return {e.waterDepthMax[i], e.waterDepthTmax[i], e.waterSurfaceMax[i], e.waterSurfaceTmax[i],
          e.flowVelocityAbsMax[i], e.flowVelocityAbsTmax[i], e.flowVelocityAtMax[3 * i], e.flowVelocityAtMax[3 * i + 1],
          e.flowVelocityAtMax[3 * i + 2], e.depthVelocityMax[i], e.arrivalTime[i], e.wetDuration[i]};
}

Envelopes run(double wetDepth, const std::vector<std::pair<double, State>>& times) {
  EnvelopeAccumulator accumulator(times.front().second.depth.size(), wetDepth);
  for (const auto& [time, state] : times) accumulator.add(time, state.all());
  return accumulator.finish();
}

// NaN equals NaN here: the envelopes are compared value by value, bit for bit.
bool sameBits(const std::vector<double>& a, const std::vector<double>& b) {
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0;
}

void expectSameEnvelopes(const Envelopes& a, const Envelopes& b) {
  EXPECT_TRUE(sameBits(a.waterDepthMax, b.waterDepthMax));
  EXPECT_TRUE(sameBits(a.waterDepthTmax, b.waterDepthTmax));
  EXPECT_TRUE(sameBits(a.waterSurfaceMax, b.waterSurfaceMax));
  EXPECT_TRUE(sameBits(a.waterSurfaceTmax, b.waterSurfaceTmax));
  EXPECT_TRUE(sameBits(a.flowVelocityAbsMax, b.flowVelocityAbsMax));
  EXPECT_TRUE(sameBits(a.flowVelocityAbsTmax, b.flowVelocityAbsTmax));
  EXPECT_TRUE(sameBits(a.flowVelocityAtMax, b.flowVelocityAtMax));
  EXPECT_TRUE(sameBits(a.depthVelocityMax, b.depthVelocityMax));
  EXPECT_TRUE(sameBits(a.arrivalTime, b.arrivalTime));
  EXPECT_TRUE(sameBits(a.wetDuration, b.wetDuration));
}

// The check's message and the accumulator's source file, any line.
void expectRefusal(const std::string& report, const std::string& message) {
  const std::regex line(" -> " + message +
                        ", in file: src/results/envelopes/EnvelopeAccumulator\\.cpp on line [0-9]+, version v3\\.1\\.0\n");
  EXPECT_TRUE(std::regex_match(report, line)) << report;
}

}  // namespace

TEST(EnvelopeReductions, CellWetFromTheStart) {
  State first = State::resting({0.5});
  first.velocity(0, 0.3, 0.4);
  State second = State::resting({1.0});
  second.velocity(0, 0.6, -0.8);
  State third = State::resting({0.8});
  third.velocity(0, 0.0, 0.5);
  const OneCell c = cell(run(0.05, {{0.0, first}, {10.0, second}, {20.0, third}}), 0);
  EXPECT_EQ(c.depthMax, 1.0);
  EXPECT_EQ(c.depthTmax, 10.0);
  EXPECT_EQ(c.surfaceMax, 11.0);
  EXPECT_EQ(c.surfaceTmax, 10.0);
  EXPECT_EQ(c.speedMax, 1.0);
  EXPECT_EQ(c.speedTmax, 10.0);
  EXPECT_EQ(c.atMaxX, 0.6);
  EXPECT_EQ(c.atMaxY, -0.8);
  EXPECT_EQ(c.atMaxZ, 0.0);
  EXPECT_EQ(c.hazardMax, 1.0);
  EXPECT_EQ(c.arrival, 0.0);
  EXPECT_EQ(c.duration, 20.0);
}

// Wet at 10 and 20 only: half of [0, 10], all of [10, 20], half of [20, 30].
TEST(EnvelopeReductions, CellThatFloodsAndDrains) {
  const OneCell c = cell(run(0.05, {{0.0, State::resting({0.0})},
                                    {10.0, State::resting({0.1})},
                                    {20.0, State::resting({0.3})},
                                    {30.0, State::resting({0.02})},
                                    {40.0, State::resting({0.0})}}),
                         0);
  EXPECT_EQ(c.arrival, 10.0);
  EXPECT_EQ(c.duration, 20.0);
  EXPECT_EQ(c.depthMax, 0.3);
  EXPECT_EQ(c.depthTmax, 20.0);
  EXPECT_EQ(c.surfaceTmax, 20.0);
}

TEST(EnvelopeReductions, CellNeverWetKeepsItsMaximaButNoTimes) {
  State wettest = State::resting({0.04});
  wettest.velocity(0, 0.5, 0.0);
  const OneCell c = cell(run(0.05, {{0.0, State::resting({0.01})}, {10.0, wettest}, {20.0, State::resting({0.0})}}), 0);
  EXPECT_EQ(c.depthMax, 0.04);
  EXPECT_EQ(c.surfaceMax, 10.04);
  EXPECT_EQ(c.speedMax, 0.5);
  EXPECT_EQ(c.atMaxX, 0.5);
  EXPECT_EQ(c.hazardMax, 0.04 * 0.5);
  EXPECT_EQ(c.duration, 0.0);
  EXPECT_TRUE(std::isnan(c.arrival));
  EXPECT_TRUE(std::isnan(c.depthTmax));
  EXPECT_TRUE(std::isnan(c.surfaceTmax));
  EXPECT_TRUE(std::isnan(c.speedTmax));
}

TEST(EnvelopeReductions, DepthEqualToTheWetDepthIsWet) {
  const OneCell c = cell(run(0.25, {{0.0, State::resting({0.0})}, {10.0, State::resting({0.25})}}), 0);
  EXPECT_EQ(c.arrival, 10.0);
  EXPECT_EQ(c.duration, 5.0);
}

TEST(EnvelopeReductions, TiesAtTheMaximumKeepTheEarlierTime) {
  State first = State::resting({2.0});
  first.velocity(0, 2.0, 0.0);
  State second = State::resting({2.0});
  second.velocity(0, 0.0, 2.0);
  const OneCell c = cell(run(0.05, {{5.0, State::resting({1.0})}, {10.0, first}, {15.0, second}}), 0);
  EXPECT_EQ(c.depthTmax, 10.0);
  EXPECT_EQ(c.surfaceTmax, 10.0);
  EXPECT_EQ(c.speedTmax, 10.0);
  EXPECT_EQ(c.atMaxX, 2.0);
  EXPECT_EQ(c.atMaxY, 0.0);
}

// A speed that stays 0 first reaches its maximum at the first time.
TEST(EnvelopeReductions, StillWaterReachesItsZeroSpeedAtTheFirstTime) {
  const OneCell c = cell(run(0.05, {{5.0, State::resting({1.0})}, {10.0, State::resting({1.0})}}), 0);
  EXPECT_EQ(c.speedMax, 0.0);
  EXPECT_EQ(c.speedTmax, 5.0);
  EXPECT_EQ(c.atMaxX, 0.0);
  EXPECT_EQ(c.hazardMax, 0.0);
}

// The hazard is the largest product, not the product of the largest depth
// and the largest speed: 2 x 1 at the first time, 1 x 3 at the second.
TEST(EnvelopeReductions, DepthVelocityIsTheLargestProductOfOneTime) {
  State deep = State::resting({2.0});
  deep.velocity(0, 1.0, 0.0);
  State fast = State::resting({1.0});
  fast.velocity(0, 0.0, 3.0);
  const OneCell c = cell(run(0.05, {{0.0, deep}, {10.0, fast}}), 0);
  EXPECT_EQ(c.hazardMax, 3.0);
  EXPECT_EQ(c.depthMax, 2.0);
  EXPECT_EQ(c.speedMax, 3.0);
}

TEST(EnvelopeReductions, OneSelectedTimeOnly) {
  State only = State::resting({0.5, 0.0});
  only.velocity(0, 0.3, 0.4);
  const Envelopes e = run(0.05, {{7.5, only}});
  const OneCell wet = cell(e, 0);
  EXPECT_EQ(wet.arrival, 7.5);
  EXPECT_EQ(wet.duration, 0.0);
  EXPECT_EQ(wet.depthTmax, 7.5);
  EXPECT_EQ(wet.speedTmax, 7.5);
  EXPECT_EQ(wet.speedMax, 0.5);
  const OneCell dry = cell(e, 1);
  EXPECT_TRUE(std::isnan(dry.arrival));
  EXPECT_EQ(dry.duration, 0.0);
  EXPECT_EQ(dry.depthMax, 0.0);
}

// Times 0, 1, 4, 10 with the cell wet from 1 on: 0.5 + 3 + 6.
TEST(EnvelopeReductions, UnevenIntervals) {
  const OneCell c = cell(run(0.05, {{0.0, State::resting({0.0})},
                                    {1.0, State::resting({0.2})},
                                    {4.0, State::resting({0.2})},
                                    {10.0, State::resting({0.1})}}),
                         0);
  EXPECT_EQ(c.arrival, 1.0);
  EXPECT_EQ(c.duration, 9.5);
}

TEST(EnvelopeReductions, NegativeTimes) {
  const OneCell c = cell(run(0.05, {{-20.0, State::resting({0.0})},
                                    {-5.0, State::resting({0.4})},
                                    {0.0, State::resting({0.3})},
                                    {12.0, State::resting({0.0})}}),
                         0);
  EXPECT_EQ(c.arrival, -5.0);
  EXPECT_EQ(c.depthTmax, -5.0);
  EXPECT_EQ(c.duration, 7.5 + 5.0 + 6.0);
}

// A NaN value never becomes a maximum and a NaN depth is dry; a maximum that
// saw nothing but NaN is NaN.
TEST(EnvelopeReductions, NaNValuesArePassedOver) {
  const State first = State::resting({0.3, 0.0}).broken(1);
  const State second = State::resting({0.0, 0.0}).broken(0).broken(1);
  const State third = State::resting({0.2, 0.0}).broken(1);
  const Envelopes e = run(0.05, {{0.0, first}, {10.0, second}, {20.0, third}});
  const OneCell partly = cell(e, 0);
  EXPECT_EQ(partly.depthMax, 0.3);
  EXPECT_EQ(partly.depthTmax, 0.0);
  EXPECT_EQ(partly.surfaceMax, 10.3);
  EXPECT_EQ(partly.speedMax, 0.0);
  EXPECT_EQ(partly.speedTmax, 0.0);
  EXPECT_EQ(partly.hazardMax, 0.0);
  EXPECT_EQ(partly.arrival, 0.0);
  EXPECT_EQ(partly.duration, 5.0 + 5.0);
  const OneCell never = cell(e, 1);
  EXPECT_TRUE(std::isnan(never.depthMax));
  EXPECT_TRUE(std::isnan(never.surfaceMax));
  EXPECT_TRUE(std::isnan(never.speedMax));
  EXPECT_TRUE(std::isnan(never.hazardMax));
  EXPECT_TRUE(std::isnan(never.atMaxX));
  EXPECT_EQ(never.atMaxZ, 0.0);
  EXPECT_TRUE(std::isnan(never.arrival));
  EXPECT_TRUE(std::isnan(never.depthTmax));
  EXPECT_EQ(never.duration, 0.0);
}

TEST(EnvelopeReductions, NoCellsGiveEmptyEnvelopes) {
  EnvelopeAccumulator accumulator(0, 0.0);
  accumulator.add(1.0, HydraulicSlice{});
  const Envelopes e = accumulator.finish();
  EXPECT_TRUE(e.waterDepthMax.empty());
  EXPECT_TRUE(e.wetDuration.empty());
}

// Seven cells over five times, folded whole, in slices of any size and in
// any order of the slices: the same bits.
TEST(EnvelopeSlices, SlicesSplitDifferentlyGiveIdenticalEnvelopes) {
  std::vector<std::pair<double, State>> times;
  for (int k = 0; k < 5; ++k) {
    std::vector<double> depths;
    for (int i = 0; i < 7; ++i) depths.push_back(0.013 * ((i * 7 + k * 5) % 11));
    State state = State::resting(depths);
    for (std::size_t i = 0; i < 7; ++i) state.velocity(i, 0.1 * ((i + k) % 4), -0.07 * ((i * k) % 3));
    times.emplace_back(-3.0 + 2.5 * k * k, state);
  }
  const Envelopes whole = run(0.05, times);
  const std::vector<std::vector<std::pair<std::size_t, std::size_t>>> splits = {
      {{0, 3}, {3, 4}}, {{0, 1}, {1, 1}, {2, 5}}, {{4, 3}, {0, 2}, {2, 2}}, {{6, 1}, {0, 0}, {0, 6}}};
  for (const auto& split : splits) {
    EnvelopeAccumulator accumulator(7, 0.05);
    for (const auto& [time, state] : times) {
      for (const auto& [first, cells] : split) accumulator.add(time, state.slice(first, cells));
    }
    expectSameEnvelopes(accumulator.finish(), whole);
  }
  EXPECT_EQ(whole.arrivalTime[0], -0.5);
}

TEST(EnvelopeMisuse, TimesMustIncrease) {
  const State state = State::resting({0.1, 0.2});
  EnvelopeAccumulator accumulator(2, 0.05);
  accumulator.add(10.0, state.all());
  expectRefusal(testing_support::failureReport([&] { accumulator.add(5.0, state.all()); }),
                "the envelopes need stored times in increasing order");
}

TEST(EnvelopeMisuse, ATimeMustReachEveryCellBeforeTheNext) {
  const State state = State::resting({0.1, 0.2});
  EnvelopeAccumulator accumulator(2, 0.05);
  accumulator.add(10.0, state.slice(0, 1));
  expectRefusal(testing_support::failureReport([&] { accumulator.add(20.0, state.slice(1, 1)); }),
                "a stored time did not reach every cell of the envelopes");
}

TEST(EnvelopeMisuse, ACellTwiceAtOneTimeIsRefused) {
  const State state = State::resting({0.1, 0.2, 0.3});
  EnvelopeAccumulator accumulator(3, 0.05);
  accumulator.add(10.0, state.slice(0, 2));
  expectRefusal(testing_support::failureReport([&] { accumulator.add(10.0, state.slice(1, 2)); }),
                "a cell reached the envelopes twice at one stored time");
}

// Three slices of one cell each cover a count of three cells, but cell 2 never.
TEST(EnvelopeMisuse, ARepeatedCellCannotStandInForAMissingOne) {
  const State state = State::resting({0.1, 0.2, 0.3});
  EnvelopeAccumulator accumulator(3, 0.05);
  accumulator.add(0.0, state.all());
  accumulator.add(10.0, state.slice(0, 1));
  accumulator.add(10.0, state.slice(1, 1));
  expectRefusal(testing_support::failureReport([&] { accumulator.add(10.0, state.slice(1, 1)); }),
                "a cell reached the envelopes twice at one stored time");
}

TEST(EnvelopeMisuse, SliceOutsideTheMeshIsRefused) {
  const State state = State::resting({0.1, 0.2, 0.3});
  EnvelopeAccumulator accumulator(2, 0.05);
  expectRefusal(testing_support::failureReport([&] { accumulator.add(0.0, state.slice(1, 2)); }),
                "the slice of cells lies outside the mesh of the envelopes");
}

TEST(EnvelopeMisuse, SliceWithoutAColumnIsRefused) {
  HydraulicSlice slice = State::resting({0.1}).all();
  slice.speed = nullptr;
  EnvelopeAccumulator accumulator(1, 0.05);
  expectRefusal(testing_support::failureReport([&] { accumulator.add(0.0, slice); }),
                "the slice lacks one of its columns");
}

TEST(EnvelopeMisuse, TimesMustBeFinite) {
  const State state = State::resting({0.1});
  EnvelopeAccumulator accumulator(1, 0.05);
  expectRefusal(testing_support::failureReport([&] { accumulator.add(notANumber, state.all()); }),
                "the envelopes need finite times");
}

TEST(EnvelopeMisuse, FinishNeedsACompleteLastTime) {
  const State state = State::resting({0.1, 0.2});
  EnvelopeAccumulator accumulator(2, 0.05);
  accumulator.add(0.0, state.slice(0, 1));
  expectRefusal(testing_support::failureReport([&] { accumulator.finish(); }),
                "the last stored time did not reach every cell of the envelopes");
}

TEST(EnvelopeMisuse, FinishNeedsATime) {
  EnvelopeAccumulator accumulator(2, 0.05);
  expectRefusal(testing_support::failureReport([&] { accumulator.finish(); }),
                "the envelopes need at least one stored time");
}

TEST(EnvelopeMisuse, FinishedEnvelopesTakeNothingMore) {
  const State state = State::resting({0.1});
  EnvelopeAccumulator accumulator(1, 0.05);
  accumulator.add(0.0, state.all());
  accumulator.finish();
  expectRefusal(testing_support::failureReport([&] { accumulator.add(1.0, state.all()); }),
                "the envelopes are finished and take no further time");
  expectRefusal(testing_support::failureReport([&] { accumulator.finish(); }),
                "the envelopes are finished already");
}

TEST(EnvelopeMisuse, WetDepthMustBeANumber) {
  expectRefusal(testing_support::failureReport([] { EnvelopeAccumulator accumulator(1, notANumber); }),
                "the wet depth of the envelopes must be a number");
}
