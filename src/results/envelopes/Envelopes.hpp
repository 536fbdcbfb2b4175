#pragma once
// Flood envelopes: what each cell reached over the stored times an export
// selects. One value per cell in every array, in cell order; times are
// simulation times in seconds.

#include <vector>

namespace results {

// A cell that is never wet holds NaN in arrivalTime and in every *Tmax; its
// maxima are still the maxima of its values. A maximum that no number
// reached (every value NaN) is NaN.
struct Envelopes {
  std::vector<double> waterDepthMax;
  std::vector<double> waterDepthTmax;  // the first time the maximum was reached
  std::vector<double> waterSurfaceMax;
  std::vector<double> waterSurfaceTmax;
  std::vector<double> flowVelocityAbsMax;
  std::vector<double> flowVelocityAbsTmax;
  // The velocity when the speed was at its maximum, as rows of three: x, y and
  // a zero z, the layout in which vector attributes read it.
  std::vector<double> flowVelocityAtMax;
  std::vector<double> depthVelocityMax;  // the largest depth times speed
  std::vector<double> arrivalTime;       // the first time the cell was wet
  std::vector<double> wetDuration;
  // The highest hazard class reached (1 to 6), NaN where never wet; empty
  // unless the envelopes were asked for it (the maps need it).
  std::vector<double> hazardClassMax;
};

}  // namespace results
