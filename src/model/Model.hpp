#pragma once
// One composed model: the identifiers of each kind that the simulation used and,
// once built, one entity per identifier. The model owns its entities.

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "interfaces/IModel.hpp"

namespace model {

class Model : public api::IModel {
 public:
  // Kernels of the aggregates, closed over the relation tables. Static data
  // (mesh and nodestring names) is added for models of a whole setup.
  Model(const std::vector<AggregateID>& aggregates, bool withStaticData);
  Model(const std::vector<KernelID>& kernels, bool withStaticData);

  void build() override;
  void defineOutputs(const std::vector<std::string>& names) override;

  std::vector<AggregateID> getAggregates() const override;
  std::vector<KernelID> getKernels() const override;
  std::vector<SetID> getSets() const override;
  std::vector<MapID> getMaps() const override;
  std::vector<DataID> getData() const override;
  std::vector<ParameterID> getParameters() const override;
  std::vector<VariableID> getVariables() const override;
  std::vector<OutputID> getOutputs() const override;

  api::IAggregate* getAggregate(AggregateID id) const override;
  api::IKernel* getKernel(KernelID id) const override;
  api::ISet* getSet(SetID id) const override;
  api::IData* getData(DataID id) const override;
  api::IMap* getMap(MapID id) const override;
  api::IParameter* getParameter(ParameterID id) const override;
  api::IVariable* getVariable(VariableID id) const override;
  api::IOutput* getOutput(OutputID id) const override;

  api::IBase* getOutputBase(OutputID id) const override;
  api::IBase* getVariableBase(VariableID id) const override;
  api::IBase* getParameterBase(ParameterID id) const override;
  api::IBase* getMapBase(MapID id) const override;
  api::IBase* getDataBase(DataID id) const override;
  api::IBase* getSetBase(SetID id) const override;
  api::IBase* getKernelBase(KernelID id) const override;
  api::IBase* getAggregateBase(AggregateID id) const override;

  // These create what is missing, with the sets it lives on, without listing it.
  api::IBase* getOrCreateParameter(ParameterID id) override;
  api::IBase* getOrCreateMap(MapID id) override;
  api::IBase* getOrCreateData(DataID id) override;
  api::IBase* getOrCreateSet(SetID id) override;
  api::IBase* getOrCreateKernel(KernelID id) override;

  std::vector<OutputID> getValidOutputs() const override;
  OutputID requireOutput(const std::string& name) override;

  // Hands the output entity its data columns and function entries.
  void configureOutput(OutputID oid);

 private:
  void close(bool withStaticData);
  void collectSets();
  void addStaticData();
  void addMarkedOutputs();
  bool isStateData(DataID id) const;
  api::ISet* setEntity(SetID id) const;
  api::ISet* ensureSet(SetID id);
  void addKernel(KernelID id, api::ISet* set);
  void addOutput(OutputID id);
  std::vector<OutputID> validOutputs() const;
  OutputID validOutput(const std::string& name, const std::vector<OutputID>& valid) const;

  std::vector<AggregateID> aggregateIDs;
  std::vector<KernelID> kernelIDs;
  std::vector<SetID> setIDs;
  std::vector<MapID> mapIDs;
  std::vector<DataID> dataIDs;
  std::vector<ParameterID> parameterIDs;
  std::vector<VariableID> variableIDs;
  std::vector<OutputID> outputIDs;

  std::map<AggregateID, std::unique_ptr<api::IAggregate>> aMap;
  std::map<KernelID, std::unique_ptr<api::IKernel>> kMap;
  std::map<SetID, std::unique_ptr<api::ISet>> sMap;
  std::map<DataID, std::unique_ptr<api::IData>> dMap;
  std::map<MapID, std::unique_ptr<api::IMap>> mMap;
  std::map<ParameterID, std::unique_ptr<api::IParameter>> pMap;
  std::map<VariableID, std::unique_ptr<api::IVariable>> vMap;
  std::map<OutputID, std::unique_ptr<api::IOutput>> oMap;
};

}  // namespace model
