#pragma once

#include "model/entities/Base.hpp"

namespace model {

// A dataset of the simulation: columns per element of its set.
class Data : public Base<DataID>, public BaseData<DataID>, public BaseSet<DataID>, public api::IData {
 public:
  Data(DataID identifier, std::string entityName, std::string text, api::ISet* entitySet, bool computedFlag,
       bool staticData, int typeCode, int entitySize, bool stateFlag);

  std::string getPath() const override;
  void print() const override;
  bool isTimeDependent() const override;
  DataID getID() const override;
};

}  // namespace model
