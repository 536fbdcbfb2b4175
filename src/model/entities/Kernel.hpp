#pragma once

#include "model/entities/Base.hpp"

namespace model {

// One computation step of the simulation, running over the elements of its set.
class Kernel : public Base<KernelID>, public BaseSet<KernelID>, public api::IKernel {
 public:
  Kernel(KernelID identifier, std::string entityName, std::string text, api::ISet* entitySet);

  std::string getPath() const override;
  void print() const override;
  KernelID getID() const override;
  void setExtraData(const std::vector<DataID>& data) override;
  std::vector<DataID> getExtraData() const override;

 private:
  std::vector<DataID> extraData;
};

}  // namespace model
