#pragma once
// Where a whole simulation setup comes from: its model input file, or the copy
// of it archived in the results file.

#include <string>
#include <vector>

#include "interfaces/ModelIdentifiers.hpp"

namespace model {

// The aggregates whose key paths are all present in the command file (a file
// name or JSON text), in ascending order, each announced on the console.
std::vector<AggregateID> selectAggregates(const std::string& source);

// The model input text archived in the results file (.config/model).
std::string readArchivedModel(const std::string& fileName);

}  // namespace model
