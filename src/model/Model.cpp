#include "model/Model.hpp"

#include <algorithm>
#include <iostream>

#include "interfaces/Failure.hpp"
#include "model/catalogue/Catalogue.hpp"
#include "model/compose/Factory.hpp"
#include "model/outputs/OutputDefinitions.hpp"

namespace model {
namespace {

template <typename ID>
void sortUnique(std::vector<ID>& ids) {
  std::sort(ids.begin(), ids.end());
  ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
}

// The union of the relation's lists over the keys; keys without an entry bring nothing.
template <typename Key, typename Value>
std::vector<Value> collect(const std::map<Key, std::vector<Value>>& relation, const std::vector<Key>& keys) {
  std::vector<Value> all;
  for (Key key : keys) {
    const auto found = relation.find(key);
    if (found != relation.end()) all.insert(all.end(), found->second.begin(), found->second.end());
  }
  sortUnique(all);
  return all;
}

template <typename Key, typename Value>
std::vector<Value> entryOrEmpty(const std::map<Key, std::vector<Value>>& relation, Key key) {
  const auto found = relation.find(key);
  return found == relation.end() ? std::vector<Value>() : found->second;
}

template <typename Entity, typename ID>
Entity* lookup(const std::map<ID, std::unique_ptr<Entity>>& entities, ID id, const char* kind) {
  const auto found = entities.find(id);
  Entity* c = found == entities.end() ? nullptr : found->second.get();
  RESULTS_CHECK(c != 0, kind, " <", id, "> not found");
  return c;
}

template <typename Entity, typename ID>
bool holds(const std::map<ID, std::unique_ptr<Entity>>& entities, ID id) {
  const auto found = entities.find(id);
  return found != entities.end() && found->second != nullptr;
}

SetID setOfKernel(KernelID kid) {
  RESULTS_CHECK(Kernel2Set.count(kid) == 1, "no set defined for kernel <", kid, ">");
  return Kernel2Set.at(kid);
}

std::pair<SetID, SetID> setsOfMap(MapID mid) {
  RESULTS_CHECK(Map2Sets.count(mid) == 1, "no set defined for map <", mid, ">");
  return Map2Sets.at(mid);
}

SetID setOfData(DataID did) {
  RESULTS_CHECK(Data2Set.count(did) == 1, "no set defined for data <", did, ">");
  return Data2Set.at(did);
}

// A kernel reaches data on another set only through some map between the two.
void requireIndirection(SetID kernelSet, SetID dataSet) {
  bool ok = false;
  for (const auto& sets : Map2Sets) {
    if (sets.second.first == kernelSet && sets.second.second == dataSet) ok = true;
  }
  RESULTS_CHECK(ok == true, "no indirection map defined from set <", kernelSet, "> to set <", dataSet, ">");
}

const std::vector<DataColumn>& columnsOf(OutputID oid) {
  RESULTS_CHECK(Output2DataColumns.count(oid) == 1, "no data defined for output <", oid, ">");
  return Output2DataColumns.at(oid);
}

}  // namespace

Model::Model(const std::vector<AggregateID>& aggregates, bool withStaticData) : aggregateIDs(aggregates) {
  for (AggregateID aid : aggregates) {
    RESULTS_CHECK(AggregateDescription.count(aid) > 0, "aggregate <", aid, "> not defined");
  }
  // The union is sorted: the execution order of the aggregates' kernels is not kept.
  kernelIDs = collect(Aggregate2Kernels, aggregates);
  close(withStaticData);
}

Model::Model(const std::vector<KernelID>& kernels, bool withStaticData) : kernelIDs(kernels) {
  for (KernelID kid : kernels) {
    RESULTS_CHECK(KernelDescription.count(kid) > 0, "kernel <", kid, "> not defined");
  }
  close(withStaticData);
}

void Model::close(bool withStaticData) {
  dataIDs = collect(Kernel2Data, kernelIDs);
  mapIDs = collect(Kernel2Maps, kernelIDs);
  parameterIDs = collect(Kernel2Parameters, kernelIDs);
  variableIDs = collect(Kernel2Variables, kernelIDs);
  collectSets();
  if (withStaticData) addStaticData();
  sortUnique(setIDs);
  sortUnique(dataIDs);
  sortUnique(parameterIDs);
  addMarkedOutputs();
}

void Model::collectSets() {
  for (KernelID kid : kernelIDs) {
    const SetID kernelSet = setOfKernel(kid);
    setIDs.push_back(kernelSet);
    for (MapID mid : entryOrEmpty(Kernel2Maps, kid)) {
      const std::pair<SetID, SetID> sets = setsOfMap(mid);
      setIDs.push_back(sets.first);
      setIDs.push_back(sets.second);
    }
    for (DataID did : entryOrEmpty(Kernel2Data, kid)) {
      const SetID dataSet = setOfData(did);
      setIDs.push_back(dataSet);
      if (dataSet != kernelSet) requireIndirection(kernelSet, dataSet);
    }
  }
}

void Model::addStaticData() {
  for (DataID did : StaticData) {
    dataIDs.push_back(did);
    setIDs.push_back(setOfData(did));
  }
}

// A marked output belongs to every model that holds all of its data.
void Model::addMarkedOutputs() {
  for (OutputID oid : MarkedOutputs) {
    bool complete = true;
    for (const DataColumn& column : columnsOf(oid)) complete = complete && isListed(dataIDs, column.first);
    if (complete) outputIDs.push_back(oid);
  }
}

bool Model::isStateData(DataID id) const {
  for (KernelID kid : kernelIDs) {
    const auto state = Kernel2StateData.find(kid);
    if (state != Kernel2StateData.end() && state->second == id) return true;
  }
  return false;
}

api::ISet* Model::setEntity(SetID id) const { return sMap.at(id).get(); }

void Model::addKernel(KernelID id, api::ISet* set) {
  kMap[id] = createKernel(id, set);
  const auto extra = Kernel2ExtraData.find(id);
  if (extra != Kernel2ExtraData.end()) kMap[id]->setExtraData(extra->second);
}

void Model::addOutput(OutputID id) {
  oMap[id] = createOutput(id, setEntity(Output2Set.at(id)));
  configureOutput(id);
}

void Model::build() {
  for (AggregateID id : aggregateIDs) aMap[id] = createAggregate(id);
  for (SetID id : setIDs) sMap[id] = createSet(id);
  for (KernelID id : kernelIDs) addKernel(id, setEntity(Kernel2Set.at(id)));
  for (MapID id : mapIDs) {
    const std::pair<SetID, SetID>& sets = Map2Sets.at(id);
    mMap[id] = createMap(id, setEntity(sets.first), setEntity(sets.second));
  }
  for (DataID id : dataIDs) dMap[id] = createData(id, setEntity(Data2Set.at(id)), isStateData(id));
  for (ParameterID id : parameterIDs) pMap[id] = createParameter(id);
  for (VariableID id : variableIDs) vMap[id] = createVariable(id);
  for (OutputID id : outputIDs) addOutput(id);
}

// Valid are the unmarked outputs whose set and data this built model holds.
std::vector<OutputID> Model::validOutputs() const {
  std::vector<OutputID> valid;
  for (const auto& it : Output2Set) {
    RESULTS_CHECK(Output2DataColumns.count(it.first) == 1, "no data defined for output <", it.first, ">");
    bool producible = !isListed(MarkedOutputs, it.first) && holds(sMap, it.second);
    for (const DataColumn& column : Output2DataColumns.at(it.first)) {
      producible = producible && holds(dMap, column.first);
    }
    if (producible) valid.push_back(it.first);
  }
  return valid;
}

// A name that is no valid output is refused with the list of the valid ones.
OutputID Model::validOutput(const std::string& name, const std::vector<OutputID>& valid) const {
  for (OutputID oid : valid)
    if (OutputProps.at(oid).name == name) return oid;
  std::cerr << " -> output <" << name << "> cannot be defined within the this model setup, valid are:" << std::endl;
  for (OutputID oid : valid) std::cerr << " -> " << OutputProps.at(oid).name << std::endl;
  failure::fail("");
}

void Model::defineOutputs(const std::vector<std::string>& names) {
  const std::vector<OutputID> valid = validOutputs();
  for (const std::string& name : names) {
    const OutputID oid = validOutput(name, valid);
    addOutput(oid);
    outputIDs.push_back(oid);
  }
}

std::vector<OutputID> Model::getValidOutputs() const { return validOutputs(); }

// An output the model already holds (the run's, or one marked by its setup)
// is taken as it is.
OutputID Model::requireOutput(const std::string& name) {
  for (const auto& held : oMap)
    if (held.second && OutputProps.at(held.first).name == name) return held.first;
  const OutputID oid = validOutput(name, validOutputs());
  addOutput(oid);
  return oid;
}

void Model::configureOutput(OutputID oid) {
  RESULTS_CHECK(this->oMap.count(oid), "output <", oid, "> not existing");
  const auto functions = OutputFunctions.find(oid);
  const auto columns = Output2DataColumns.find(oid);
  if (columns == Output2DataColumns.end()) return;
  oMap.at(oid)->setDataColumns(columns->second, functions == OutputFunctions.end()
                                                    ? std::vector<OutputFunction>()
                                                    : functions->second);
}

std::vector<AggregateID> Model::getAggregates() const { return aggregateIDs; }
std::vector<KernelID> Model::getKernels() const { return kernelIDs; }
std::vector<SetID> Model::getSets() const { return setIDs; }
std::vector<MapID> Model::getMaps() const { return mapIDs; }
std::vector<DataID> Model::getData() const { return dataIDs; }
std::vector<ParameterID> Model::getParameters() const { return parameterIDs; }
std::vector<VariableID> Model::getVariables() const { return variableIDs; }
std::vector<OutputID> Model::getOutputs() const { return outputIDs; }

api::IAggregate* Model::getAggregate(AggregateID id) const { return lookup(aMap, id, "aggregate"); }
api::IKernel* Model::getKernel(KernelID id) const { return lookup(kMap, id, "kernel"); }
api::ISet* Model::getSet(SetID id) const { return lookup(sMap, id, "set"); }
api::IData* Model::getData(DataID id) const { return lookup(dMap, id, "data"); }
api::IMap* Model::getMap(MapID id) const { return lookup(mMap, id, "map"); }
api::IParameter* Model::getParameter(ParameterID id) const { return lookup(pMap, id, "parameter"); }
api::IVariable* Model::getVariable(VariableID id) const { return lookup(vMap, id, "variable"); }
api::IOutput* Model::getOutput(OutputID id) const { return lookup(oMap, id, "output"); }

api::IBase* Model::getOutputBase(OutputID id) const { return getOutput(id); }
api::IBase* Model::getVariableBase(VariableID id) const { return getVariable(id); }
api::IBase* Model::getParameterBase(ParameterID id) const { return getParameter(id); }
api::IBase* Model::getMapBase(MapID id) const { return getMap(id); }
api::IBase* Model::getDataBase(DataID id) const { return getData(id); }
api::IBase* Model::getSetBase(SetID id) const { return getSet(id); }
api::IBase* Model::getKernelBase(KernelID id) const { return getKernel(id); }
api::IBase* Model::getAggregateBase(AggregateID id) const { return getAggregate(id); }

api::IBase* Model::getOrCreateParameter(ParameterID id) {
  if (!holds(pMap, id)) pMap[id] = createParameter(id);
  return pMap.at(id).get();
}

api::IBase* Model::getOrCreateMap(MapID id) {
  if (!holds(mMap, id)) {
    const std::pair<SetID, SetID>& sets = Map2Sets.at(id);
    mMap[id] = createMap(id, ensureSet(sets.first), ensureSet(sets.second));
  }
  return mMap.at(id).get();
}

api::IBase* Model::getOrCreateData(DataID id) {
  if (!holds(dMap, id)) {
    dMap[id] = createData(id, ensureSet(Data2Set.at(id)), isStateData(id));
  }
  return dMap.at(id).get();
}

api::IBase* Model::getOrCreateSet(SetID id) { return ensureSet(id); }

api::ISet* Model::ensureSet(SetID id) {
  if (!holds(sMap, id)) sMap[id] = createSet(id);
  return sMap.at(id).get();
}

api::IBase* Model::getOrCreateKernel(KernelID id) {
  if (!holds(kMap, id)) addKernel(id, ensureSet(Kernel2Set.at(id)));
  return kMap.at(id).get();
}

}  // namespace model
