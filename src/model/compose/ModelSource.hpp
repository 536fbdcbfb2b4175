#pragma once
// Where a whole simulation setup comes from: its model input file, or the copy
// of it archived in the results file.

#include <string>
#include <vector>

#include "interfaces/ModelIdentifiers.hpp"

namespace model {

// The aggregates whose key paths are all present in the model input file,
// in ascending order, each announced on the console.
std::vector<AggregateID> selectAggregates(const std::string& inputFile);

// The same for the model input text archived in the results file
// (.config/model). The text is taken as JSON text only, never as the name of
// a file: a results file must not make the tool read other files.
std::vector<AggregateID> selectArchivedAggregates(const std::string& resultsFile);

}  // namespace model
