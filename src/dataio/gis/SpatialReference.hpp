#pragma once
// The coordinate system of the maps, as the user names it ("EPSG:2056", a
// WKT, a PROJ string). Only definitions PROJ holds are taken: no file and no
// network address is read on the configuration's word.

#include <string>

namespace dataio {

struct SpatialReference {
  std::string wkt;     // the definition in WKT, "" when PROJ refused it
  std::string reason;  // why PROJ refused it
};

SpatialReference spatialReferenceOf(const std::string& definition);

}  // namespace dataio
