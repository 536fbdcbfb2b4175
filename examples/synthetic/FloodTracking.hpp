#pragma once
// The flood variables a simulation tracks per cell, five columns: arrival
// time, maximum water depth, maximum flow velocity, maximum specific
// discharge, maximum bed shear stress.

#include <cstddef>
#include <vector>

namespace synthetic {

struct CellFlow {
  double depth = 0.0;      // m
  double speed = 0.0;      // m/s
  double discharge = 0.0;  // m2/s
  double chezy = 0.0;      // non-dimensional Chezy value, squared
};

// Cells that were never wet keep the arrival time -1.
std::vector<double> untrackedFlood(std::size_t cells);

void trackFlood(double* columns, double time, const CellFlow& flow, double minDepth);

}  // namespace synthetic
