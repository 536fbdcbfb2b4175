#pragma once
// Which outputs a stored step can show. A run may store some data at fewer
// times than others (the bed elevation every 10 s, the hydraulic state every
// 5 s): the time table holds every time any of them was stored, and an output
// is written at the times its own data were stored.

#include <map>
#include <string>

#include "interfaces/IH5Base.hpp"
#include "interfaces/IModel.hpp"

namespace results {

class StoredSteps {
 public:
  StoredSteps(api::IH5Base& file, api::IModel& model);

  // The first dataset of the output at the step that the file lacks, or "".
  std::string missingAt(api::IOutput* out, int step);
  bool holds(api::IOutput* out, int step) { return missingAt(out, step).empty(); }

 private:
  api::IH5Base& file;
  api::IModel& model;
  std::map<std::string, bool> stored;  // a dataset is looked up once
};

}  // namespace results
