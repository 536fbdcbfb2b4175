#pragma once
// Writes a complete synthetic results file of the dam break.

#include <string>
#include <vector>

#include "synthetic/Channel.hpp"
#include "synthetic/RunSettings.hpp"

namespace synthetic {

// The stored times, evenly spaced from 0 to the channel's end time.
std::vector<double> outputTimes(int steps, const Channel& channel);

// The step number under which the k-th time (in time order) is stored.
int stepNumber(int k, int steps, StepOrder order);

// Truncates the file when it exists; throws std::runtime_error when HDF5 fails.
void writeResultsFile(const std::string& path, const RunSettings& settings);

}  // namespace synthetic
