#include "synthetic/FloodTracking.hpp"

#include <algorithm>

namespace synthetic {
namespace {

constexpr double waterDensity = 1000.0;  // kg/m3

}  // namespace

std::vector<double> untrackedFlood(std::size_t cells) {
  std::vector<double> columns(5 * cells, 0.0);
  for (std::size_t cell = 0; cell < cells; ++cell) {
    columns[5 * cell] = -1.0;
  }
  return columns;
}

void trackFlood(double* columns, double time, const CellFlow& flow, double minDepth) {
  if (flow.depth <= minDepth) {
    return;
  }
  if (columns[0] < 0.0) {
    columns[0] = time;
  }
  // tau = rho u^2 / c^2 with the non-dimensional Chezy value c^2 = C^2 / g.
  const double shear = waterDensity * flow.speed * flow.speed / flow.chezy;
  columns[1] = std::max(columns[1], flow.depth);
  columns[2] = std::max(columns[2], flow.speed);
  columns[3] = std::max(columns[3], flow.discharge);
  columns[4] = std::max(columns[4], shear);
}

}  // namespace synthetic
