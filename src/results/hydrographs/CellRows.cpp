#include "results/hydrographs/CellRows.hpp"

#include <algorithm>

#include "interfaces/Failure.hpp"

namespace results {

CellRows::CellRows(api::IRowReader& dataset, const std::vector<int>& cells_)
    : cells(cells_), width(dataset.columns()) {
  const std::size_t w = static_cast<std::size_t>(width);
  values.resize(cells.size() * w);
  std::vector<double> run;
  for (std::size_t first = 0; first < cells.size();) {
    std::size_t last = first;
    while (last + 1 < cells.size() && cells[last + 1] - cells[last] <= joinedRowGap) ++last;
    const int count = cells[last] - cells[first] + 1;
    run.resize(static_cast<std::size_t>(count) * w);
    dataset.read(cells[first], count, run.data());
    for (std::size_t k = first; k <= last; ++k)
      std::copy_n(run.begin() + static_cast<std::ptrdiff_t>(static_cast<std::size_t>(cells[k] - cells[first]) * w), w,
                  values.begin() + static_cast<std::ptrdiff_t>(k * w));
    first = last + 1;
  }
}

const double* CellRows::row(int cell) const {
  const auto at = std::lower_bound(cells.begin(), cells.end(), cell);
  RESULTS_CHECK(at != cells.end() && *at == cell, "a cell's row is read before it is used");
  return values.data() + static_cast<std::size_t>(at - cells.begin()) * static_cast<std::size_t>(width);
}

}  // namespace results
