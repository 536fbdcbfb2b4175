// The cost of the maps alone, on the mesh of a results file and the maximum
// depth an export wrote: reading the mesh, the index of the cell each pixel
// shows (the tool's own scan over the triangles, and GDAL's
// GDALRasterizeGeometries on the same grid for comparison, burning the cells
// from the last to the first so that the lowest index is drawn last), and
// the Cloud Optimized GeoTIFF of the one envelope, and the outline of the
// cells whose maximum depth is at least 0 (every cell that had water).
//
//   rasterize_maps <results file> <auxiliary file> <cell size> <out.tif>
//
// Prints the seconds of each phase (wall time), the grid, and how many
// pixels GDAL's rasterising gives another cell than the tool's scan.

#include <gdal_alg.h>
#include <gdal_priv.h>
#include <ogr_geometry.h>

#include <chrono>
#include <cmath>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "dataio/gis/CloudGeoTiff.hpp"
#include "dataio/hdf5/H5Files.hpp"
#include "results/maps/CellRaster.hpp"
#include "results/maps/FloodOutline.hpp"

using namespace results;

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// GDAL's rasteriser on the grid: the cell index burnt into an Int32 band.
std::vector<std::int32_t> gdalCells(const PlaneMesh& mesh, const RasterGrid& grid, double& buildSeconds,
                                    double& burnSeconds) {
  Clock::time_point start = Clock::now();
  std::vector<std::unique_ptr<OGRPolygon>> polygons;
  std::vector<OGRGeometryH> geometries;
  std::vector<double> burn;
  for (int cell = mesh.cellCount() - 1; cell >= 0; --cell) {
    auto ring = std::make_unique<OGRLinearRing>();
    for (int k = 0; k <= 3; ++k) ring->addPoint(mesh.node(cell, k % 3).x, mesh.node(cell, k % 3).y);
    auto polygon = std::make_unique<OGRPolygon>();
    polygon->addRingDirectly(ring.release());
    geometries.push_back(OGRGeometry::ToHandle(polygon.get()));
    polygons.push_back(std::move(polygon));
    burn.push_back(cell);
  }
  buildSeconds = secondsSince(start);
  start = Clock::now();
  GDALDriver* memory = GetGDALDriverManager()->GetDriverByName("MEM");
  std::unique_ptr<GDALDataset> raster(memory->Create("", grid.width, grid.height, 1, GDT_Int32, nullptr));
  double transform[6] = {grid.left(), grid.cellSize, 0.0, grid.top(), 0.0, -grid.cellSize};
  raster->SetGeoTransform(transform);
  raster->GetRasterBand(1)->Fill(CellRaster::noCell);
  int bands[1] = {1};
  GDALRasterizeGeometries(GDALDataset::ToHandle(raster.get()), 1, bands, static_cast<int>(geometries.size()),
                          geometries.data(), nullptr, nullptr, burn.data(), nullptr, nullptr, nullptr);
  std::vector<std::int32_t> cells(static_cast<std::size_t>(grid.pixels()));
  if (raster->GetRasterBand(1)->RasterIO(GF_Read, 0, 0, grid.width, grid.height, cells.data(), grid.width,
                                         grid.height, GDT_Int32, 0, 0, nullptr) != CE_None)
    std::cerr << "GDAL's raster could not be read\n";
  burnSeconds = secondsSince(start);
  return cells;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::cerr << "usage: rasterize_maps <results file> <auxiliary file> <cell size> <out.tif>\n";
    return 2;
  }
  GDALAllRegister();
  const std::unique_ptr<api::IResultReader> reader(dataio::createResultReader(argv[1]));
  Clock::time_point start = Clock::now();
  const PlaneMesh mesh = readPlaneMesh(*reader, "CellsAll/Topology", "NodesAll/Coordnts");
  const double read = secondsSince(start);
  const RasterGrid grid = alignedGrid(mesh.bounds(), std::stod(argv[3]), "cell size");
  start = Clock::now();
  const CellRaster raster(mesh, grid);
  const double scan = secondsSince(start);
  double build = 0.0, burn = 0.0;
  const std::vector<std::int32_t> gdal = gdalCells(mesh, grid, build, burn);
  std::size_t differing = 0, outside = 0;
  for (int row = 0; row < grid.height; ++row)
    for (int column = 0; column < grid.width; ++column) {
      const std::int32_t ours = raster.cellAt(column, row);
      differing += ours != gdal[static_cast<std::size_t>(row) * grid.width + column];
      outside += ours == CellRaster::noCell;
    }

  const std::unique_ptr<api::IResultReader> aux(dataio::createResultReader(argv[2]));
  const std::vector<double> depthMax = aux->readColumn("envelopes/water_depth_max", 0);
  start = Clock::now();
  const dataio::RasterRows rows = [&](const dataio::RowSpan& span, float* values) {
    const std::int32_t* cells = raster.row(span.row) + span.firstColumn;
    for (int column = 0; column < span.columns; ++column)
      values[column] = cells[column] < 0 || std::isnan(depthMax[cells[column]])
                           ? static_cast<float>(dataio::rasterNoData)
                           : static_cast<float>(depthMax[cells[column]]);
  };
  dataio::writeCloudGeoTiff({argv[4], argv[4]}, {grid.width, grid.height, grid.left(), grid.top(), grid.cellSize},
                            "", {{"water_depth_max", ""}}, rows, false);
  const double write = secondsSince(start);
  start = Clock::now();
  const std::vector<dataio::OutlinePart> outline = floodOutline(mesh, depthMax, 0.0);
  const double traced = secondsSince(start);

  std::cout << "mesh of " << mesh.cellCount() << " cells read in " << read << " s\n"
            << "grid " << grid.width << " x " << grid.height << " = " << grid.pixels() << " pixels at "
            << grid.cellSize << " m, " << outside << " outside the mesh\n"
            << "the tool's scan: " << scan << " s\n"
            << "GDALRasterizeGeometries: " << burn << " s, and " << build << " s to build its polygons; " << differing
            << " pixels show another cell than the scan\n"
            << "one COG of water_depth_max: " << write << " s\n"
            << "the outline of the cells ever wet (their boundary edges, polygonized by GEOS): " << traced << " s, " << outline.size()
            << " parts\n";
  return 0;
}
