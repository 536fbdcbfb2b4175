#pragma once
// The entry's maps on its announcement line, and the warning for maps
// without a coordinate system.

#include <ostream>

#include "results/selection/ExportSelection.hpp"

namespace results {

// ", 10 maps at 2 m to dambreak_*.tif and the outline to dambreak_outline.gpkg"
void announceMaps(std::ostream& out, const ExportSelection& selection);

// " -> the maps of RESULTS/EXPORT[0] carry no coordinate system: GIS will ask
// for one (name it with "crs" in RESULTS/EXPORT[0]/maps)"
void warnOfMapsWithoutCrs(int entry);

}  // namespace results
