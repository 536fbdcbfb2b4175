#pragma once

#include "model/entities/Base.hpp"

namespace model {

// A collection of mesh or bookkeeping elements; its size is the number of
// elements, known only once the results file has been read.
class Set : public Base<SetID>, public api::ISet {
 public:
  Set(SetID identifier, std::string entityName, std::string text, int entitySize);

  std::string getPath() const override;
  void print() const override;
  void setSize(int elements) override;
  std::string getSetName() const override;
  SetID getID() const override;
};

}  // namespace model
