#include "results/stored/OutputData.hpp"

#include <cmath>

#include "dataio/hdf5/ResultPaths.hpp"
#include "interfaces/Failure.hpp"
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

bool storedOverTime(api::IModel& model, model::OutputID output) {
  for (const model::DataID dataId : model.getOutput(output)->getDataIDs())
    if (model.getData(dataId)->isTimeDependent()) return true;
  return false;
}

namespace {

// A dataset of one stored number, as the simulation writes it; anything else
// is no depth, whatever the library would make of it.
bool holdsOneNumber(api::IH5Reader& file, const std::string& path) {
  try {
    const api::DatasetInfo info = file.getDatasetInfo(path);
    const bool number = info.valueClass == api::ValueClass::Float || info.valueClass == api::ValueClass::Integer;
    return number && info.extents == std::vector<unsigned long long>{1};
  } catch (const api::LibraryFailure&) {
    return false;
  }
}

}  // namespace

std::optional<double> storedMinimumWaterDepth(api::IH5Reader& file) {
  if (!file.exist(dataio::minWaterDepthPath)) return std::nullopt;
  const double depth = holdsOneNumber(file, dataio::minWaterDepthPath) ? file.readDouble(dataio::minWaterDepthPath)
                                                                        : std::nan("");
  if (!std::isfinite(depth) || depth < 0.0)
    failure::fail("<", dataio::minWaterDepthPath, "> in file <", file.getFileName(),
                  "> is not one finite number >= 0: it must be the depth in metres below which a cell is dry");
  return depth;
}

double minimumWaterDepth(api::IH5Reader& file) { return storedMinimumWaterDepth(file).value_or(0.0); }

}  // namespace results
