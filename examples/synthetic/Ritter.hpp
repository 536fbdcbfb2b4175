#pragma once
// Ritter's solution of the ideal dam break over a dry, frictionless bed.

namespace synthetic {

struct DepthVelocity {
  double h = 0.0;  // m
  double u = 0.0;  // m/s along x
};

// distance: from the dam, positive downstream; time: since the dam vanished.
DepthVelocity ritter(double distance, double time, double upstreamDepth, double gravity);

}  // namespace synthetic
