#include "dataio/gis/OutlineLayer.hpp"

#include <cpl_conv.h>
#include <gdal_priv.h>
#include <ogr_feature.h>
#include <ogr_geometry.h>
#include <ogr_spatialref.h>
#include <ogrsf_frmts.h>

#include <memory>

#include "dataio/gis/GdalSession.hpp"
#include "interfaces/Failure.hpp"

namespace dataio {
namespace {

struct DatasetCloser {
  void operator()(GDALDataset* dataset) const { GDALClose(dataset); }
};

[[noreturn]] void failWriting(const RasterFile& file, const GdalSession& session) {
  const std::string reason = session.lastError(file.stagedFile, file.fileName);
  failure::fail("cannot write <", file.fileName, ">: ", reason.empty() ? "GDAL failed" : reason);
}

void addField(OGRLayer& layer, const char* name, const RasterFile& file, const GdalSession& session) {
  OGRFieldDefn field(name, OFTReal);
  if (layer.CreateField(&field) != OGRERR_NONE) failWriting(file, session);
}

void addPart(OGRLayer& layer, const OutlinePart& part, double wetDepth, const RasterFile& file,
             const GdalSession& session) {
  OGRGeometry* geometry = nullptr;
  if (OGRGeometryFactory::createFromWkb(part.wkb.data(), nullptr, &geometry, part.wkb.size()) != OGRERR_NONE)
    failWriting(file, session);
  OGRFeature feature(layer.GetLayerDefn());
  feature.SetGeometryDirectly(geometry);
  feature.SetField("area_m2", part.area);
  feature.SetField("wet_depth", wetDepth);
  if (layer.CreateFeature(&feature) != OGRERR_NONE) failWriting(file, session);
}

// The GeoPackage driver reads its clock from this option while it writes.
class LayerTime {
 public:
  explicit LayerTime(const char* time) { CPLSetThreadLocalConfigOption("OGR_CURRENT_DATE", time); }
  ~LayerTime() { CPLSetThreadLocalConfigOption("OGR_CURRENT_DATE", nullptr); }
  LayerTime(const LayerTime&) = delete;
  LayerTime& operator=(const LayerTime&) = delete;
};

}  // namespace

void writeOutlineLayer(const RasterFile& file, const std::string& crsWkt, const std::vector<OutlinePart>& parts,
                       double wetDepth) {
  const GdalSession session;
  const LayerTime time(outlineLayerTime);
  GDALDriver* driver = GetGDALDriverManager()->GetDriverByName("GPKG");
  if (driver == nullptr) failure::fail("cannot write <", file.fileName, ">: GDAL has no GeoPackage driver");
  {
    std::unique_ptr<GDALDataset, DatasetCloser> dataset(
        driver->Create(file.stagedFile.c_str(), 0, 0, 0, GDT_Unknown, nullptr));
    if (!dataset) failWriting(file, session);
    OGRSpatialReference reference;
    reference.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    const bool referenced = !crsWkt.empty() && reference.importFromWkt(crsWkt.c_str()) == OGRERR_NONE;
    OGRLayer* layer = dataset->CreateLayer("flood_outline", referenced ? &reference : nullptr, wkbPolygon, nullptr);
    if (layer == nullptr) failWriting(file, session);
    addField(*layer, "area_m2", file, session);
    addField(*layer, "wet_depth", file, session);
    if (layer->StartTransaction() != OGRERR_NONE) failWriting(file, session);
    for (const OutlinePart& part : parts) addPart(*layer, part, wetDepth, file, session);
    if (layer->CommitTransaction() != OGRERR_NONE) failWriting(file, session);
  }
  if (session.failed()) failWriting(file, session);
}

}  // namespace dataio
