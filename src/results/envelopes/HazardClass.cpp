#include "results/envelopes/HazardClass.hpp"

#include <cmath>

namespace results {

int hazardClassOf(double depth, double speed) {
  if (std::isnan(depth) || std::isnan(speed)) return 0;
  const double product = depth * speed;
  for (const HazardLimit& limit : hazardLimits)
    if (product <= limit.depthTimesSpeed && depth <= limit.depth && speed <= limit.speed) return limit.hazardClass;
  return highestHazardClass;
}

}  // namespace results
