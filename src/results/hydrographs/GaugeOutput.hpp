#pragma once
// One output of an export entry as a gauge shows it: the columns of its CSV
// file and, at a step, the stored columns it reads and the values the
// document shows for a cell, computed as the document's items compute them.

#include <string>
#include <vector>

#include "interfaces/IModel.hpp"
#include "results/stream/StepStream.hpp"

namespace results {

class GaugeOutput {
 public:
  GaugeOutput(api::IModel& model, api::IOutput* out);

  // One header per value: the name, <name>_x and <name>_y for a vector, the
  // flood record's five as the document names them.
  const std::vector<std::string>& headers() const { return names; }
  bool isVector() const { return vector; }
  // The dataset and column of each input at the step.
  std::vector<StepInput> inputs(int step) const;
  // The values at a cell from its inputs' values, in the order of inputs():
  // a stored column as stored, a function of them with the run's dry
  // threshold, as the auxiliary file and the viewer's functions hold them.
  std::vector<double> values(double dryDepth, const std::vector<double>& stored) const;

 private:
  api::IModel& model;
  api::IOutput* out;
  std::vector<std::string> names;
  std::vector<model::TransformFunction> functions;  // none for a stored output
  bool vector = false;
};

}  // namespace results
