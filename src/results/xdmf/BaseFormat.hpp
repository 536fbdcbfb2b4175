#pragma once
// What every export format works on: the results file and the model, both
// owned by the results driver, and the output stem.

#include <string>

#include "interfaces/IModel.hpp"
#include "interfaces/IResultReader.hpp"

namespace results {

class BaseFormat {
 public:
  BaseFormat(api::IResultReader*& reader, api::IModel*& model, const std::string& stem);
  virtual ~BaseFormat() = default;

 protected:
  api::IResultReader* reader;
  api::IModel* model;
  std::string stem;
};

}  // namespace results
