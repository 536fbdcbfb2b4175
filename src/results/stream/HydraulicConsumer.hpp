#pragma once
// Something that follows the hydraulic state through the stored times an
// export visits, such as the flood envelopes, fed by the same pass that
// writes the computed outputs, so that no dataset is read twice.

#include "results/stream/HydraulicSlice.hpp"

namespace results {

class HydraulicConsumer {
 public:
  virtual ~HydraulicConsumer() = default;
  // The slices of one stored time arrive in cell order and cover every cell
  // once; the stored times arrive in ascending order. The slice's arrays are
  // valid during the call only.
  virtual void add(double time, const HydraulicSlice& slice) = 0;
};

}  // namespace results
