#pragma once
// The computed outputs once more, a whole column at a time: for every cell of
// a run of cells, in one plain loop over contiguous arrays, the value that the
// output's transformation function gives for that cell. The per-cell
// functions stay the reference; each loop repeats their expression operation
// for operation, std::pow(x, 2) included, so that both forms round alike.

#include <cstddef>
#include <map>
#include <vector>

#include "interfaces/IEntities.hpp"

namespace model {

// What one component computes, over positions in the output's column list.
enum class ColumnKernel {
  Column,      // (a): the stored column a unchanged
  Difference,  // (a, b): a - b
  Reciprocal,  // (a): 1.0 / a
  Magnitude,   // (a, b): sqrt(b^2 + a^2)
  Velocity,    // (q, H, zb): q / (H - zb), 0.0 where the cell is dry
  Speed,       // (qx, qy, H, zb): the magnitude of the two velocities, 0.0 where dry
};

struct ColumnForm {
  ColumnKernel kernel;
  std::vector<int> operands;
};

// Exactly the outputs of OutputFunctions, one form per component.
extern const std::map<OutputID, std::vector<ColumnForm>> OutputColumnForms;

// The column forms of an output whose transformations are the catalogue's own
// for it; none for an output given other transformations, which can only be
// evaluated cell by cell.
std::vector<ColumnForm> columnFormsFor(OutputID output, const std::vector<TransformFunction>& transformations);

// The loops. Every array holds `cells` values; results are written to the
// last argument, which must not overlap the inputs.
namespace columns {

void difference(std::size_t cells, const double* a, const double* b, double* result);
void reciprocal(std::size_t cells, const double* a, double* result);
void magnitude(std::size_t cells, const double* a, const double* b, double* result);
// The dry test, as a mask: a cell is dry where the threshold is greater than
// its depth (a depth equal to the threshold is wet). A wet cell's entry has
// every bit set, a dry cell's none (0.0); the entries are masks, not numbers.
void wetCells(std::size_t cells, double threshold, const double* depth, double* wet);
// discharge / depth where wet, 0.0 where dry.
void velocity(std::size_t cells, const double* discharge, const double* depth, const double* wet, double* result);

}  // namespace columns

}  // namespace model
