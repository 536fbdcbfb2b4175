#pragma once
// The part of an entry's announcement that names its series:
// ", 3 gauges and 2 sections to flood_*.csv".

#include <ostream>

#include "results/selection/ExportSelection.hpp"

namespace results {

void announceHydrographs(std::ostream& out, const ExportSelection& selection);

}  // namespace results
