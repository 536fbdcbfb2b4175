#include "synthetic/Mesh.hpp"

#include <algorithm>
#include <cmath>

namespace synthetic {
namespace {

constexpr double aspect = 10.0 / 3.0;

void addTriangle(Mesh& mesh, int a, int b, int c) {
  mesh.topology.insert(mesh.topology.end(), {a, b, c});
  const auto node = [&mesh](int n, int axis) { return mesh.coordinates[3 * n + axis]; };
  mesh.centreX.push_back((node(a, 0) + node(b, 0) + node(c, 0)) / 3.0);
  mesh.centreY.push_back((node(a, 1) + node(b, 1) + node(c, 1)) / 3.0);
}

}  // namespace

Mesh makeRectangleMesh(int approximateCells, const Channel& channel, const Origin& origin) {
  Mesh mesh;
  const double squares = std::max(1, approximateCells) / 2.0;
  mesh.nx = std::max(1, static_cast<int>(std::lround(std::sqrt(squares * aspect))));
  mesh.ny = std::max(1, static_cast<int>(std::lround(squares / mesh.nx)));
  mesh.cellSize = channel.length / mesh.nx;

  // Centroids are computed from unshifted coordinates; the origin is added last
  // so that large georeferenced offsets do not cost precision.
  for (int j = 0; j <= mesh.ny; ++j) {
    for (int i = 0; i <= mesh.nx; ++i) {
      const double x = i * mesh.cellSize;
      mesh.coordinates.insert(mesh.coordinates.end(), {x, j * mesh.cellSize, channel.bed(x)});
    }
  }
  const auto node = [&mesh](int i, int j) { return j * (mesh.nx + 1) + i; };
  for (int j = 0; j < mesh.ny; ++j) {
    for (int i = 0; i < mesh.nx; ++i) {
      addTriangle(mesh, node(i, j), node(i + 1, j), node(i + 1, j + 1));
      addTriangle(mesh, node(i, j), node(i + 1, j + 1), node(i, j + 1));
    }
  }
  for (std::size_t n = 0; n < mesh.coordinates.size(); n += 3) {
    mesh.coordinates[n] += origin.x;
    mesh.coordinates[n + 1] += origin.y;
  }
  return mesh;
}

}  // namespace synthetic
