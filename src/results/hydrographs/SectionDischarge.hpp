#pragma once
// The stored discharge of the cells the sections cross, taken from the
// hydraulic state as the export's own pass streams it: the cells lie spread
// over the mesh, and reading their rows again would read much of the state a
// second time at every step.

#include <vector>

#include "results/stream/HydraulicConsumer.hpp"

namespace results {

class SectionDischarge : public HydraulicConsumer {
 public:
  // cells: ascending, each once.
  explicit SectionDischarge(std::vector<int> cells);

  void add(double time, const HydraulicSlice& slice) override;

  // Whether the pass fed the state of that time (a time without the stored
  // state has none), and then qx, qy of a cell of the list.
  bool heldAt(double time) const { return fed && time == heldTime; }
  double qx(int cell) const { return values[indexOf(cell)].first; }
  double qy(int cell) const { return values[indexOf(cell)].second; }

 private:
  std::size_t indexOf(int cell) const;

  std::vector<int> cells;
  std::vector<std::pair<double, double>> values;
  double heldTime = 0.0;
  bool fed = false;
};

}  // namespace results
