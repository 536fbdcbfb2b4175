#include "results/maps/MapAnnouncement.hpp"

#include <iostream>

#include "interfaces/EchoedText.hpp"
#include "results/hydrographs/SeriesText.hpp"

namespace results {

void announceMaps(std::ostream& out, const ExportSelection& selection) {
  if (!selection.maps.enabled) return;
  const std::size_t rasters = selection.mapFiles().size() - (selection.maps.outline ? 1 : 0);
  out << ", " << rasters << (rasters == 1 ? " map" : " maps") << " at " << numberText(selection.maps.cellSize)
      << " m to " << text::echoed(selection.stem + "_*.tif");
  if (selection.maps.outline) out << " and the outline to " << text::echoed(outlineFileOf(selection.stem));
}

void warnOfMapsWithoutCrs(int entry) {
  const std::string named = entryPath(entry);
  std::cout << " -> the maps of " << named << " carry no coordinate system: GIS will ask for one (name it with "
            << "\"crs\" in " << named << "/maps)" << std::endl;
}

}  // namespace results
