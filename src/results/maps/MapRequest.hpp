#pragma once
// The maps an export entry asks for, as its "maps" member states them; the
// schema has checked the members' types and the cell size's sign.

#include <optional>
#include <string>
#include <vector>

#include "interfaces/ICommandFileReader.hpp"

namespace results {

struct MapRequest {
  double cellSize = 0.0;          // metres
  std::optional<std::string> crs;  // as the user defines it
  std::vector<std::string> outputs;
  bool outline = false;

  bool operator==(const MapRequest& other) const {
    return cellSize == other.cellSize && crs == other.crs && outputs == other.outputs && outline == other.outline;
  }
};

// Nothing when the entry has no "maps".
std::optional<MapRequest> readMapRequest(const api::ICommandFileReader& config, int entry);

}  // namespace results
