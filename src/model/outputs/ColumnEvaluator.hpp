#pragma once
// Evaluates column forms over the input columns of one run of cells. What
// several outputs share is computed once per run: the depth H - zb and the dry
// test for both velocity components, the velocities for the speed, and any
// component that two outputs have in common. Results are keyed by the
// sources they are made of, so two outputs that read the same stored columns
// share them whatever their column lists look like.

#include <array>
#include <cstddef>
#include <vector>

#include "model/outputs/ColumnForms.hpp"

namespace model {

class ColumnEvaluator {
 public:
  // One input column of the run: `cells` values, held by the caller until
  // the next run begins.
  struct Source {
    const double* values = nullptr;
    std::size_t cells = 0;
  };

  // Starts a run: forgets the results of the previous one (keeping their
  // storage for this one's) and takes the threshold depth of the dry test.
  void beginRun(double threshold, const std::vector<Source>& sources);

  // The values of one component: the form's operand p is the source
  // sourceOf[p]. They stay valid until the next run begins and number the
  // cells of those sources, which must all have the same length.
  const double* evaluate(const ColumnForm& form, const std::vector<int>& sourceOf);

  std::size_t cellsOf(int source) const { return sources.at(static_cast<std::size_t>(source)).cells; }

 private:
  // What the evaluator stores: every kernel but Column, and the wet-cell mask.
  enum class Quantity { Difference, Reciprocal, Magnitude, WetCells, Velocity, Speed };
  // The sources of a result, unused places -1: no kernel reads more than four.
  using Ids = std::array<int, 4>;
  struct Result {
    Quantity quantity;
    Ids ids;
    std::vector<double> values;
    unsigned run = 0;
  };

  const double* compute(ColumnKernel kernel, const Ids& ids);
  const double* wetCells(int surface, int bottom);
  // The stored result of quantity over ids, computed by fill(cells, storage)
  // unless this run has it already.
  template <typename Fill>
  const double* stored(Quantity quantity, const Ids& ids, Fill fill);
  const double* values(int source) const { return sources.at(static_cast<std::size_t>(source)).values; }

  std::vector<Source> sources;
  double threshold = 0.0;
  unsigned run = 0;
  // A run computes a dozen results at most: a list is searched faster than
  // a map, and keeps its storage from one run to the next.
  std::vector<Result> results;
};

}  // namespace model
