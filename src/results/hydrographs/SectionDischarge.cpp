#include "results/hydrographs/SectionDischarge.hpp"

#include <algorithm>

#include "interfaces/Failure.hpp"

namespace results {

SectionDischarge::SectionDischarge(std::vector<int> cells_) : cells(std::move(cells_)), values(cells.size()) {}

void SectionDischarge::add(double time, const HydraulicSlice& slice) {
  if (!fed || time != heldTime) {
    heldTime = time;
    fed = true;
  }
  const int first = static_cast<int>(slice.firstCell);
  const int end = first + static_cast<int>(slice.cells);
  for (auto at = std::lower_bound(cells.begin(), cells.end(), first); at != cells.end() && *at < end; ++at) {
    const std::size_t k = static_cast<std::size_t>(*at - first);
    values[static_cast<std::size_t>(at - cells.begin())] = {slice.dischargeX[k], slice.dischargeY[k]};
  }
}

std::size_t SectionDischarge::indexOf(int cell) const {
  const auto at = std::lower_bound(cells.begin(), cells.end(), cell);
  RESULTS_CHECK(at != cells.end() && *at == cell, "a section's cell is held");
  return static_cast<std::size_t>(at - cells.begin());
}

}  // namespace results
