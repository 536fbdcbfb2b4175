#include "results/xdmf/StepDatasets.hpp"

namespace results {

namespace {

bool isStepDataset(const std::string& path) { return path.rfind("/RESULTS/", 0) == 0; }

}  // namespace

StepDatasets::StepDatasets(api::IH5Reader& reader_) : reader(reader_) {}

void StepDatasets::beginStep() {
  for (auto it = tables.begin(); it != tables.end();) {
    if (isStepDataset(it->first)) {
      spare.push_back(std::move(it->second));
      it = tables.erase(it);
    } else {
      ++it;
    }
  }
}

const api::DoubleTable& StepDatasets::get(const std::string& path) {
  const auto found = tables.find(path);
  if (found != tables.end()) return found->second;
  api::DoubleTable table;
  if (!spare.empty()) {
    table = std::move(spare.back());
    spare.pop_back();
  }
  reader.readDoubleTable(path, table);
  return tables.emplace(path, std::move(table)).first->second;
}

}  // namespace results
