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

// The layer's time of last change. The file carries no clock time, as no
// file of an export does: the same results give the same bytes.
inline constexpr const char* outlineLayerTime = "1970-01-01T00:00:00.000Z";

// crsWkt "" writes no coordinate system. A failure names file.fileName.
void writeOutlineLayer(const RasterFile& file, const std::string& crsWkt, const std::vector<OutlinePart>& parts,
                       double wetDepth);

}  // namespace dataio
