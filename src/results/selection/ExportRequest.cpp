#include "results/selection/ExportRequest.hpp"

#include <cmath>
#include <limits>

#include "results/hydrographs/HydrographRequest.hpp"

namespace results {

namespace {

const char* const selectionMembers[] = {"outputs", "from", "to", "every", "document", "mesh_2dm", "portable",
                                         "envelopes", "gauges", "sections", "maps"};

std::optional<double> number(const api::ICommandFileReader& config, int entry, const std::string& key) {
  if (!config.hasItem(exportListPath, entry, key)) return std::nullopt;
  return config.getItemDouble(exportListPath, entry, key, 0.0);
}

// Read as a double: an integer beyond the int range must not wrap to a small
// stride. The schema has already refused anything below 1.
std::size_t stride(const api::ICommandFileReader& config, int entry) {
  const double every = config.getItemDouble(exportListPath, entry, "every", 1.0);
  constexpr double largest = static_cast<double>(std::numeric_limits<std::size_t>::max() / 2);
  if (!(every >= 1.0)) return 1;
  return every >= largest ? static_cast<std::size_t>(largest) : static_cast<std::size_t>(every);
}

}  // namespace

std::string ExportRequest::memberPath(const std::string& key) const {
  return entryPath(entry) + "/" + key;
}

ExportRequest readExportRequest(const api::ICommandFileReader& config, int entry) {
  ExportRequest request;
  request.entry = entry;
  if (config.hasItem(exportListPath, entry, "outputs"))
    request.outputs = config.getItemStringVector(exportListPath, entry, "outputs", {});
  request.from = number(config, entry, "from");
  request.to = number(config, entry, "to");
  request.every = stride(config, entry);
  if (config.hasItem(exportListPath, entry, "document"))
    request.document = config.getItemString(exportListPath, entry, "document", std::string());
  request.mesh2dm = config.getItemBool(exportListPath, entry, "mesh_2dm", false);
  request.portable = config.getItemBool(exportListPath, entry, "portable", false);
  request.envelopes = config.hasItem(exportListPath, entry, "envelopes");
  request.wetDepth = number(config, entry, "envelopes/wet_depth");
  request.hydrographs = readHydrographPlaces(config, entry);
  request.maps = readMapRequest(config, entry);
  return request;
}

bool anyEntrySelects(const api::ICommandFileReader& config, int entries) {
  for (int entry = 0; entry < entries; ++entry)
    for (const char* member : selectionMembers)
      if (config.hasItem(exportListPath, entry, member)) return true;
  return false;
}

}  // namespace results
