#include "results/maps/MapSelection.hpp"

#include <algorithm>

#include "dataio/gis/SpatialReference.hpp"
#include "interfaces/Failure.hpp"
#include "results/envelopes/EnvelopeDatasets.hpp"
#include "results/hydrographs/GaugeOutput.hpp"

namespace results {
namespace {

model::OutputID mappedOutput(const std::string& name, const std::string& member, const EntryContext& entry,
                             api::IModel& model) {
  for (const model::OutputID id : entry.outputs) {
    api::IOutput* out = model.getOutput(id);
    if (out->getName() != name) continue;
    const GaugeOutput values(model, out);
    if (values.isVector())
      failure::fail(member, " <", name, "> is a vector output: a map holds one value per cell; ",
                    "its magnitude is an output of its own");
    if (values.headers().size() != 1)
      failure::fail(member, " <", name, "> holds ", values.headers().size(), " values per cell; a map holds one");
    return id;
  }
  failure::fail(member, " <", name, "> is not an output of this entry");
}

}  // namespace

std::vector<std::string> mappedEnvelopes() {
  std::vector<std::string> names;
  for (const EnvelopeDataset& dataset : envelopeDatasets())
    if (dataset.columns == 1) names.push_back(dataset.name);
  names.push_back(hazardClassDataset().name);
  return names;
}

std::string rasterFileOf(const std::string& stem, const std::string& name) { return stem + "_" + name + ".tif"; }

std::string outlineFileOf(const std::string& stem) { return stem + "_outline.gpkg"; }

std::vector<std::string> mapFilesOf(const std::string& stem, const MapSelection& maps) {
  std::vector<std::string> files;
  if (!maps.enabled) return files;
  if (maps.envelopes)
    for (const std::string& name : mappedEnvelopes()) files.push_back(rasterFileOf(stem, name));
  for (const std::string& name : maps.outputNames) files.push_back(rasterFileOf(stem, name));
  if (maps.outline) files.push_back(outlineFileOf(stem));
  return files;
}

MapSelection resolveMaps(const MapRequest& request, const EntryContext& entry, api::IModel& model) {
  MapSelection maps;
  maps.enabled = true;
  maps.cellSize = request.cellSize;
  maps.envelopes = entry.envelopes;
  maps.outline = request.outline;
  for (std::size_t k = 0; k < request.outputs.size(); ++k) {
    const std::string& name = request.outputs[k];
    const std::string member = entry.memberPath + "/outputs/" + std::to_string(k);
    if (std::find(maps.outputNames.begin(), maps.outputNames.end(), name) != maps.outputNames.end())
      failure::fail(member, " <", name, "> is named twice");
    maps.outputs.push_back(mappedOutput(name, member, entry, model));
    maps.outputNames.push_back(name);
  }
  if (request.outline && !entry.envelopes)
    failure::fail(entry.memberPath, "/outline needs the envelopes: the outline is drawn from water_depth_max");
  if (!entry.envelopes && maps.outputs.empty())
    failure::fail(entry.memberPath, " has nothing to draw: give \"outputs\", or \"envelopes\" in the entry");
  if (request.crs) {
    const dataio::SpatialReference reference = dataio::spatialReferenceOf(*request.crs);
    if (reference.wkt.empty())
      failure::fail(entry.memberPath, "/crs <", *request.crs, "> is no coordinate system PROJ knows: ",
                    reference.reason);
    maps.crsWkt = reference.wkt;
  }
  return maps;
}

}  // namespace results
