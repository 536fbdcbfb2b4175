#pragma once
// The rows of a few cells of one step dataset, read in runs: cells close to
// each other share one read, since a call to the library costs about as much
// as a thousand rows.

#include <vector>

#include "interfaces/IH5Reader.hpp"

namespace results {

class CellRows {
 public:
  // cells ascending, each once, each a row of the dataset.
  CellRows(api::IRowReader& dataset, const std::vector<int>& cells);

  // The row of a cell given to the constructor: columns() values.
  const double* row(int cell) const;
  int columns() const { return width; }

 private:
  std::vector<int> cells;
  std::vector<double> values;  // the cells' rows, in cell order
  int width = 0;
};

// Cells whose gap is at most this many rows are read together.
inline constexpr int joinedRowGap = 1024;

}  // namespace results
