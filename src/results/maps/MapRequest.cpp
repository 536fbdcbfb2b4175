#include "results/maps/MapRequest.hpp"

#include "results/selection/ExportRequest.hpp"

namespace results {

std::optional<MapRequest> readMapRequest(const api::ICommandFileReader& config, int entry) {
  if (!config.hasItem(exportListPath, entry, "maps")) return std::nullopt;
  MapRequest request;
  request.cellSize = config.getItemDouble(exportListPath, entry, "maps/cell_size", 0.0);
  if (config.hasItem(exportListPath, entry, "maps/crs"))
    request.crs = config.getItemString(exportListPath, entry, "maps/crs", std::string());
  if (config.hasItem(exportListPath, entry, "maps/outputs"))
    request.outputs = config.getItemStringVector(exportListPath, entry, "maps/outputs", {});
  request.outline = config.getItemBool(exportListPath, entry, "maps/outline", false);
  return request;
}

}  // namespace results
