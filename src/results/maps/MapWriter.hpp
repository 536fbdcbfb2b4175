#pragma once
// Draws an entry's maps once its pass over the steps is done: a GeoTIFF per
// mapped envelope and per mapped output, and the outline's GeoPackage, each
// under its staged name, from one index of the cell each pixel shows.

#include <functional>
#include <string>
#include <vector>

#include "results/envelopes/Envelopes.hpp"
#include "results/geometry/PlaneMesh.hpp"
#include "results/maps/CellRaster.hpp"
#include "results/maps/MapRecorder.hpp"
#include "results/maps/MapSelection.hpp"

namespace results {

struct MapSources {
  const Envelopes* envelopes = nullptr;  // when the entry maps the envelopes
  double wetDepth = 0.0;                  // of the envelopes, for the outline
  const MapRecorder* outputs = nullptr;   // when it maps outputs
};

// Called before map k (1 to count) is drawn.
using MapProgress = std::function<void(int k, int count)>;

// files: the entry's map files (mapFilesOf) and, in the same order, where to
// write them.
void writeMaps(const MapSelection& maps, const PlaneMesh& mesh, const CellRaster& raster, const MapSources& sources,
               const std::vector<std::string>& files, const std::vector<std::string>& stagedFiles,
               const MapProgress& progress);

}  // namespace results
