#include "results/stored/OutputData.hpp"

#include "dataio/hdf5/ResultPaths.hpp"
#include "interfaces/LibraryFailure.hpp"

namespace results {

std::string missingDataset(api::IModel& model, api::IH5Base& file, model::OutputID output) {
  for (const model::DataID dataId : model.getOutput(output)->getDataIDs()) {
    const api::IData* data = model.getData(dataId);
    if (data->isTimeDependent()) {
      const std::string group = dataio::resultGroupPath(data->getPath());
      if (file.getNrObjects(group) < 1) return group;
    } else if (!file.exist(data->getPath())) {
      return data->getPath();
    }
  }
  return std::string();
}

double minimumWaterDepth(api::IH5Reader& file) {
  if (!file.exist(dataio::minWaterDepthPath)) return 0.0;
  try {
    return file.readDouble(dataio::minWaterDepthPath);
  } catch (const api::LibraryFailure&) {
    return 0.0;
  }
}

}  // namespace results
