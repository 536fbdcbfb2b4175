#pragma once
// The result datasets one time step needs, each read once however many
// columns and outputs use it. Stored-once (static) datasets stay for the whole
// run; time-step datasets are dropped when the next step begins, so memory
// stays at one step's inputs. Their storage is kept for the next step's reads
// of the same shape.

#include <map>
#include <string>
#include <vector>

#include "interfaces/IH5Reader.hpp"

namespace results {

class StepDatasets {
 public:
  explicit StepDatasets(api::IH5Reader& reader);

  void beginStep();
  const api::DoubleTable& get(const std::string& path);

 private:
  api::IH5Reader& reader;
  std::map<std::string, api::DoubleTable> tables;
  std::vector<api::DoubleTable> spare;
};

}  // namespace results
