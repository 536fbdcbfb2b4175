#include "synthetic/Ritter.hpp"

#include <cmath>

namespace synthetic {

// Upstream of the rarefaction (x < -c0 t) the water is still at h0; inside it
//   h = (2 c0 - x/t)^2 / (9 g),  u = 2/3 (x/t + c0);
// beyond the front (x > 2 c0 t) the bed is dry.
DepthVelocity ritter(double distance, double time, double upstreamDepth, double gravity) {
  const double c0 = std::sqrt(gravity * upstreamDepth);
  if (time <= 0.0) {
    return {distance < 0.0 ? upstreamDepth : 0.0, 0.0};
  }
  const double xi = distance / time;
  if (xi <= -c0) {
    return {upstreamDepth, 0.0};
  }
  if (xi >= 2.0 * c0) {
    return {0.0, 0.0};
  }
  const double root = 2.0 * c0 - xi;
  return {root * root / (9.0 * gravity), 2.0 / 3.0 * (xi + c0)};
}

}  // namespace synthetic
