#pragma once
// What a run archived about itself in its results file, beside the model
// input that composition reads.

#include <string>
#include <vector>

#include "interfaces/IH5Reader.hpp"

namespace results {

// The outputs the run wrote: SIMULATION/OUTPUT of the archived simulation
// configuration, empty when it lists none.
std::vector<std::string> simulationOutputs(api::IH5Reader& file);

}  // namespace results
