#pragma once
// A section laid on the mesh once, before the first step: its pieces inside
// cells, each with its share of the normal, so that the discharge at a step
// is one sum over the pieces.

#include <vector>

#include "results/hydrographs/HydrographPlaces.hpp"
#include "results/hydrographs/MeshGeometry.hpp"

namespace results {

// A piece's normal to the right of the walking direction, scaled by the
// piece's length: (dy, -dx) over the piece.
struct FluxPiece {
  int cell;
  double nx;
  double ny;
};

struct SectionCut {
  std::vector<FluxPiece> pieces;  // along the section, inside the mesh
  double outside = 0.0;           // the length of the parts outside the mesh
};

SectionCut cutSection(const MeshGeometry& geometry, const Section& section);

// Q = sum over the pieces of (q . n) * length, with q the specific discharge
// (qx, qy) of the piece's cell: flow from left to right is positive.
template <typename Discharge>
double dischargeThrough(const SectionCut& cut, const Discharge& dischargeOf) {
  double q = 0.0;
  for (const FluxPiece& piece : cut.pieces) {
    const auto [qx, qy] = dischargeOf(piece.cell);
    q += qx * piece.nx + qy * piece.ny;
  }
  return q;
}

}  // namespace results
