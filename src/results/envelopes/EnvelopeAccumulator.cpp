#include "results/envelopes/EnvelopeAccumulator.hpp"

#include <cmath>
#include <iterator>
#include <limits>
#include <utility>

#include "interfaces/Failure.hpp"

namespace results {

namespace {

constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();
constexpr double belowEverything = -std::numeric_limits<double>::infinity();

// The bits of a cell's wet flags.
constexpr unsigned wetBefore = 1U;  // wet at the time folded before
constexpr unsigned arrived = 2U;    // wet at some time folded: its arrival time is set

bool hasColumns(const HydraulicSlice& slice) {
  return slice.surface && slice.depth && slice.velocityX && slice.velocityY && slice.speed;
}

}  // namespace

// Maxima start below every number so that the first number replaces them;
// times start as NaN, which is what a cell keeps when it never qualifies.
EnvelopeAccumulator::EnvelopeAccumulator(std::size_t cells, double wetDepth_, bool hazardClasses)
    : cellCount(cells), wetDepth(wetDepth_), wetFlags(cells, 0) {
  RESULTS_CHECK(!std::isnan(wetDepth), "the wet depth of the envelopes must be a number");
  state.waterDepthMax.assign(cells, belowEverything);
  state.waterDepthTmax.assign(cells, notANumber);
  state.waterSurfaceMax.assign(cells, belowEverything);
  state.waterSurfaceTmax.assign(cells, notANumber);
  state.flowVelocityAbsMax.assign(cells, belowEverything);
  state.flowVelocityAbsTmax.assign(cells, notANumber);
  state.flowVelocityAtMax.assign(3 * cells, 0.0);
  for (std::size_t i = 0; i < cells; ++i) {
    state.flowVelocityAtMax[3 * i] = notANumber;
    state.flowVelocityAtMax[3 * i + 1] = notANumber;
  }
  state.depthVelocityMax.assign(cells, belowEverything);
  state.arrivalTime.assign(cells, notANumber);
  state.wetDuration.assign(cells, 0.0);
  if (hazardClasses) state.hazardClassMax.assign(cells, 0.0);
}

void EnvelopeAccumulator::add(double time, const HydraulicSlice& slice) {
  RESULTS_CHECK(!finished, "the envelopes are finished and take no further time");
  RESULTS_CHECK(std::isfinite(time), "the envelopes need finite times");
  RESULTS_CHECK(slice.firstCell <= cellCount && slice.cells <= cellCount - slice.firstCell,
                "the slice of cells lies outside the mesh of the envelopes");
  RESULTS_CHECK(slice.cells == 0 || hasColumns(slice), "the slice lacks one of its columns");
  if (timesBegun == 0 || time != currentTime) beginTime(time);
  claimCells(slice);
  fold(time, slice);
  if (!state.hazardClassMax.empty()) foldHazardClasses(slice);
  cellsFolded += slice.cells;
}

Envelopes EnvelopeAccumulator::finish() {
  RESULTS_CHECK(!finished, "the envelopes are finished already");
  RESULTS_CHECK(timesBegun > 0, "the envelopes need at least one stored time");
  RESULTS_CHECK(cellsFolded == cellCount, "the last stored time did not reach every cell of the envelopes");
  finished = true;
  markNeverWetAndUnreached();
  wetFlags = {};
  return std::move(state);
}

void EnvelopeAccumulator::beginTime(double time) {
  if (timesBegun > 0) {
    RESULTS_CHECK(cellsFolded == cellCount, "a stored time did not reach every cell of the envelopes");
    RESULTS_CHECK(time > currentTime, "the envelopes need stored times in increasing order");
  }
  interval = timesBegun > 0 ? time - currentTime : 0.0;
  currentTime = time;
  ++timesBegun;
  cellsFolded = 0;
  foldedRuns.clear();
}

// Adjacent runs are merged, so that slices in cell order keep a single run.
void EnvelopeAccumulator::claimCells(const HydraulicSlice& slice) {
  if (slice.cells == 0) return;
  const std::size_t first = slice.firstCell;
  const std::size_t end = first + slice.cells;
  auto next = foldedRuns.lower_bound(first);
  RESULTS_CHECK(next == foldedRuns.end() || next->first >= end,
                "a cell reached the envelopes twice at one stored time");
  auto run = next;
  if (next != foldedRuns.begin()) {
    auto before = std::prev(next);
    RESULTS_CHECK(before->first + before->second <= first, "a cell reached the envelopes twice at one stored time");
    if (before->first + before->second == first) run = before;
  }
  if (run == next) run = foldedRuns.emplace_hint(next, first, 0);
  run->second = end - run->first;
  if (next != foldedRuns.end() && next->first == end) {
    run->second += next->second;
    foldedRuns.erase(next);
  }
}

// The hot loop of the envelopes: one pass over contiguous columns. Strict
// comparisons keep the earlier time of equal maxima and pass over NaN. The
// first time has no interval, so its wet flags add nothing; wet at both ends
// adds twice the half interval, which is the interval exactly.
void EnvelopeAccumulator::fold(double time, const HydraulicSlice& slice) {
  const std::size_t first = slice.firstCell;
  const double* const surface = slice.surface;
  const double* const depth = slice.depth;
  const double* const velocityX = slice.velocityX;
  const double* const velocityY = slice.velocityY;
  const double* const speed = slice.speed;
  double* const depthMax = state.waterDepthMax.data() + first;
  double* const depthTmax = state.waterDepthTmax.data() + first;
  double* const surfaceMax = state.waterSurfaceMax.data() + first;
  double* const surfaceTmax = state.waterSurfaceTmax.data() + first;
  double* const speedMax = state.flowVelocityAbsMax.data() + first;
  double* const speedTmax = state.flowVelocityAbsTmax.data() + first;
  double* const atMax = state.flowVelocityAtMax.data() + 3 * first;
  double* const hazardMax = state.depthVelocityMax.data() + first;
  double* const arrival = state.arrivalTime.data() + first;
  double* const duration = state.wetDuration.data() + first;
  std::uint8_t* const flags = wetFlags.data() + first;
  const double halfInterval = 0.5 * interval;
  const double wetFrom = wetDepth;  // a local copy keeps it in a register

  for (std::size_t i = 0; i < slice.cells; ++i) {
    const double h = depth[i];
    if (h > depthMax[i]) {
      depthMax[i] = h;
      depthTmax[i] = time;
    }
    if (surface[i] > surfaceMax[i]) {
      surfaceMax[i] = surface[i];
      surfaceTmax[i] = time;
    }
    if (speed[i] > speedMax[i]) {
      speedMax[i] = speed[i];
      speedTmax[i] = time;
      atMax[3 * i] = velocityX[i];
      atMax[3 * i + 1] = velocityY[i];
    }
    const double hazard = h * speed[i];
    if (hazard > hazardMax[i]) hazardMax[i] = hazard;
    const unsigned wet = h >= wetFrom;
    const unsigned before = flags[i];
    const unsigned wasWet = before & wetBefore;
    if (wet && !(before & arrived)) arrival[i] = time;
    // Dry at both ends adds nothing: the duration is left untouched.
    if (wasWet | wet) duration[i] += halfInterval * static_cast<double>(wasWet + wet);
    flags[i] = static_cast<std::uint8_t>((before & arrived) | (wet ? wetBefore | arrived : 0U));
  }
}

// Apart from the hot loop, which an export without maps runs alone.
void EnvelopeAccumulator::foldHazardClasses(const HydraulicSlice& slice) {
  double* const classMax = state.hazardClassMax.data() + slice.firstCell;
  for (std::size_t i = 0; i < slice.cells; ++i) {
    const double reached = hazardClassOf(slice.depth[i], slice.speed[i]);
    if (reached > classMax[i]) classMax[i] = reached;
  }
}

void EnvelopeAccumulator::markNeverWetAndUnreached() {
  for (std::size_t i = 0; i < cellCount; ++i) {
    if (std::isnan(state.arrivalTime[i])) {
      state.waterDepthTmax[i] = notANumber;
      state.waterSurfaceTmax[i] = notANumber;
      state.flowVelocityAbsTmax[i] = notANumber;
      if (!state.hazardClassMax.empty()) state.hazardClassMax[i] = notANumber;
    }
    for (std::vector<double>* maximum : {&state.waterDepthMax, &state.waterSurfaceMax, &state.flowVelocityAbsMax,
                                         &state.depthVelocityMax}) {
      if ((*maximum)[i] == belowEverything) (*maximum)[i] = notANumber;
    }
  }
}

}  // namespace results
