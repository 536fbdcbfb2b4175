#pragma once
// On which side of a line a point lies, decided exactly. Which cell a pixel
// centre or a gauge falls in, and where a section crosses an edge, must not
// depend on rounding: a point on an edge shared by two cells has to be seen
// on that edge from both of them.

namespace results {

struct Point {
  double x = 0.0;
  double y = 0.0;
};

// The sign of the cross product (b - a) x (c - a): +1 when c lies left of the
// line from a to b, -1 right of it, 0 on it; exact for any finite doubles.
int orientation(const Point& a, const Point& b, const Point& c);

}  // namespace results
