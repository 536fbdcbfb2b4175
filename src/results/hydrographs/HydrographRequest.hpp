#pragma once
// The members "gauges" and "sections" of an export entry, read and checked
// against everything that does not need the run: the schema has checked the
// types, this checks what it cannot say (counts, names, points).

#include "interfaces/ICommandFileReader.hpp"
#include "results/hydrographs/HydrographPlaces.hpp"

namespace results {

// Fails with one line naming the member: an empty list, more than
// mostHydrographPlaces, a name that is not letters, digits, '_' and '-' or
// that another gauge or section of the entry has, a coordinate that is not a
// finite number, a point that is not [x, y], a section of fewer than two
// points or with two equal neighbours.
HydrographPlaces readHydrographPlaces(const api::ICommandFileReader& config, int entry);

}  // namespace results
