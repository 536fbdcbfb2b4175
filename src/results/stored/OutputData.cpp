#include "results/stored/OutputData.hpp"

#include "interfaces/Failure.hpp"
#include "dataio/hdf5/ResultReader.hpp"

namespace results {

namespace {

const char* const minWaterDepthPath = "Parameters/MinWaterDepth";

}  // namespace

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
  if (!file.exist(minWaterDepthPath)) return 0.0;
  try {
    return file.readDouble(minWaterDepthPath);
  } catch (const BaseException&) {
    throw;
  } catch (const std::exception&) {
    return 0.0;
  }
}

}  // namespace results
