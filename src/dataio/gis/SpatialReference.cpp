#include "dataio/gis/SpatialReference.hpp"

#include <cpl_conv.h>
#include <ogr_spatialref.h>

#include "dataio/gis/GdalSession.hpp"

namespace dataio {

SpatialReference spatialReferenceOf(const std::string& definition) {
  const GdalSession session;
  OGRSpatialReference reference;
  if (definition.empty() ||
      reference.SetFromUserInput(definition.c_str(), OGRSpatialReference::SET_FROM_USER_INPUT_LIMITATIONS_get()) !=
          OGRERR_NONE) {
    const std::string reason = session.lastError();
    return {"", reason.empty() ? "PROJ does not know it" : reason};
  }
  char* text = nullptr;
  const char* const options[] = {"FORMAT=WKT2_2018", nullptr};
  if (reference.exportToWkt(&text, options) != OGRERR_NONE || text == nullptr) {
    CPLFree(text);
    return {"", "PROJ cannot write it as WKT"};
  }
  SpatialReference read{text, ""};
  CPLFree(text);
  return read;
}

}  // namespace dataio
