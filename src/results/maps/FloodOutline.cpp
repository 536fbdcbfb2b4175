#include "results/maps/FloodOutline.hpp"

#include <geos_c.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "interfaces/Failure.hpp"
#include "results/maps/WetBoundary.hpp"

namespace results {
namespace {

// The library's messages are kept, never printed: a failure is told once,
// in our own words.
void keepMessage(const char* message, void* text) {
  std::string& kept = *static_cast<std::string*>(text);
  kept = message;
  while (!kept.empty() && (kept.back() == '\n' || kept.back() == ' ')) kept.pop_back();
}

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

Geometry wetCells(const Geos& geos, const PlaneMesh& mesh, const std::vector<char>& wet) {
  std::vector<GEOSGeometry*> cells;
  for (int cell = 0; cell < mesh.cellCount(); ++cell)
    if (wet[static_cast<std::size_t>(cell)] && mesh.doubleArea(cell) != 0.0) cells.push_back(triangle(geos, mesh, cell));
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

using EdgeEnds = std::array<double, 4>;  // x, y of its start, then of its end

GEOSGeometry* segment(const Geos& geos, const Point& from, const Point& to) {
  GEOSCoordSequence* ends = GEOSCoordSeq_create_r(geos.handle(), 2, 2);
  GEOSCoordSeq_setXY_r(geos.handle(), ends, 0, from.x, from.y);
  GEOSCoordSeq_setXY_r(geos.handle(), ends, 1, to.x, to.y);
  return GEOSGeom_createLineString_r(geos.handle(), ends);
}

// Whether the face lies on the wet side of its first edge: the face is left
// of that edge when its shell turns counter-clockwise, and the wet cell is
// left of the boundary edge as it was directed. Nothing when the edge is not
// a boundary edge (the faces were not made of them alone).
std::optional<bool> isWetFace(const Geos& geos, const GEOSGeometry& face, const std::set<EdgeEnds>& directed) {
  const GEOSCoordSequence* shell = GEOSGeom_getCoordSeq_r(geos.handle(), GEOSGetExteriorRing_r(geos.handle(), &face));
  EdgeEnds first{};
  char ccw = 0;
  if (shell == nullptr || GEOSCoordSeq_getXY_r(geos.handle(), shell, 0, &first[0], &first[1]) == 0 ||
      GEOSCoordSeq_getXY_r(geos.handle(), shell, 1, &first[2], &first[3]) == 0 ||
      GEOSCoordSeq_isCCW_r(geos.handle(), shell, &ccw) == 0)
    return std::nullopt;
  const EdgeEnds reversed{first[2], first[3], first[0], first[1]};
  if (directed.count(first) > 0) return ccw == 1;
  if (directed.count(reversed) > 0) return ccw == 0;
  return std::nullopt;
}

// The faces that the boundary edges enclose, the dry ones (islands) left
// out; nothing when the edges do not draw the wet cells exactly (a mesh whose
// cells meet part of an edge), which the area of the faces shows.
std::optional<Geometry> tracedOutline(const Geos& geos, const PlaneMesh& mesh, const WetBoundary& boundary) {
  if (!boundary.edgeToEdge) return std::nullopt;
  std::vector<GEOSGeometry*> lines;
  std::set<EdgeEnds> directed;
  for (const BoundaryEdge& edge : boundary.edges) {
    const Point& from = mesh.point(edge.from);
    const Point& to = mesh.point(edge.to);
    lines.push_back(segment(geos, from, to));
    directed.insert({from.x, from.y, to.x, to.y});
  }
  Geometry faces(GEOSPolygonize_r(geos.handle(), lines.data(), static_cast<unsigned>(lines.size())),
                 GeometryDeleter{geos.handle()});
  for (GEOSGeometry* line : lines) GEOSGeom_destroy_r(geos.handle(), line);
  if (!faces) return std::nullopt;
  std::vector<GEOSGeometry*> wetFaces;
  double area = 0.0;
  for (int k = 0; k < GEOSGetNumGeometries_r(geos.handle(), faces.get()); ++k) {
    const GEOSGeometry* face = GEOSGetGeometryN_r(geos.handle(), faces.get(), k);
    const std::optional<bool> wet = isWetFace(geos, *face, directed);
    double faceArea = 0.0;
    if (!wet || GEOSArea_r(geos.handle(), face, &faceArea) == 0) area = -1.0;
    if (!wet || !*wet || area < 0.0) continue;
    area += faceArea;
    wetFaces.push_back(GEOSGeom_clone_r(geos.handle(), face));
  }
  // As one multipolygon, so that validity also covers how the faces meet.
  Geometry outline(GEOSGeom_createCollection_r(geos.handle(), GEOS_MULTIPOLYGON, wetFaces.data(),
                                               static_cast<unsigned>(wetFaces.size())),
                   GeometryDeleter{geos.handle()});
  const bool exact = std::fabs(area - boundary.wetArea) <= 1e-9 * boundary.wetArea;
  if (!outline || !exact || GEOSisValid_r(geos.handle(), outline.get()) != 1) return std::nullopt;
  return outline;
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

std::vector<dataio::OutlinePart> partsOf(const Geos& geos, const GEOSGeometry& outline) {
  std::vector<dataio::OutlinePart> parts;
  const int count = GEOSGetNumGeometries_r(geos.handle(), &outline);
  for (int k = 0; k < count; ++k) {
    const GEOSGeometry* polygon = GEOSGetGeometryN_r(geos.handle(), &outline, k);
    if (GEOSGeomTypeId_r(geos.handle(), polygon) == GEOS_POLYGON) parts.push_back(partOf(geos, *polygon));
  }
  std::stable_sort(parts.begin(), parts.end(),
                   [](const dataio::OutlinePart& a, const dataio::OutlinePart& b) { return a.area > b.area; });
  return parts;
}

std::vector<char> wetCellsOf(const PlaneMesh& mesh, const std::vector<double>& depthMax, double wetDepth) {
  RESULTS_CHECK(depthMax.size() == static_cast<std::size_t>(mesh.cellCount()), "the envelopes do not match the mesh");
  std::vector<char> wet(depthMax.size());
  for (std::size_t cell = 0; cell < wet.size(); ++cell) wet[cell] = depthMax[cell] >= wetDepth;
  return wet;
}

}  // namespace

std::optional<std::vector<dataio::OutlinePart>> tracedFloodOutline(const PlaneMesh& mesh,
                                                                   const std::vector<double>& depthMax,
                                                                   double wetDepth) {
  const Geos geos;
  const WetBoundary boundary = wetBoundary(mesh, wetCellsOf(mesh, depthMax, wetDepth));
  if (boundary.wetArea == 0.0) return std::vector<dataio::OutlinePart>();
  const std::optional<Geometry> traced = tracedOutline(geos, mesh, boundary);
  if (!traced) return std::nullopt;
  return partsOf(geos, **traced);
}

// The boundary's faces are the fast way; the union of the cells is the sure
// one, for meshes whose cells do not meet edge to edge.
std::vector<dataio::OutlinePart> floodOutline(const PlaneMesh& mesh, const std::vector<double>& depthMax,
                                              double wetDepth) {
  std::optional<std::vector<dataio::OutlinePart>> traced = tracedFloodOutline(mesh, depthMax, wetDepth);
  if (traced) return std::move(*traced);
  const Geos geos;
  const Geometry cells = wetCells(geos, mesh, wetCellsOf(mesh, depthMax, wetDepth));
  if (!cells) failure::fail("cannot trace the flood outline: ", geos.lastError());
  return partsOf(geos, *unionOf(geos, *cells));
}

}  // namespace results
