#pragma once
// Where an output's data columns lie at a stored step, as both document forms
// and the step stream read them.

#include <string>
#include <utility>
#include <vector>

#include "interfaces/IModel.hpp"
#include "results/stream/StepStream.hpp"

namespace results {

using DataColumns = std::vector<model::DataColumn>;

// Stored columns are read where they lie; water_depth and delta_z are left to
// the viewer as functions of them; every other output with functions is
// computed here.
enum class OutputKind { direct, function, computed };
OutputKind kindOf(api::IOutput* out);

// The dataset that holds the selected data column of out at step: the data
// entry's own path when it is stored once, else its step dataset. A repeated
// column reads its first occurrence from the first stored step, so that an
// output can be a difference against the initial state.
std::string columnDatasetPath(api::IModel& model, api::IOutput* out, const DataColumns& dataCols,
                              DataColumns::const_iterator selected, int step);

// The dataset and column of each item of a direct or function output at the
// step; the flood record's five are all read at the first stored step.
std::vector<std::pair<std::string, int>> storedColumns(api::IModel& model, api::IOutput* out, int step);

// The output's columns at this step, opened for streaming; each must lie in
// its dataset, and all must be of one length.
std::vector<StepInput> streamedColumns(StepStream& stream, api::IModel& model, api::IOutput* out, int step);

}  // namespace results
