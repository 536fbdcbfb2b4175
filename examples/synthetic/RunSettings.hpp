#pragma once
// What a synthetic results file holds: mesh size, stored steps, model setup.

#include <optional>
#include <string>
#include <vector>

namespace synthetic {

// hydraulics: hydraulics with friction, the bed is static.
// morphology: hydraulics plus morphology, the bed is stored at every step.
// flood: hydraulics plus flood tracking (FloodVar at every step).
enum class ModelKind { hydraulics, morphology, flood };

// reversed stores the last time under step 0000000 and so on, for readers
// that must order steps by their "t" attributes rather than by their names.
enum class StepOrder { ascending, reversed };

// A georeferenced origin such as (2600000, 1200000) shifts every node.
struct Origin {
  double x = 0.0;
  double y = 0.0;
};

struct RunSettings {
  int cells = 6000;  // rounded to a grid of nx x ny squares of two triangles each
  int steps = 30;
  ModelKind model = ModelKind::hydraulics;
  std::vector<std::string> outputs = {"water_surface", "water_depth",   "bottom_elevation",
                                      "spec_discharge", "flow_velocity", "flow_velocity_abs"};
  std::optional<double> minWaterDepth = 0.001;  // none: Parameters/MinWaterDepth is not written
  StepOrder order = StepOrder::ascending;
  Origin origin;
};

// "hydraulics", "morphology" or "flood"; anything else throws std::invalid_argument.
ModelKind parseModelKind(const std::string& name);

}  // namespace synthetic
