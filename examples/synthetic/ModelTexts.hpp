#pragma once
// The two archived texts of a run: the model input file and the simulation
// configuration, as the simulation stores them in the group .config.

#include <string>
#include <vector>

#include "synthetic/Channel.hpp"
#include "synthetic/RunSettings.hpp"

namespace synthetic {

// Only the blocks that select the intended aggregates: hydraulics with
// friction, plus morphology or flood tracking.
std::string modelText(ModelKind model, const Channel& channel);

// SIMULATION with its time settings and the OUTPUT list.
std::string simulationText(const std::vector<std::string>& outputs,
                           const std::vector<double>& times);

}  // namespace synthetic
