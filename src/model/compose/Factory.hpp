#pragma once
// Composition of a model from its definition text, and the entity factories,
// which fail loudly for identifiers that the catalogue does not describe.

#include <memory>
#include <string>

#include "interfaces/IModel.hpp"

namespace model {

std::unique_ptr<api::IAggregate> createAggregate(AggregateID id);
std::unique_ptr<api::ISet> createSet(SetID id);
std::unique_ptr<api::IKernel> createKernel(KernelID id, api::ISet* set);
std::unique_ptr<api::IMap> createMap(MapID id, api::ISet* source, api::ISet* target);
std::unique_ptr<api::IData> createData(DataID id, api::ISet* set, bool state);
std::unique_ptr<api::IParameter> createParameter(ParameterID id);
std::unique_ptr<api::IVariable> createVariable(VariableID id);
std::unique_ptr<api::IOutput> createOutput(OutputID id, api::ISet* set);

}  // namespace model

// The definition is a model input file ("setup.json"), a results file whose
// archive holds that input ("run.h5"), one aggregate ("a.3") or kernel ("k.21")
// by number, or empty for the full model. The returned model is built and owned
// by the caller.
api::IModel* compose(const std::string& definition);
