#include "results/xdmf/StoredSteps.hpp"

#include "results/xdmf/StoredColumns.hpp"

namespace results {

StoredSteps::StoredSteps(api::IH5Base& file_, api::IModel& model_) : file(file_), model(model_) {}

std::string StoredSteps::missingAt(api::IOutput* out, int step) {
  for (const auto& column : storedColumns(model, out, step)) {
    const std::string& path = column.first;
    auto known = stored.find(path);
    if (known == stored.end()) known = stored.emplace(path, file.exist(path)).first;
    if (!known->second) return path;
  }
  return std::string();
}

}  // namespace results
