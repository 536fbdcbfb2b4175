#include "results/stored/RunArchive.hpp"

#include <memory>

#include "dataio/hdf5/ResultPaths.hpp"
#include "dataio/json/CommandFiles.hpp"

namespace results {

namespace {

const std::string outputsPath = "SIMULATION/OUTPUT";

}  // namespace

std::vector<std::string> simulationOutputs(api::IH5Reader& file) {
  const std::string simulation = file.readStrings(dataio::archivedSimulationPath).at(0);
  std::unique_ptr<api::ICommandFileReader> settings(createCommandTextReader(
      simulation, std::string("the archived text <") + dataio::archivedSimulationPath + "> of <" + file.getFileName() +
                      ">"));
  return settings->getStringVector(outputsPath, std::vector<std::string>());
}

}  // namespace results
