// The envelope reductions: hand-worked cells, generated cells against the definitions bit for bit, the refusals.

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <string>
#include <vector>

#include "HydraulicColumns.hpp"
#include "results/envelopes/EnvelopeAccumulator.hpp"
#include "support/FailureReport.hpp"

using namespace envelope_testing;
using results::EnvelopeAccumulator;
using results::Envelopes;

namespace {

// Maxima and their times of depth, surface and speed; velocity at the fastest time; depth * speed; arrival; duration.
std::vector<double> cellOf(const Envelopes& e, std::size_t i) {
  return {e.waterDepthMax[i],         e.waterDepthTmax[i],         e.waterSurfaceMax[i],
          e.waterSurfaceTmax[i],      e.flowVelocityAbsMax[i],     e.flowVelocityAbsTmax[i],
          e.flowVelocityAtMax[3 * i], e.flowVelocityAtMax[3 * i + 1], e.flowVelocityAtMax[3 * i + 2],
          e.depthVelocityMax[i],      e.arrivalTime[i],            e.wetDuration[i]};
}

double generatedTime(std::size_t k) { return 2.5 * static_cast<double>(k * k) - 7.0; }

// One cell's envelopes as their definitions read, time after time.
struct Definition {
  double depthMax = notANumber, depthTmax = notANumber, surfaceMax = notANumber, surfaceTmax = notANumber,
         speedMax = notANumber, speedTmax = notANumber, atMaxX = notANumber, atMaxY = notANumber,
         hazardMax = notANumber, arrival = notANumber, duration = 0.0;
  bool wasWet = false;

  // The first time a maximum is reached; NaN is no value.
  static bool above(double value, double maximum) {
    return !std::isnan(value) && (std::isnan(maximum) || value > maximum);
  }

  void add(std::size_t k, const Columns& at, std::size_t i, double wetDepth) {
    const double t = generatedTime(k);
    if (above(at.depth[i], depthMax)) depthMax = at.depth[i], depthTmax = t;
    if (above(at.surface[i], surfaceMax)) surfaceMax = at.surface[i], surfaceTmax = t;
    if (above(at.speed[i], speedMax))
      speedMax = at.speed[i], speedTmax = t, atMaxX = at.velocityX[i], atMaxY = at.velocityY[i];
    if (above(at.depth[i] * at.speed[i], hazardMax)) hazardMax = at.depth[i] * at.speed[i];
    const bool wet = at.depth[i] >= wetDepth;
    if (wet && std::isnan(arrival)) arrival = t;
    if (k > 0 && wet && wasWet) duration += t - generatedTime(k - 1);
    if (k > 0 && wet != wasWet) duration += (t - generatedTime(k - 1)) / 2;
    wasWet = wet;
  }

  // A cell never wet has no time of any maximum.
  std::vector<double> envelopes() const {
    const bool wet = !std::isnan(arrival);
    return {depthMax, wet ? depthTmax : notANumber, surfaceMax, wet ? surfaceTmax : notANumber,
            speedMax, wet ? speedTmax : notANumber, atMaxX,     atMaxY,
            0.0,      hazardMax,                    arrival,    duration};
  }
};

}  // namespace

