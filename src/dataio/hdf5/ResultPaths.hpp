#pragma once
// Where a run's results file keeps what the tool reads: the time steps of
// each data path, the archive of the run's input and the dry threshold.

#include <string>

namespace dataio {

// The archived model input and simulation configuration texts.
inline constexpr const char* archivedModelPath = ".config/model";
inline constexpr const char* archivedSimulationPath = ".config/simulation";
// The depth below which the run counted a cell as dry.
inline constexpr const char* minWaterDepthPath = "Parameters/MinWaterDepth";

// "/RESULTS/" + dataPath
std::string resultGroupPath(const std::string& dataPath);
// The group path + "/" + step as at least seven digits with leading zeros.
std::string resultStepPath(const std::string& dataPath, int step);

}  // namespace dataio
