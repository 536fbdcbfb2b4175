#include "results/geometry/Orientation.hpp"

#include <cmath>
#include <limits>

namespace results {
namespace {

// A value held exactly as an unevaluated sum of doubles, smallest first, each
// component beyond the last's rounding error (an expansion).
struct Expansion {
  double terms[32];
  int count = 0;
};

// a - b = high + low exactly.
void twoDifference(double a, double b, double& high, double& low) {
  high = a - b;
  const double virtualB = a - high;
  low = (a - (high + virtualB)) + (virtualB - b);
}

// a * b = high + low exactly (the fused multiply-add gives the rounding error).
void twoProduct(double a, double b, double& high, double& low) {
  high = a * b;
  low = std::fma(a, b, -high);
}

// Adds one double to an expansion, keeping it exact and free of zeros.
void grow(Expansion& e, double value) {
  Expansion grown;
  double carry = value;
  for (int i = 0; i < e.count; ++i) {
    const double sum = carry + e.terms[i];
    const double virtualTerm = sum - carry;
    const double error = (carry - (sum - virtualTerm)) + (e.terms[i] - virtualTerm);
    if (error != 0.0) grown.terms[grown.count++] = error;
    carry = sum;
  }
  if (carry != 0.0) grown.terms[grown.count++] = carry;
  e = grown;
}

int signOf(double value) { return (value > 0.0) - (value < 0.0); }

// Both differences of each factor are split into a rounded part and its
// error, so the determinant is a sum of sixteen exact products.
int exactOrientation(const Point& a, const Point& b, const Point& c) {
  double parts[4][2];
  twoDifference(b.x, a.x, parts[0][0], parts[0][1]);
  twoDifference(c.y, a.y, parts[1][0], parts[1][1]);
  twoDifference(b.y, a.y, parts[2][0], parts[2][1]);
  twoDifference(c.x, a.x, parts[3][0], parts[3][1]);
  Expansion sum;
  for (const double left : parts[0])
    for (const double right : parts[1]) {
      double high = 0.0, low = 0.0;
      twoProduct(left, right, high, low);
      grow(sum, low);
      grow(sum, high);
    }
  for (const double left : parts[2])
    for (const double right : parts[3]) {
      double high = 0.0, low = 0.0;
      twoProduct(left, right, high, low);
      grow(sum, -low);
      grow(sum, -high);
    }
  // The largest component decides the sign of the whole.
  return sum.count == 0 ? 0 : signOf(sum.terms[sum.count - 1]);
}

}  // namespace

// The rounded determinant decides whenever it is larger than the largest
// error its rounding can have made (a bound that also covers the rounding
// of the differences); only points close to the line take the exact way.
int orientation(const Point& a, const Point& b, const Point& c) {
  const double left = (b.x - a.x) * (c.y - a.y);
  const double right = (b.y - a.y) * (c.x - a.x);
  const double determinant = left - right;
  constexpr double epsilon = std::numeric_limits<double>::epsilon() / 2.0;
  constexpr double bound = (3.0 + 16.0 * epsilon) * epsilon;
  const double magnitude = std::fabs(left) + std::fabs(right);
  if (std::fabs(determinant) > bound * magnitude) return signOf(determinant);
  return exactOrientation(a, b, c);
}

}  // namespace results
