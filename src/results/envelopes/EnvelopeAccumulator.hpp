#pragma once
// Folds the hydraulic state of each selected stored time into the flood
// envelopes, in the pass that exports the time steps, so that a run is read
// once. It holds only arrays of cells, never a stored time.
//
// A cell is wet at a time when its depth is at least the wet depth. Its wet
// duration adds, for each pair of consecutive times, the whole interval when
// it is wet at both, half of it when it is wet at one only.
//
// A NaN value is no value: it never becomes a maximum, and a NaN depth counts
// as dry (the comparisons of IEEE arithmetic are false for NaN).

#include <cstddef>
#include <cstdint>
#include <map>
#include <vector>

#include "results/envelopes/Envelopes.hpp"
#include "results/envelopes/HazardClass.hpp"
#include "results/stream/HydraulicConsumer.hpp"

namespace results {

class EnvelopeAccumulator : public HydraulicConsumer {
 public:
  // hazardClasses: also the highest hazard class of each cell.
  EnvelopeAccumulator(std::size_t cells, double wetDepth, bool hazardClasses = false);

  // One slice of the cells at one stored time. The slices of one time cover
  // every cell exactly once, in any split and any order; each time is greater
  // than the one before and begins once the one before is complete. A call
  // that breaks this is refused with a failed check, which ends the export.
  void add(double time, const HydraulicSlice& slice) override;

  // The envelopes of every time added; the accumulator is spent afterwards.
  Envelopes finish();

 private:
  void beginTime(double time);
  void claimCells(const HydraulicSlice& slice);
  void fold(double time, const HydraulicSlice& slice);
  void foldHazardClasses(const HydraulicSlice& slice);
  void markNeverWetAndUnreached();

  std::size_t cellCount;
  double wetDepth;
  Envelopes state;
  // Per cell: wet at the time before, and wet at any time so far. One byte, so
  // that the fold reads little beyond the maxima it must compare (the state
  // of a large mesh streams through memory at every time).
  std::vector<std::uint8_t> wetFlags;
  // The runs of cells the current time has folded, by first cell: a cell
  // folded twice at one time, or missed by one, is found without trusting the
  // callers' split and without a counter per cell.
  std::map<std::size_t, std::size_t> foldedRuns;
  std::uint32_t timesBegun = 0;
  double currentTime = 0.0;
  double interval = 0.0;
  std::size_t cellsFolded = 0;
  bool finished = false;
};

}  // namespace results
