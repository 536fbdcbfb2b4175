#pragma once
// The flume of the dam break: a straight, gently sloped channel whose dam
// stands halfway along x, still water upstream and a dry bed downstream.

#include <cmath>

namespace synthetic {

struct Channel {
  static constexpr double gravity = 9.81;

  double length = 1000.0;        // m, along x
  double damPosition = 500.0;    // m from the inlet
  double bedAtInlet = 400.0;     // m above sea level
  double slope = 0.001;          // bed drops along x
  double upstreamDepth = 2.0;    // m of still water behind the dam
  double manning = 0.03;         // s/m^(1/3)

  double bed(double x) const { return bedAtInlet - slope * x; }
  double waveCelerity() const { return std::sqrt(gravity * upstreamDepth); }
  // The dry front runs downstream at twice the celerity; the stored steps end
  // before it reaches the outlet.
  double endTime() const { return 0.9 * (length - damPosition) / (2.0 * waveCelerity()); }
};

}  // namespace synthetic