// Wet from the wet depth on, inclusive; a wet time adds half of each interval beside it; the first of equal maxima
// keeps its time.
TEST(EnvelopeReductions, CellsFollowTheEnvelopeDefinitionsBitForBit) {
  struct Case {
    const char* name;
    double wetDepth;
    std::vector<double> times, depths;
    std::vector<double> arrivalDurationTmax;
  };
  const Case cases[] = {
      {"floods and drains", 0.05, {0, 10, 20, 30, 40}, {0.0, 0.1, 0.3, 0.02, 0.0}, {10.0, 20.0, 20.0}},
      {"at the wet depth exactly", 0.25, {0, 10}, {0.0, 0.25}, {10.0, 5.0, 10.0}},
      {"equal maxima", 0.05, {5, 10, 15}, {1.0, 2.0, 2.0}, {5.0, 10.0, 10.0}},
      {"never wet", 0.05, {0, 10, 20}, {0.01, 0.04, 0.0}, {notANumber, 0.0, notANumber}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EnvelopeAccumulator accumulator(1, c.wetDepth);
    for (std::size_t k = 0; k < c.times.size(); ++k) accumulator.add(c.times[k], Columns({c.depths[k]}).slice(0, 1));
    const Envelopes e = accumulator.finish();
    const std::vector<double> got{e.arrivalTime[0], e.wetDuration[0], e.waterDepthTmax[0]};
    EXPECT_TRUE(sameBits(got, c.arrivalDurationTmax)) << testing::PrintToString(got);
  }
  // Every generated cell follows the definitions bit for bit.
  const std::size_t cells = 4000;
  std::vector<Columns> times;
  for (unsigned k = 0; k < 9; ++k) times.emplace_back(cells, k + 11);
  EnvelopeAccumulator accumulator(cells, 0.05);
  // Slices of uneven sizes, in cell order, as the export hands them over.
  for (std::size_t k = 0; k < times.size(); ++k)
    for (std::size_t first = 0, size = 1; first < cells; first += size, size = size * 3 % 701 + 1)
      accumulator.add(generatedTime(k), times[k].slice(first, std::min(size, cells - first)));
  const Envelopes e = accumulator.finish();
  std::size_t differing = 0;
  for (std::size_t i = 0; i < cells; ++i) {
    Definition d;
    for (std::size_t k = 0; k < times.size(); ++k) d.add(k, times[k], i, 0.05);
    if (!sameBits(cellOf(e, i), d.envelopes()) && differing++ < 5) ADD_FAILURE() << "cell " << i;
  }
  EXPECT_EQ(differing, 0u);
}

// A call adds cells first to first + count at a time, or finishes.
TEST(EnvelopeAccumulator, BrokenCallsAreRefusedWithTheirReason) {
  struct Call {
    double time;
    std::size_t first = 0, count = 3;
    bool finish = false;
  };
  const Call finishing{0.0, 0, 0, true};
  const Columns three({0.1, 0.2, 0.3});
  const std::string twice = "a cell reached the envelopes twice at one stored time";
  struct Misuse {
    std::string message;
    std::size_t cells;
    std::vector<Call> calls;
  };
  const Misuse misuses[] = {
      {"the envelopes need stored times in increasing order", 3, {{10.0}, {5.0}}},
      {"a stored time did not reach every cell of the envelopes", 3, {{10.0, 0, 1}, {20.0, 1, 2}}},
      {twice, 3, {{10.0, 0, 2}, {10.0, 1, 2}}},
      // Three slices of one cell each would count three cells, but cell 2 never came.
      {twice, 3, {{0.0}, {10.0, 0, 1}, {10.0, 1, 1}, {10.0, 1, 1}}},
      {"the slice of cells lies outside the mesh of the envelopes", 2, {{0.0, 1, 2}}},
      {"the envelopes need finite times", 3, {{notANumber}}},
      {"the last stored time did not reach every cell of the envelopes", 3, {{0.0, 0, 1}, finishing}},
      {"the envelopes need at least one stored time", 3, {finishing}},
  };
  for (const Misuse& c : misuses) {
    SCOPED_TRACE(c.message);
    EnvelopeAccumulator misused(c.cells, 0.05);
    const std::string report = testing_support::failureReport([&] {
      for (const Call& call : c.calls) {
        if (call.finish) misused.finish();
        if (!call.finish) misused.add(call.time, three.slice(call.first, call.count));
      }
    });
    const std::string where = ", in file: src/results/envelopes/EnvelopeAccumulator\\.cpp on line [0-9]+";
    EXPECT_TRUE(std::regex_match(report, std::regex(" -> " + c.message + where + ", version v3\\.1\\.0\n"))) << report;
  }
}
