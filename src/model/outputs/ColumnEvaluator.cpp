#include "model/outputs/ColumnEvaluator.hpp"

#include <algorithm>

#include "interfaces/Failure.hpp"

namespace model {

void ColumnEvaluator::beginRun(double threshold_, const std::vector<Source>& sources_) {
  threshold = threshold_;
  sources = sources_;
  ++run;
}

const double* ColumnEvaluator::evaluate(const ColumnForm& form, const std::vector<int>& sourceOf) {
  Ids ids;
  ids.fill(-1);
  for (std::size_t k = 0; k < form.operands.size(); ++k) {
    ids.at(k) = sourceOf.at(static_cast<std::size_t>(form.operands[k]));
    RESULTS_CHECK(cellsOf(ids[k]) == cellsOf(ids[0]), "the columns of a computed component differ in length");
  }
  return compute(form.kernel, ids);
}

// Velocity and Speed name their sources as the catalogue lists them: (q, H,
// zb) and (qx, qy, H, zb).
const double* ColumnEvaluator::compute(ColumnKernel kernel, const Ids& ids) {
  switch (kernel) {
    case ColumnKernel::Column:
      return values(ids.at(0));
    case ColumnKernel::Difference:
      return stored(Quantity::Difference, ids, [&](std::size_t cells, double* result) {
        columns::difference(cells, values(ids.at(0)), values(ids.at(1)), result);
      });
    case ColumnKernel::Reciprocal:
      return stored(Quantity::Reciprocal, ids,
                    [&](std::size_t cells, double* result) { columns::reciprocal(cells, values(ids.at(0)), result); });
    case ColumnKernel::Magnitude:
      return stored(Quantity::Magnitude, ids, [&](std::size_t cells, double* result) {
        columns::magnitude(cells, values(ids.at(0)), values(ids.at(1)), result);
      });
    case ColumnKernel::Velocity: {
      const double* depth = compute(ColumnKernel::Difference, {ids.at(1), ids.at(2), -1, -1});
      const double* wet = wetCells(ids.at(1), ids.at(2));
      return stored(Quantity::Velocity, ids, [&](std::size_t cells, double* result) {
        columns::velocity(cells, values(ids.at(0)), depth, wet, result);
      });
    }
    // The squares are added x first, as the optimised per-cell function adds
    // them: where both velocities are NaN, the sum keeps the x one, as the
    // released tool has always written it. Which of two NaNs a sum keeps is
    // the compiler's choice; an unoptimised build of the per-cell function
    // keeps the other.
    case ColumnKernel::Speed: {
      const double* x = compute(ColumnKernel::Velocity, {ids.at(0), ids.at(2), ids.at(3), -1});
      const double* y = compute(ColumnKernel::Velocity, {ids.at(1), ids.at(2), ids.at(3), -1});
      return stored(Quantity::Speed, ids,
                    [&](std::size_t cells, double* result) { columns::magnitude(cells, y, x, result); });
    }
  }
  RESULTS_CHECK(false, "unknown column kernel");
}

const double* ColumnEvaluator::wetCells(int surface, int bottom) {
  const double* depth = compute(ColumnKernel::Difference, {surface, bottom, -1, -1});
  return stored(Quantity::WetCells, {surface, bottom, -1, -1},
                [&](std::size_t cells, double* result) { columns::wetCells(cells, threshold, depth, result); });
}

template <typename Fill>
const double* ColumnEvaluator::stored(Quantity quantity, const Ids& ids, Fill fill) {
  auto found = std::find_if(results.begin(), results.end(),
                            [&](const Result& result) { return result.quantity == quantity && result.ids == ids; });
  if (found == results.end()) found = results.insert(results.end(), Result{quantity, ids, {}, 0});
  if (found->run != run) {
    const std::size_t cells = cellsOf(ids[0]);
    found->values.resize(cells);
    fill(cells, found->values.data());
    found->run = run;
  }
  return found->values.data();
}

}  // namespace model
