#pragma once
// The hydraulic state of a run of consecutive cells at one stored time, as the
// export computes it once for every consumer (derived outputs, envelopes).
// Each pointer designates `cells` contiguous values.

#include <cstddef>

namespace results {

struct HydraulicSlice {
  std::size_t firstCell = 0;
  std::size_t cells = 0;
  const double* surface = nullptr;    // water surface elevation H
  const double* depth = nullptr;      // H - bottom elevation
  const double* velocityX = nullptr;  // as flow_velocity computes it (0 where dry)
  const double* velocityY = nullptr;
  const double* speed = nullptr;      // as flow_velocity_abs computes it (0 where dry)
  const double* dischargeX = nullptr; // the specific discharge qx, qy as stored
  const double* dischargeY = nullptr;
};

}  // namespace results
