#include "results/geometry/SegmentCut.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

namespace results {
namespace {

struct Segment {
  Point a;
  Point b;
};

struct Span {
  int cell;
  double from;
  double to;
};

double clampedParameter(double t) { return std::min(1.0, std::max(0.0, t)); }

// Each corner of the mesh has one parameter along the segment, whichever
// cell asks: the cells around a corner the segment passes through meet there.
double parameterOf(const Segment& s, const Point& p) {
  const double dx = s.b.x - s.a.x;
  const double dy = s.b.y - s.a.y;
  return clampedParameter(std::fabs(dx) >= std::fabs(dy) ? (p.x - s.a.x) / dx : (p.y - s.a.y) / dy);
}

// Where the segment crosses the line of the edge (u, v). The two cells of an
// edge compute it from its corners in one order, so that both get the same
// double.
double crossingOf(const Segment& s, Point u, Point v) {
  if (orientation(s.a, s.b, u) == 0) return parameterOf(s, u);
  if (orientation(s.a, s.b, v) == 0) return parameterOf(s, v);
  if (v.x < u.x || (v.x == u.x && v.y < u.y)) std::swap(u, v);
  const double ex = v.x - u.x;
  const double ey = v.y - u.y;
  const double along = (u.x - s.a.x) * ey - (u.y - s.a.y) * ex;
  const double across = (s.b.x - s.a.x) * ey - (s.b.y - s.a.y) * ex;
  return clampedParameter(along / across);
}

// The parameters of the segment inside the closed triangle: each edge keeps
// the side the triangle lies on, decided exactly; only the crossings are
// rounded. from >= to when the segment misses the cell or only touches it.
Span clip(const PlaneMesh& mesh, int cell, const Segment& s) {
  Span span{cell, 0.0, 1.0};
  const int turn = orientation(mesh.node(cell, 0), mesh.node(cell, 1), mesh.node(cell, 2));
  if (turn == 0) return {cell, 1.0, 0.0};
  for (int corner = 0; corner < 3 && span.from < span.to; ++corner) {
    const Point& u = mesh.node(cell, corner);
    const Point& v = mesh.node(cell, (corner + 1) % 3);
    const int start = orientation(u, v, s.a) * turn;
    const int end = orientation(u, v, s.b) * turn;
    if (start >= 0 && end >= 0) continue;
    if (start <= 0 && end <= 0) return {cell, 1.0, 0.0};
    const double t = crossingOf(s, u, v);
    if (start < 0)
      span.from = std::max(span.from, t);
    else
      span.to = std::min(span.to, t);
  }
  return span;
}

// The cells whose boxes meet the segment, gathered along it in stretches of
// about two cells so that a long diagonal does not list every cell of its
// box. The boxes are widened so that rounding cannot leave a cell out.
std::vector<int> candidates(const PlaneMesh& mesh, const CellLocator& locator, const Segment& s) {
  const Bounds& all = mesh.bounds();
  const double area = std::max((all.xMax - all.xMin) * (all.yMax - all.yMin), 0.0);
  const double cellSize = std::sqrt(area / std::max(1, mesh.cellCount()));
  const double length = std::hypot(s.b.x - s.a.x, s.b.y - s.a.y);
  const double wanted = cellSize > 0.0 ? std::ceil(length / (2.0 * cellSize)) : 1.0;
  const int stretches = static_cast<int>(std::clamp(wanted, 1.0, 65536.0));
  const double margin = 1e-6 * cellSize + 1e-12 * length;
  std::vector<int> cells;
  Point from = s.a;
  for (int k = 1; k <= stretches; ++k) {
    const double t = static_cast<double>(k) / stretches;
    const Point to = k == stretches ? s.b : Point{s.a.x + t * (s.b.x - s.a.x), s.a.y + t * (s.b.y - s.a.y)};
    const Bounds box{std::min(from.x, to.x) - margin, std::max(from.x, to.x) + margin,
                     std::min(from.y, to.y) - margin, std::max(from.y, to.y) + margin};
    locator.forEachNear(box, [&cells](int cell) { cells.push_back(cell); });
    from = to;
  }
  std::sort(cells.begin(), cells.end());
  cells.erase(std::unique(cells.begin(), cells.end()), cells.end());
  return cells;
}

// Between two neighbouring break points, the stretch belongs to the lowest
// cell whose span holds it, or to none.
std::vector<SegmentPiece> sweep(std::vector<Span> spans) {
  std::vector<double> breaks{0.0, 1.0};
  for (const Span& span : spans) breaks.insert(breaks.end(), {span.from, span.to});
  std::sort(breaks.begin(), breaks.end());
  breaks.erase(std::unique(breaks.begin(), breaks.end()), breaks.end());
  std::sort(spans.begin(), spans.end(), [](const Span& l, const Span& r) { return l.from < r.from; });
  std::vector<SegmentPiece> pieces;
  std::size_t next = 0;
  std::vector<Span> open;
  for (std::size_t k = 0; k + 1 < breaks.size(); ++k) {
    const double from = breaks[k];
    const double to = breaks[k + 1];
    while (next < spans.size() && spans[next].from <= from) open.push_back(spans[next++]);
    open.erase(std::remove_if(open.begin(), open.end(), [from](const Span& s) { return s.to <= from; }), open.end());
    int owner = -1;
    for (const Span& span : open)
      if (span.to >= to && (owner < 0 || span.cell < owner)) owner = span.cell;
    if (!pieces.empty() && pieces.back().cell == owner)
      pieces.back().to = to;
    else
      pieces.push_back({owner, from, to});
  }
  return pieces;
}

}  // namespace

std::vector<SegmentPiece> cutSegment(const PlaneMesh& mesh, const CellLocator& locator, const Point& a,
                                     const Point& b) {
  const Segment segment{a, b};
  std::vector<Span> spans;
  for (const int cell : candidates(mesh, locator, segment)) {
    const Span span = clip(mesh, cell, segment);
    if (span.from < span.to) spans.push_back(span);
  }
  return sweep(std::move(spans));
}

}  // namespace results
