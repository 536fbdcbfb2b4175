#include "results/hydrographs/SectionCut.hpp"

#include <cmath>

#include "results/geometry/SegmentCut.hpp"

namespace results {

SectionCut cutSection(const MeshGeometry& geometry, const Section& section) {
  SectionCut cut;
  for (std::size_t k = 0; k + 1 < section.points.size(); ++k) {
    const Point& a = section.points[k];
    const Point& b = section.points[k + 1];
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    for (const SegmentPiece& piece : cutSegment(geometry.mesh(), geometry.locator(), a, b)) {
      const double share = piece.to - piece.from;
      if (piece.cell < 0)
        cut.outside += share * std::hypot(dx, dy);
      else
        cut.pieces.push_back({piece.cell, share * dy, -share * dx});
    }
  }
  return cut;
}

}  // namespace results
