#include "results/stream/TableRows.hpp"

#include <algorithm>

#include "interfaces/Failure.hpp"

namespace results {

void TableRows::read(int first, int count, double* values) {
  RESULTS_CHECK(first >= 0 && count >= 0 && first + count <= table.rows, "rows are read within the table");
  const auto width = static_cast<std::size_t>(table.columns);
  const auto begin = table.values.begin() + static_cast<std::ptrdiff_t>(static_cast<std::size_t>(first) * width);
  std::copy_n(begin, static_cast<std::size_t>(count) * width, values);
}

}  // namespace results
