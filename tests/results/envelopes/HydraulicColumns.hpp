#pragma once
// The hydraulic state of a few cells at one stored time: given by hand or generated, handed over in slices.

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "results/stream/HydraulicConsumer.hpp"

namespace envelope_testing {

const double notANumber = std::numeric_limits<double>::quiet_NaN();

// NaN equals NaN here: values are compared bit for bit.
inline bool sameBits(const std::vector<double>& a, const std::vector<double>& b) {
  return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0);
}

struct Columns {
  std::vector<double> surface, depth, velocityX, velocityY, speed;

  // Still water on a flat bed at level 10.
  explicit Columns(const std::vector<double>& depths)
      : depth(depths), velocityX(depths.size(), 0.0), velocityY(depths.size(), 0.0), speed(depths.size(), 0.0) {
    for (const double h : depth) surface.push_back(10.0 + h);
  }

  // Generated cells: wet, dry, at the wet depth 0.05 exactly, negative depths, NaN and infinite values.
  Columns(std::size_t cells, unsigned seed) {
    std::mt19937_64 random(seed);
    std::uniform_real_distribution<double> uniform(-0.2, 2.0);
    for (std::size_t i = 0; i < cells; ++i) {
      double h = uniform(random);
      if (i % 13 == 0) h = 0.05;
      if (i % 97 == 0) h = notANumber;
      if (i % 89 == 0) h = std::numeric_limits<double>::infinity();
      const bool dry = !(h >= 0.001);
      depth.push_back(h);
      surface.push_back(100.0 + h);
      velocityX.push_back(dry ? 0.0 : uniform(random));
      velocityY.push_back(dry ? 0.0 : -uniform(random));
      speed.push_back(std::hypot(velocityX.back(), velocityY.back()));
    }
  }

  results::HydraulicSlice slice(std::size_t first, std::size_t cells) const {
    return {first, cells, surface.data() + first, depth.data() + first, velocityX.data() + first,
            velocityY.data() + first, speed.data() + first};
  }
};

}  // namespace envelope_testing
