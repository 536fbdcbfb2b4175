#include "model/compose/Factory.hpp"

#include <iostream>

#include "interfaces/Failure.hpp"
#include "model/catalogue/Catalogue.hpp"
#include "model/compose/ModelDefinition.hpp"
#include "model/compose/ModelSource.hpp"
#include "model/entities/Aggregate.hpp"
#include "model/entities/Data.hpp"
#include "model/entities/Kernel.hpp"
#include "model/entities/Map.hpp"
#include "model/entities/Output.hpp"
#include "model/entities/Parameter.hpp"
#include "model/entities/Set.hpp"
#include "model/entities/Variable.hpp"
#include "model/Model.hpp"

namespace model {

std::unique_ptr<api::IAggregate> createAggregate(AggregateID id) {
  RESULTS_CHECK(AggregateProps.count(id)==1, "aggregate property definition not found (id = ", id, ")");
  RESULTS_CHECK(AggregateDescription.count(id) == 1, "aggregate description not found (id = ", id, ")");
  const Props& props = AggregateProps.at(id);
  return std::make_unique<Aggregate>(id, props.name, AggregateDescription.at(id), props.size);
}

std::unique_ptr<api::ISet> createSet(SetID id) {
  RESULTS_CHECK(SetProps.count(id)==1, "set property definition not found");
  RESULTS_CHECK(SetDescription.count(id) == 1, "set description not found (id = ", id, ")");
  const Props& props = SetProps.at(id);
  return std::make_unique<Set>(id, props.name, SetDescription.at(id), props.size);
}

std::unique_ptr<api::IKernel> createKernel(KernelID id, api::ISet* set) {
  RESULTS_CHECK(KernelProps.count(id)==1, "kernel property definition not found");
  RESULTS_CHECK(KernelDescription.count(id) == 1, "kernel description not found (id = ", id, ")");
  return std::make_unique<Kernel>(id, KernelProps.at(id).name, KernelDescription.at(id), set);
}

std::unique_ptr<api::IMap> createMap(MapID id, api::ISet* source, api::ISet* target) {
  RESULTS_CHECK(MapProps.count(id)==1, "map property definition not found");
  RESULTS_CHECK(MapDescription.count(id) == 1, "map description not found (id = ", id, ")");
  const Props& props = MapProps.at(id);
  return std::make_unique<Map>(id, props.name, MapDescription.at(id), source, target, props.size);
}

std::unique_ptr<api::IData> createData(DataID id, api::ISet* set, bool state) {
  RESULTS_CHECK(DataProps.count(id)==1, "data property definition not found");
  RESULTS_CHECK(DataDescription.count(id) == 1, "data description not found (id = ", id, ")");
  const Props& props = DataProps.at(id);
  return std::make_unique<Data>(id, props.name, DataDescription.at(id), set, isListed(ComputedData, id),
                                isListed(StaticData, id), props.type, props.size, state);
}

std::unique_ptr<api::IParameter> createParameter(ParameterID id) {
  RESULTS_CHECK(ParameterProps.count(id)==1, "parameter property definition not found");
  RESULTS_CHECK(ParameterDescription.count(id) == 1, "parameter description not found (id = ", id, ")");
  const Props& props = ParameterProps.at(id);
  return std::make_unique<Parameter>(id, props.name, ParameterDescription.at(id), isListed(ComputedParameters, id),
                                     false, props.type, props.size);
}

std::unique_ptr<api::IVariable> createVariable(VariableID id) {
  RESULTS_CHECK(VariableProps.count(id)==1, "variable property definition not found");
  RESULTS_CHECK(VariableDescription.count(id) == 1, "variable description not found (id = ", id, ")");
  const Props& props = VariableProps.at(id);
  return std::make_unique<Variable>(id, props.name, VariableDescription.at(id), false, false, props.type,
                                    props.size);
}

std::unique_ptr<api::IOutput> createOutput(OutputID id, api::ISet* set) {
  RESULTS_CHECK(OutputProps.count(id)==1, "output property definition not found");
  RESULTS_CHECK(OutputDescription.count(id) == 1, "output description not found (id = ", id, ")");
  const Props& props = OutputProps.at(id);
  return std::make_unique<Output>(id, props.name, OutputDescription.at(id), set, props.type, props.size,
                                  isListed(MarkedOutputs, id));
}

namespace {

template <typename... Pieces>
void progress(const Pieces&... pieces) {
  std::cout << " -> ";
  (std::cout << ... << pieces);
  std::cout << std::endl;
}

std::unique_ptr<Model> fromAggregates(const std::vector<AggregateID>& aggregates, bool withStaticData) {
  RESULTS_CHECK(aggregates.size() != 0, "no aggregates found...something went wrong with the model definition");
  return std::make_unique<Model>(aggregates, withStaticData);
}

std::vector<AggregateID> allAggregates() {
  std::vector<AggregateID> all;
  for (const auto& aggregate : AggregateProps) all.push_back(aggregate.first);
  return all;
}

// Models of a whole setup carry the static data; models of one aggregate or kernel do not.
std::unique_ptr<Model> composeModel(const std::string& definition) {
  if (splitAtPoints(definition).empty()) {
    progress("composing the full model");
    return fromAggregates(allAggregates(), true);
  }
  const std::vector<std::string> pieces = definitionPieces(definition);
  if (pieces.size() == 2) {
    if (pieces[1] == "json") {
      progress("composing the model from the input file");
      return fromAggregates(selectAggregates(definition), true);
    }
    if (pieces[1] == "h5") {
      progress("composing the model from archive");
      return fromAggregates(selectArchivedAggregates(definition), true);
    }
    if (pieces[0] == "a" && isDigitString(pieces[1])) {
      const int number = std::stoi(pieces[1]);
      progress("composing the model for aggregate <", number, ">");
      return fromAggregates({static_cast<AggregateID>(number)}, false);
    }
    if (pieces[0] == "k" && isDigitString(pieces[1])) {
      const int number = std::stoi(pieces[1]);
      progress("composing the model for kernel <", number, ">");
      return std::make_unique<Model>(std::vector<KernelID>{static_cast<KernelID>(number)}, false);
    }
  }
  failure::fail("no model definition found");
}

}  // namespace
}  // namespace model

api::IModel* compose(const std::string& definition) {
  std::unique_ptr<model::Model> composed = model::composeModel(definition);
  composed->build();
  return composed.release();
}
