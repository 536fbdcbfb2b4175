#include "StepDatasets.hpp"

namespace results {

namespace {

bool isStepDataset(const std::string& path) { return path.rfind("/RESULTS/", 0) == 0; }

}  // namespace

StepDatasets::StepDatasets(api::IH5Reader& reader_) : reader(reader_) {}

void StepDatasets::beginStep() {
  for (auto it = tables.begin(); it != tables.end();) it = isStepDataset(it->first) ? tables.erase(it) : std::next(it);
}

const api::DoubleTable& StepDatasets::get(const std::string& path) {
  auto found = tables.find(path);
  if (found == tables.end()) found = tables.emplace(path, reader.readDoubleTable(path)).first;
  return found->second;
}

}  // namespace results
