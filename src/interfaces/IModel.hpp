#pragma once
// One composed model: identifier lists per kind and one entity per identifier.

#include <string>
#include <vector>

#include "interfaces/IEntities.hpp"

namespace api {

class IModel {
 public:
  virtual ~IModel() = default;

  virtual void build() = 0;
  virtual void defineOutputs(const std::vector<std::string>& names) = 0;

  virtual std::vector<model::AggregateID> getAggregates() const = 0;
  virtual std::vector<model::KernelID> getKernels() const = 0;
  virtual std::vector<model::SetID> getSets() const = 0;
  virtual std::vector<model::MapID> getMaps() const = 0;
  virtual std::vector<model::DataID> getData() const = 0;
  virtual std::vector<model::ParameterID> getParameters() const = 0;
  virtual std::vector<model::VariableID> getVariables() const = 0;
  virtual std::vector<model::OutputID> getOutputs() const = 0;

  virtual IAggregate* getAggregate(model::AggregateID id) const = 0;
  virtual IKernel* getKernel(model::KernelID id) const = 0;
  virtual ISet* getSet(model::SetID id) const = 0;
  virtual IData* getData(model::DataID id) const = 0;
  virtual IMap* getMap(model::MapID id) const = 0;
  virtual IParameter* getParameter(model::ParameterID id) const = 0;
  virtual IVariable* getVariable(model::VariableID id) const = 0;
  virtual IOutput* getOutput(model::OutputID id) const = 0;

  virtual IBase* getOutputBase(model::OutputID id) const = 0;
  virtual IBase* getVariableBase(model::VariableID id) const = 0;
  virtual IBase* getParameterBase(model::ParameterID id) const = 0;
  virtual IBase* getMapBase(model::MapID id) const = 0;
  virtual IBase* getDataBase(model::DataID id) const = 0;
  virtual IBase* getSetBase(model::SetID id) const = 0;
  virtual IBase* getKernelBase(model::KernelID id) const = 0;
  virtual IBase* getAggregateBase(model::AggregateID id) const = 0;

  virtual IBase* getOrCreateParameter(model::ParameterID id) = 0;
  virtual IBase* getOrCreateMap(model::MapID id) = 0;
  virtual IBase* getOrCreateData(model::DataID id) = 0;
  virtual IBase* getOrCreateSet(model::SetID id) = 0;
  virtual IBase* getOrCreateKernel(model::KernelID id) = 0;

  // The outputs this model setup can produce, in catalogue order.
  virtual std::vector<model::OutputID> getValidOutputs() const = 0;
  // The output of this name, its entity made when missing, without adding it
  // to the output list; a name that is not valid is refused as by defineOutputs.
  virtual model::OutputID requireOutput(const std::string& name) = 0;
};

}  // namespace api
