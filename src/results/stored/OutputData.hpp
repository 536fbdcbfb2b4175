#pragma once
// Whether the results file holds what an output is made of: a run may list an
// output whose data it never stored, and an output it did not list may still
// be computable from what it stored.

#include <optional>
#include <string>

#include "interfaces/IH5Base.hpp"
#include "interfaces/IH5Reader.hpp"
#include "interfaces/IModel.hpp"

namespace results {

// The first of the output's data that the file lacks: the group of a
// time-dependent data entry without any stored step, or a static dataset;
// empty when everything is there.
std::string missingDataset(api::IModel& model, api::IH5Base& file, model::OutputID output);

// Whether any of the output's data is stored per time step: one made of data
// stored once (delta_z of a run with a fixed bed) has no times of its own,
// and an export of it alone has nothing to write.
bool storedOverTime(api::IModel& model, model::OutputID output);

// The depth below which the run counted a cell as dry, Parameters/MinWaterDepth;
// nothing when the file has none. A stored value that is not one finite
// number >= 0 (a text, NaN, a negative depth) is refused: taken for no
// threshold, it would turn dry cells into velocities of NaN or beyond any
// flow.
std::optional<double> storedMinimumWaterDepth(api::IH5Reader& file);
// The same, 0.0 (no threshold) when the file has none.
double minimumWaterDepth(api::IH5Reader& file);

}  // namespace results
