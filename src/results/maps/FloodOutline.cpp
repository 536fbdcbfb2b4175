#include "results/maps/FloodOutline.hpp"

#include <geos_c.h>

#include <algorithm>
#include <memory>
#include <string>

#include "interfaces/Failure.hpp"

namespace results {
namespace {

// The library's messages are kept, never printed: a failure is told once,
// in our own words.
void keepMessage(const char* message, void* text) { *static_cast<std::string*>(text) = message; }

class Geos {
 public:
  Geos() : context(GEOS_init_r()) {
    GEOSContext_setErrorMessageHandler_r(context, keepMessage, &error);
    GEOSContext_setNoticeMessageHandler_r(context, keepMessage, &notice);
  }
  ~Geos() { GEOS_finish_r(context); }
  Geos(const Geos&) = delete;
  Geos& operator=(const Geos&) = delete;

  GEOSContextHandle_t handle() const { return context; }
  const std::string& lastError() const { return error; }

 private:
  GEOSContextHandle_t context;
  std::string error;
  std::string notice;
};

struct GeometryDeleter {
  GEOSContextHandle_t context;
  void operator()(GEOSGeometry* geometry) const { GEOSGeom_destroy_r(context, geometry); }
};
using Geometry = std::unique_ptr<GEOSGeometry, GeometryDeleter>;

GEOSGeometry* triangle(const Geos& geos, const PlaneMesh& mesh, int cell) {
  GEOSCoordSequence* ring = GEOSCoordSeq_create_r(geos.handle(), 4, 2);
  for (unsigned k = 0; k < 4; ++k) {
    const Point& p = mesh.node(cell, static_cast<int>(k % 3));
    GEOSCoordSeq_setXY_r(geos.handle(), ring, k, p.x, p.y);
  }
  return GEOSGeom_createPolygon_r(geos.handle(), GEOSGeom_createLinearRing_r(geos.handle(), ring), nullptr, 0);
}

Geometry wetCells(const Geos& geos, const PlaneMesh& mesh, const std::vector<double>& depthMax, double wetDepth) {
  std::vector<GEOSGeometry*> cells;
  for (int cell = 0; cell < mesh.cellCount(); ++cell)
    if (depthMax[static_cast<std::size_t>(cell)] >= wetDepth && mesh.doubleArea(cell) != 0.0)
      cells.push_back(triangle(geos, mesh, cell));
  return Geometry(GEOSGeom_createCollection_r(geos.handle(), GEOS_GEOMETRYCOLLECTION, cells.data(),
                                              static_cast<unsigned>(cells.size())),
                  GeometryDeleter{geos.handle()});
}

// The cells of a conforming mesh meet edge to edge, which the coverage union
// joins by their shared edges alone; a mesh whose cells overlap or meet
// part of an edge takes the general union.
Geometry unionOf(const Geos& geos, const GEOSGeometry& cells) {
  Geometry joined(GEOSCoverageUnion_r(geos.handle(), &cells), GeometryDeleter{geos.handle()});
  if (joined && GEOSisValid_r(geos.handle(), joined.get()) == 1) return joined;
  Geometry general(GEOSUnaryUnion_r(geos.handle(), &cells), GeometryDeleter{geos.handle()});
  if (!general) failure::fail("cannot trace the flood outline: ", geos.lastError());
  return general;
}

dataio::OutlinePart partOf(const Geos& geos, const GEOSGeometry& polygon) {
  dataio::OutlinePart part;
  GEOSArea_r(geos.handle(), &polygon, &part.area);
  GEOSWKBWriter* writer = GEOSWKBWriter_create_r(geos.handle());
  std::size_t size = 0;
  unsigned char* bytes = GEOSWKBWriter_write_r(geos.handle(), writer, &polygon, &size);
  GEOSWKBWriter_destroy_r(geos.handle(), writer);
  if (bytes == nullptr) failure::fail("cannot trace the flood outline: ", geos.lastError());
  part.wkb.assign(bytes, bytes + size);
  GEOSFree_r(geos.handle(), bytes);
  return part;
}

}  // namespace

std::vector<dataio::OutlinePart> floodOutline(const PlaneMesh& mesh, const std::vector<double>& depthMax,
                                              double wetDepth) {
  RESULTS_CHECK(depthMax.size() == static_cast<std::size_t>(mesh.cellCount()), "the envelopes do not match the mesh");
  const Geos geos;
  const Geometry cells = wetCells(geos, mesh, depthMax, wetDepth);
  if (!cells) failure::fail("cannot trace the flood outline: ", geos.lastError());
  std::vector<dataio::OutlinePart> parts;
  if (GEOSGetNumGeometries_r(geos.handle(), cells.get()) == 0) return parts;
  const Geometry outline = unionOf(geos, *cells);
  const int count = GEOSGetNumGeometries_r(geos.handle(), outline.get());
  for (int k = 0; k < count; ++k) {
    const GEOSGeometry* polygon = GEOSGetGeometryN_r(geos.handle(), outline.get(), k);
    if (GEOSGeomTypeId_r(geos.handle(), polygon) == GEOS_POLYGON) parts.push_back(partOf(geos, *polygon));
  }
  std::stable_sort(parts.begin(), parts.end(),
                   [](const dataio::OutlinePart& a, const dataio::OutlinePart& b) { return a.area > b.area; });
  return parts;
}

}  // namespace results
