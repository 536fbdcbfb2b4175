#include "results/xdmf/StoredColumns.hpp"

#include <algorithm>

#include "dataio/hdf5/ResultPaths.hpp"
#include "interfaces/Failure.hpp"
#include "results/xdmf/FloodRecord.hpp"

namespace results {

OutputKind kindOf(api::IOutput* out) {
  if (out->getNrDataFunctions() == 0) return OutputKind::direct;
  if (out->getID() == model::water_depth || out->getID() == model::delta_z) return OutputKind::function;
  return OutputKind::computed;
}

std::string columnDatasetPath(api::IModel& model, api::IOutput* out, const DataColumns& dataCols,
                              DataColumns::const_iterator selected, int step) {
  RESULTS_CHECK(out, "a valid output pointer is required");
  RESULTS_CHECK(selected != dataCols.end(), "a valid iterator is required");
  const api::IData* data = model.getData(selected->first);
  const std::string path = data->getPath();
  if (!data->isTimeDependent()) return path;
  const std::vector<int> repeated = out->getRepeatedColumns();
  const int position = static_cast<int>(selected - dataCols.begin());
  const bool readsInitialState = std::find(repeated.begin(), repeated.end(), position) != repeated.end();
  return dataio::resultStepPath(path, readsInitialState ? 0 : step);
}

std::vector<std::pair<std::string, int>> storedColumns(api::IModel& model, api::IOutput* out, int step) {
  const DataColumns dataCols = out->getDataColumns();
  std::vector<std::pair<std::string, int>> columns;
  if (out->getID() == model::flood_tracking) {
    const std::string path = columnDatasetPath(model, out, dataCols, dataCols.begin(), 0);
    for (std::size_t i = 0; i < floodRecordColumns && i < dataCols.size(); ++i)
      columns.emplace_back(path, dataCols[i].second);
    return columns;
  }
  for (auto entry = dataCols.begin(); entry != dataCols.end(); ++entry)
    columns.emplace_back(columnDatasetPath(model, out, dataCols, entry, step), entry->second);
  return columns;
}

std::vector<StepInput> streamedColumns(StepStream& stream, api::IModel& model, api::IOutput* out, int step) {
  const DataColumns dataCols = out->getDataColumns();
  std::vector<StepInput> inputs;
  int rows = 0;
  for (auto entry = dataCols.begin(); entry != dataCols.end(); ++entry) {
    const std::string path = columnDatasetPath(model, out, dataCols, entry, step);
    const api::IRowReader& dataset = stream.input(path);
    if (entry->second < 0 || entry->second >= dataset.columns())
      failure::fail("dataset <", path, "> does not contain column ", entry->second, "!");
    if (inputs.empty()) rows = dataset.rows();
    inputs.push_back({path, entry->second});
    RESULTS_CHECK(rows == dataset.rows(), "failed to transform the data because the input data sizes are inconsistent");
  }
  RESULTS_CHECK(!inputs.empty(), "failed to transform the data because there is no input");
  return inputs;
}

}  // namespace results
