#pragma once
// The maps of an export entry, resolved against the run before anything is
// written: which rasters, at which cell size, in which coordinate system.

#include <string>
#include <vector>

#include "interfaces/IModel.hpp"
#include "results/maps/MapRequest.hpp"

namespace results {

struct MapSelection {
  bool enabled = false;
  double cellSize = 0.0;
  std::string crsWkt;  // "" for maps without a coordinate system
  std::vector<model::OutputID> outputs;
  std::vector<std::string> outputNames;  // of outputs, in the same order
  bool envelopes = false;                 // a raster of every scalar envelope
  bool outline = false;

  bool operator==(const MapSelection& other) const {
    return enabled == other.enabled && cellSize == other.cellSize && crsWkt == other.crsWkt &&
           outputs == other.outputs && envelopes == other.envelopes && outline == other.outline;
  }
};

// The envelopes that get a raster, in the order they are written: the scalar
// ones, then the hazard classes.
std::vector<std::string> mappedEnvelopes();

// The entry's rasters (envelopes first, then outputs), then its outline.
std::vector<std::string> mapFilesOf(const std::string& stem, const MapSelection& maps);
std::string outlineFileOf(const std::string& stem);
std::string rasterFileOf(const std::string& stem, const std::string& name);

struct EntryContext {
  std::string memberPath;  // "RESULTS/EXPORT[k]/maps", as messages name it
  bool envelopes = false;  // the entry writes the envelopes
  std::vector<model::OutputID> outputs;  // that the entry writes
};

// Refuses an output the entry does not write or that is a vector, an outline
// without the envelopes, maps with nothing to draw, and a coordinate system
// PROJ does not know.
MapSelection resolveMaps(const MapRequest& request, const EntryContext& entry, api::IModel& model);

}  // namespace results
