#pragma once
// What each output is made of: the data columns it reads and, for outputs that
// are not plain copies of their columns, one function entry per component.

#include <map>
#include <vector>

#include "interfaces/IEntities.hpp"

namespace model {

// Every output has its column list.
extern const std::map<OutputID, std::vector<DataColumn>> Output2DataColumns;
// Only computed outputs have entries, exactly one per component.
extern const std::map<OutputID, std::vector<OutputFunction>> OutputFunctions;

}  // namespace model
