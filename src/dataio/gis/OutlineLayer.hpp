#pragma once
// The flood outline as a GeoPackage: one polygon layer "flood_outline", one
// feature per part with its area and the wet depth it was drawn at.

#include <string>
#include <vector>

#include "dataio/gis/CloudGeoTiff.hpp"

namespace dataio {

struct OutlinePart {
  std::vector<unsigned char> wkb;  // a polygon, as well-known binary
  double area = 0.0;               // in square metres
};

// crsWkt "" writes no coordinate system. A failure names file.fileName.
void writeOutlineLayer(const RasterFile& file, const std::string& crsWkt, const std::vector<OutlinePart>& parts,
                       double wetDepth);

}  // namespace dataio
