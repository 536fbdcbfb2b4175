#include "results/hydrographs/GaugeOutput.hpp"

#include "interfaces/Failure.hpp"
#include "model/catalogue/Catalogue.hpp"
#include "results/xdmf/FloodRecord.hpp"
#include "results/xdmf/StoredColumns.hpp"

namespace results {

GaugeOutput::GaugeOutput(api::IModel& model_, api::IOutput* out_) : model(model_), out(out_) {
  RESULTS_CHECK(out, "a valid output is required");
  const std::string name = out->getName();
  for (int f = 0; f < out->getNrDataFunctions(); ++f) {
    functions.push_back(out->getDataFunction(f).second);
    RESULTS_CHECK(functions.back(), "failed to transform the data because the transformation is invalid");
  }
  const int components = functions.empty() ? out->getSize() : static_cast<int>(functions.size());
  if (out->getID() == model::flood_tracking) {
    for (const char* suffix : floodRecordSuffixes) names.push_back(name + suffix);
  } else if (components == 2) {
    vector = true;
    names = {name + "_x", name + "_y"};
  } else {
    RESULTS_CHECK(components == 1, "only data of dimension 1 or 2 is supported");
    names = {name};
  }
}

std::vector<StepInput> GaugeOutput::inputs(int step) const {
  std::vector<StepInput> columns;
  if (functions.empty()) {
    for (const auto& [path, column] : storedColumns(model, out, step)) columns.push_back({path, column});
    return columns;
  }
  const DataColumns dataCols = out->getDataColumns();
  for (auto entry = dataCols.begin(); entry != dataCols.end(); ++entry)
    columns.push_back({columnDatasetPath(model, out, dataCols, entry, step), entry->second});
  return columns;
}

std::vector<double> GaugeOutput::values(double dryDepth, const std::vector<double>& stored) const {
  if (functions.empty()) return std::vector<double>(stored.begin(), stored.begin() + static_cast<std::ptrdiff_t>(names.size()));
  std::vector<double> computed;
  for (const model::TransformFunction& function : functions) computed.push_back(function(dryDepth, stored));
  return computed;
}

}  // namespace results
