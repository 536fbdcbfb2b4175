#pragma once
// What one entry of RESULTS/EXPORT asks for beyond its format, as the
// configuration states it: nothing here is checked against the run yet.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "interfaces/ICommandFileReader.hpp"
#include "results/hydrographs/HydrographPlaces.hpp"
#include "results/maps/MapRequest.hpp"

namespace results {

// The configuration's list of export entries.
inline const std::string exportListPath = "RESULTS/EXPORT";

// "RESULTS/EXPORT[k]", as messages name an entry.
inline std::string entryPath(int entry) { return exportListPath + "[" + std::to_string(entry) + "]"; }

struct ExportRequest {
  int entry = 0;  // position in RESULTS/EXPORT
  std::optional<std::vector<std::string>> outputs;
  std::optional<double> from;
  std::optional<double> to;
  std::size_t every = 1;
  std::optional<std::string> document;
  bool mesh2dm = false;   // also write the mesh as <stem>.2dm
  bool portable = false;  // the document form that needs no file but its auxiliary one
  bool envelopes = false;  // also the flood envelopes of the selected times
  std::optional<double> wetDepth;  // the envelopes' own wet depth
  HydrographPlaces hydrographs;    // gauges and sections, checked in themselves
  std::optional<MapRequest> maps;  // rasters and the outline for GIS

  // The key path of one of the entry's members, as messages name it.
  std::string memberPath(const std::string& key) const;
};

// The entry's members; reads nothing else and reports nothing.
ExportRequest readExportRequest(const api::ICommandFileReader& config, int entry);

// Whether any entry of the list carries a member beyond its format.
bool anyEntrySelects(const api::ICommandFileReader& config, int entries);

}  // namespace results
