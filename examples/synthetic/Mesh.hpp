#pragma once
// A structured triangle mesh over the channel: nx x ny squares, each split
// along its diagonal into two triangles.

#include <vector>

#include "synthetic/Channel.hpp"
#include "synthetic/RunSettings.hpp"

namespace synthetic {

struct Mesh {
  int nx = 0;
  int ny = 0;
  double cellSize = 0.0;           // edge of a square, m
  std::vector<int> topology;       // three 0-based node numbers per cell, counter-clockwise
  std::vector<double> coordinates; // x, y, z per node, shifted by the origin
  std::vector<double> centreX;     // cell centroids relative to the inlet's corner
  std::vector<double> centreY;

  int cellCount() const { return static_cast<int>(centreX.size()); }
  double width() const { return ny * cellSize; }
};

// The grid keeps the 10:3 shape of the channel, so 6000 cells give exactly
// 100 x 30 squares; other counts are met approximately.
Mesh makeRectangleMesh(int approximateCells, const Channel& channel, const Origin& origin);

}  // namespace synthetic
