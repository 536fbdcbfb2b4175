#pragma once
// The run's dry threshold, Parameters/MinWaterDepth, read once per export and
// only when something needs it: a failure to read it is reported once, where
// it is first needed.

#include "interfaces/IH5Reader.hpp"

namespace results {

class DryDepth {
 public:
  explicit DryDepth(api::IH5Reader& file_) : file(file_) {}
  double value();

 private:
  api::IH5Reader& file;
  bool read = false;
  double depth = 0.0;
};

}  // namespace results
