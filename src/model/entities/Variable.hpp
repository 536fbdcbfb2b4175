#pragma once

#include "model/entities/Base.hpp"

namespace model {

// A global value that changes with time. The catalogue defines none.
class Variable : public Base<VariableID>, public BaseData<VariableID>, public api::IVariable {
 public:
  Variable(VariableID identifier, std::string entityName, std::string text, bool computedFlag, bool staticData,
           int typeCode, int entitySize);

  std::string getPath() const override;
  void print() const override;
  bool isTimeDependent() const override;
  VariableID getID() const override;
};

}  // namespace model
