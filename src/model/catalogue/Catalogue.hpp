#pragma once
// The fixed catalogue of the simulation model: one property record and one
// description per identifier, and the relations between identifiers of
// different kinds. The tables are filled before the entry point runs and are
// never changed; iteration follows ascending identifiers.

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "interfaces/ModelIdentifiers.hpp"

namespace model {

// Type codes of the property records; any other code has no type name.
constexpr std::int32_t typeInt = 1;
constexpr std::int32_t typeDouble = 2;
constexpr std::int32_t typeString = 4;

struct Props {
  std::string name;
  std::int32_t size;  // columns (components) per element
  std::int32_t type;  // type code
};

template <typename ID>
using PropsTable = std::map<ID, Props>;
template <typename ID>
using DescriptionTable = std::map<ID, std::string>;

extern const PropsTable<AggregateID> AggregateProps;
extern const DescriptionTable<AggregateID> AggregateDescription;
// Key paths into the model input file; an aggregate is part of a setup when all are present.
extern const std::map<AggregateID, std::vector<std::string>> AggregatePaths;
extern const std::map<AggregateID, std::vector<KernelID>> Aggregate2Kernels;

extern const PropsTable<KernelID> KernelProps;
extern const DescriptionTable<KernelID> KernelDescription;
extern const std::map<KernelID, SetID> Kernel2Set;

// A kernel without an entry in one of these relations has nothing of that kind.
extern const std::map<KernelID, std::vector<DataID>> Kernel2Data;
extern const std::map<KernelID, std::vector<MapID>> Kernel2Maps;
extern const std::map<KernelID, std::vector<ParameterID>> Kernel2Parameters;
extern const std::map<KernelID, std::vector<VariableID>> Kernel2Variables;
extern const std::map<KernelID, std::vector<DataID>> Kernel2ExtraData;
extern const std::map<KernelID, DataID> Kernel2StateData;

extern const PropsTable<SetID> SetProps;
extern const DescriptionTable<SetID> SetDescription;

extern const PropsTable<DataID> DataProps;
extern const DescriptionTable<DataID> DataDescription;
extern const std::map<DataID, SetID> Data2Set;

extern const PropsTable<MapID> MapProps;
extern const DescriptionTable<MapID> MapDescription;
// Source set, then target set.
extern const std::map<MapID, std::pair<SetID, SetID>> Map2Sets;

extern const PropsTable<ParameterID> ParameterProps;
extern const DescriptionTable<ParameterID> ParameterDescription;

extern const PropsTable<VariableID> VariableProps;
extern const DescriptionTable<VariableID> VariableDescription;

extern const PropsTable<OutputID> OutputProps;
extern const DescriptionTable<OutputID> OutputDescription;
extern const std::map<OutputID, SetID> Output2Set;

// Entity flags: computed and static data, computed parameters, marked outputs.
extern const std::vector<DataID> ComputedData;
extern const std::vector<DataID> StaticData;
extern const std::vector<ParameterID> ComputedParameters;
extern const std::vector<OutputID> MarkedOutputs;

template <typename ID>
bool isListed(const std::vector<ID>& list, ID id) {
  return std::find(list.begin(), list.end(), id) != list.end();
}

}  // namespace model
