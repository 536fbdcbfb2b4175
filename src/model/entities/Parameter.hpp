#pragma once

#include "model/entities/Base.hpp"

namespace model {

// A value (or a few) of the simulation configuration, stored under "Parameters/".
class Parameter : public Base<ParameterID>, public BaseData<ParameterID>, public api::IParameter {
 public:
  Parameter(ParameterID identifier, std::string entityName, std::string text, bool computedFlag, bool staticData,
            int typeCode, int entitySize);

  std::string getPath() const override;
  void print() const override;
  bool isTimeDependent() const override;
  ParameterID getID() const override;
};

}  // namespace model
