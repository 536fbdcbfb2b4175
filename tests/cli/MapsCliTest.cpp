// "maps" through the binary: every pixel of every raster shows the value of
// the cell that holds its centre (the document's value, or the envelope's),
// with the coordinate system and the bands' times; the outline follows the
// wet cells; bad members stop the run before anything is written, and a run
// that fails on the way leaves no map of its own and an earlier one intact.

#include <gdal.h>
#include <gtest/gtest.h>
#include <ogr_api.h>
#include <ogr_srs_api.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <limits>

#include "results/envelopes/HazardClass.hpp"
#include "support/BinaryRun.hpp"
#include "support/ExportFolder.hpp"
#include "support/ResultsFileMaker.hpp"
#include "support/StoredDatasets.hpp"
#include "support/TempDir.hpp"

using namespace testing_support;

namespace {

constexpr int cells = 4;
constexpr double noValue = std::numeric_limits<double>::quiet_NaN();
const std::vector<std::string> outputs{"water_surface", "water_depth", "bottom_elevation",
                                       "spec_discharge", "flow_velocity", "flow_velocity_abs"};
const std::vector<double> times{0.0, -10.0, 2.5, 10.0, 30.0};
const std::vector<int> stepsInTimeOrder{1, 0, 2, 3, 4};
const std::vector<double> bed{1.0, 1.1, 2.0, 0.5};
// Slow, faster and fast flow: the cells reach hazard classes 3, 4 and 5.
const double flowScale[cells] = {0.05, 0.3, 0.0, 1.0};

// The four triangles of the square (0, 0)..(4, 4) that meet at its centre: 0
// below, 1 right, 2 above, 3 left; an unused node at (5.5, 0) widens the grid.
// At 1 m the pixel centres lie on both diagonals, and a centre on an edge two
// cells share shows the lower of the two.
const std::vector<std::vector<int>> cellOfPixel{
    {2, 2, 2, 1, -1, -1}, {3, 2, 1, 1, -1, -1}, {3, 0, 0, 1, -1, -1}, {0, 0, 0, 0, -1, -1}};

// Cell 2 stays shallower than the run's 0.01 m; cell 3 has no surface at 2.5 s.
double surfaceAt(int cell, std::size_t step) {
  if (cell == 2) return 2.003;
  if (cell == 3 && step == 2) return noValue;
  return 1.7 + 0.1 * cell + 0.01 * static_cast<double>(step);
}

void writeRun(const std::string& file, int brokenStep = -1, double spareNodeX = 5.5) {
  ResultsFileMaker maker(file);
  maker.archive(hydraulicsModelText(), outputs);
  maker.ints("CellsAll/Topology", cells, 3, {0, 1, 4, 1, 2, 4, 2, 3, 4, 3, 0, 4});
  maker.doubles("NodesAll/Coordnts", 6, 3, {0, 0, 0, 4, 0, 0, 4, 4, 0, 0, 4, 0, 2, 2, 0, spareNodeX, 0, 0});
  maker.scalar("Parameters/MinWaterDepth", 0.01);
  maker.doubles("CellsAll/BottomEl", cells, 1, bed);
  for (std::size_t k = 0; k < times.size(); ++k) {
    std::vector<double> state;
    for (int c = 0; c < cells; ++c)
      state.insert(state.end(), {surfaceAt(c, k), flowScale[c] * (1.0 + 0.3 * static_cast<double>(k)), 0.01 * c});
    const std::string path = "RESULTS/CellsAll/HydState/000000" + std::to_string(k);
    if (static_cast<int>(k) == brokenStep)
      maker.step(path, times[k], cells, 2, std::vector<double>(2 * cells, 1.0));
    else
      maker.step(path, times[k], cells, 3, state);
  }
}

struct Raster {
  int width = 0, height = 0, bands = 0;
  std::vector<double> transform = std::vector<double>(6);
  std::string epsg;
  std::vector<std::vector<float>> values;  // per band, row by row
  std::vector<std::string> descriptions, timeItems;
  std::string layout;
};

Raster readRaster(const std::string& file) {
  Raster raster;
  GDALAllRegister();
  GDALDatasetH dataset = GDALOpen(file.c_str(), GA_ReadOnly);
  if (dataset == nullptr) return raster;
  raster.width = GDALGetRasterXSize(dataset);
  raster.height = GDALGetRasterYSize(dataset);
  raster.bands = GDALGetRasterCount(dataset);
  GDALGetGeoTransform(dataset, raster.transform.data());
  if (OGRSpatialReferenceH reference = GDALGetSpatialRef(dataset)) {
    OGRSpatialReferenceH copy = OSRClone(reference);
    OSRAutoIdentifyEPSG(copy);
    const char* code = OSRGetAuthorityCode(copy, nullptr);
    raster.epsg = code ? code : "";
    OSRDestroySpatialReference(copy);
  }
  const char* layout = GDALGetMetadataItem(dataset, "LAYOUT", "IMAGE_STRUCTURE");
  raster.layout = layout ? layout : "";
  for (int b = 1; b <= raster.bands; ++b) {
    GDALRasterBandH band = GDALGetRasterBand(dataset, b);
    std::vector<float> values(static_cast<std::size_t>(raster.width * raster.height));
    EXPECT_EQ(GDALRasterIO(band, GF_Read, 0, 0, raster.width, raster.height, values.data(), raster.width,
                           raster.height, GDT_Float32, 0, 0),
              CE_None);
    int found = 0;
    EXPECT_EQ(GDALGetRasterNoDataValue(band, &found), -9999.0);
    EXPECT_TRUE(found);
    raster.values.push_back(values);
    raster.descriptions.push_back(GDALGetDescription(band));
    const char* time = GDALGetMetadataItem(band, "TIME_S", nullptr);
    raster.timeItems.push_back(time ? time : "");
  }
  GDALClose(dataset);
  return raster;
}

// What each pixel must show, from one value per cell: nodata outside the
// mesh and for a NaN.
std::vector<float> pixelsOf(const std::vector<double>& cellValues) {
  std::vector<float> pixels;
  for (const auto& row : cellOfPixel)
    for (const int cell : row) {
      const double value = cell < 0 ? noValue : cellValues[static_cast<std::size_t>(cell)];
      pixels.push_back(std::isnan(value) ? -9999.0f : static_cast<float>(value));
    }
  return pixels;
}

class Maps : public ExportFolder {
 protected:
  void SetUp() override { writeRun(dir.file("run.h5")); }
  // The entry's members, exported to out.xdmf.
  BinaryRun exportWith(const std::string& members) { return ExportFolder::exportWith({members}, {"-o", "out.xdmf"}); }
};

const std::string allMaps =
    R"("envelopes": {"wet_depth": 0.01}, "maps": {"cell_size": 1, "crs": "EPSG:2056", "outputs": ["water_depth"], "outline": true})";

}  // namespace

TEST_F(Maps, EveryPixelShowsItsCellsValueAtEveryTime) {
  const BinaryRun run = exportWith(allMaps);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(std::find(run.outLines().begin(), run.outLines().end(),
                      " -> exporting 6 outputs at 5 of 5 stored times to out.xdmf, the envelopes to "
                      "out_envelopes.xdmf, 11 maps at 1 m to out_*.tif and the outline to out_outline.gpkg"),
            run.outLines().end())
      << run.out;
  const Raster depth = readRaster(dir.file("out_water_depth.tif"));
  ASSERT_EQ(depth.bands, 5);
  EXPECT_EQ(depth.width, 6);
  EXPECT_EQ(depth.height, 4);
  EXPECT_EQ(depth.transform, (std::vector<double>{0, 1, 0, 4, 0, -1}));
  EXPECT_EQ(depth.epsg, "2056");
  EXPECT_EQ(depth.layout, "COG");
  EXPECT_EQ(depth.descriptions, (std::vector<std::string>{"t = -10 s", "t = 0 s", "t = 2.5 s", "t = 10 s", "t = 30 s"}));
  EXPECT_EQ(depth.timeItems, (std::vector<std::string>{"-10", "0", "2.5", "10", "30"}));
  for (std::size_t b = 0; b < times.size(); ++b) {
    std::vector<double> cellDepth;
    for (int c = 0; c < cells; ++c)
      cellDepth.push_back(surfaceAt(c, static_cast<std::size_t>(stepsInTimeOrder[b])) - bed[static_cast<std::size_t>(c)]);
    EXPECT_EQ(depth.values[b], pixelsOf(cellDepth)) << depth.descriptions[b];
  }
}

TEST_F(Maps, EnvelopeRastersShowTheEnvelopesAndTheHazardClassesTheirMaximum) {
  ASSERT_EQ(exportWith(allMaps).status, 0);
  const std::string aux = dir.file("out_aux.h5");
  for (const char* name : {"water_depth_max", "water_depth_tmax", "water_surface_max", "water_surface_tmax",
                           "flow_velocity_abs_max", "flow_velocity_abs_tmax", "depth_velocity_max", "arrival_time",
                           "wet_duration", "hazard_class_max"}) {
    const Raster raster = readRaster(dir.file(std::string("out_") + name + ".tif"));
    ASSERT_EQ(raster.bands, 1) << name;
    EXPECT_EQ(raster.descriptions[0], name);
    EXPECT_EQ(raster.values[0], pixelsOf(storedDoubles(aux, std::string("/envelopes/") + name))) << name;
  }
  // The highest class over the times, with the depth and speed the export
  // shows; cell 2 is never wet and has none.
  std::vector<double> highest(cells, 0.0);
  for (std::size_t k = 0; k < times.size(); ++k) {
    const std::vector<double> speed = storedDoubles(aux, "/flow_velocity_abs/" + std::to_string(k));
    for (int c = 0; c < cells; ++c)
      highest[c] = std::max<double>(highest[c], results::hazardClassOf(surfaceAt(c, k) - bed[c], speed[c]));
  }
  highest[2] = noValue;
  EXPECT_EQ(readRaster(dir.file("out_hazard_class_max.tif")).values[0], pixelsOf(highest));
  const std::vector<double> classes = storedDoubles(aux, "/envelopes/hazard_class_max");
  EXPECT_EQ(classes[0], 3.0);
  EXPECT_EQ(classes[1], 4.0);
  EXPECT_EQ(classes[3], 5.0);
}

TEST_F(Maps, TheOutlineIsTheUnionOfTheWetCells) {
  ASSERT_EQ(exportWith(allMaps).status, 0);
  GDALAllRegister();
  GDALDatasetH dataset = GDALOpenEx(dir.file("out_outline.gpkg").c_str(), GDAL_OF_VECTOR, nullptr, nullptr, nullptr);
  ASSERT_NE(dataset, nullptr);
  OGRLayerH layer = GDALDatasetGetLayerByName(dataset, "flood_outline");
  ASSERT_NE(layer, nullptr);
  EXPECT_EQ(OGR_L_GetFeatureCount(layer, TRUE), 1);
  OGRFeatureH feature = OGR_L_GetNextFeature(layer);
  ASSERT_NE(feature, nullptr);
  EXPECT_DOUBLE_EQ(OGR_F_GetFieldAsDouble(feature, OGR_F_GetFieldIndex(feature, "area_m2")), 12.0);
  EXPECT_DOUBLE_EQ(OGR_F_GetFieldAsDouble(feature, OGR_F_GetFieldIndex(feature, "wet_depth")), 0.01);
  OGRGeometryH outline = OGR_F_GetGeometryRef(feature);
  EXPECT_TRUE(OGR_G_IsValid(outline));
  EXPECT_DOUBLE_EQ(OGR_G_Area(outline), 12.0);
  // The centres of the dry cell 2 and of the wet cells 0, 1 and 3.
  const std::pair<double, double> centres[] = {{2, 10 / 3.0}, {2, 2 / 3.0}, {10 / 3.0, 2}, {2 / 3.0, 2}};
  std::vector<bool> inside;
  for (const auto& [x, y] : centres) {
    OGRGeometryH point = OGR_G_CreateGeometry(wkbPoint);
    OGR_G_SetPoint_2D(point, 0, x, y);
    inside.push_back(OGR_G_Within(point, outline));
    OGR_G_DestroyGeometry(point);
  }
  EXPECT_EQ(inside, (std::vector<bool>{false, true, true, true}));
  OGRSpatialReferenceH reference = OGR_L_GetSpatialRef(layer);
  ASSERT_NE(reference, nullptr);
  EXPECT_STREQ(OSRGetAuthorityCode(reference, nullptr), "2056");
  OGR_F_Destroy(feature);
  GDALClose(dataset);
}

TEST_F(Maps, WithoutACoordinateSystemOneLineSaysSo) {
  const BinaryRun run = exportWith(R"("maps": {"cell_size": 2, "outputs": ["water_depth", "flow_velocity_abs"]})");
  ASSERT_EQ(run.status, 0) << run.err;
  const std::vector<std::string> lines = run.outLines();
  EXPECT_EQ(std::count(lines.begin(), lines.end(),
                       " -> the maps of RESULTS/EXPORT[0] carry no coordinate system: GIS will ask for one (name it "
                       "with \"crs\" in RESULTS/EXPORT[0]/maps)"),
            1);
  EXPECT_NE(std::find(lines.begin(), lines.end(),
                      " -> exporting 6 outputs at 5 of 5 stored times to out.xdmf, 2 maps at 2 m to out_*.tif"),
            lines.end())
      << run.out;
  const Raster speed = readRaster(dir.file("out_flow_velocity_abs.tif"));
  EXPECT_EQ(speed.epsg, "");
  EXPECT_EQ(speed.width, 3);
  EXPECT_EQ(speed.bands, 5);
}

TEST_F(Maps, BadMembersStopTheRunBeforeAnythingIsWritten) {
  const std::pair<std::string, std::string> cases[] = {
      {R"("maps": {"cell_size": 0, "outputs": ["water_depth"]})",
       "/RESULTS/EXPORT/0/maps/cell_size: Error: This value must be greater than 0.000000."},
      {R"("maps": {"outputs": ["water_depth"]})",
       "/RESULTS/EXPORT/0/maps/cell_size: Error: This item is required but missing."},
      {R"("maps": {"cell_size": 1, "outputs": ["bottom_elevations"]})",
       " -> RESULTS/EXPORT[0]/maps/outputs/0 <bottom_elevations> is not an output of this entry"},
      {R"("outputs": ["water_depth"], "maps": {"cell_size": 1, "outputs": ["water_surface"]})",
       " -> RESULTS/EXPORT[0]/maps/outputs/0 <water_surface> is not an output of this entry"},
      {R"("maps": {"cell_size": 1, "outputs": ["flow_velocity"]})",
       " -> RESULTS/EXPORT[0]/maps/outputs/0 <flow_velocity> is a vector output: a map holds one value per cell; its "
       "magnitude is an output of its own"},
      {R"("maps": {"cell_size": 1, "outputs": ["water_depth"], "outline": true})",
       " -> RESULTS/EXPORT[0]/maps/outline needs the envelopes: the outline is drawn from water_depth_max"},
      {R"("maps": {"cell_size": 1})",
       " -> RESULTS/EXPORT[0]/maps has nothing to draw: give \"outputs\", or \"envelopes\" in the entry"},
      {R"("envelopes": {}, "maps": {"cell_size": 1, "crs": "EPSG:999999"})",
       " -> RESULTS/EXPORT[0]/maps/crs <EPSG:999999> is no coordinate system PROJ knows: PROJ: "
       "proj_create_from_database: crs not found"},
      {R"("envelopes": {}, "maps": {"cell_size": 1, "crs": "/etc/hostname"})",
       " -> RESULTS/EXPORT[0]/maps/crs </etc/hostname> is no coordinate system PROJ knows: Cannot import "
       "/etc/hostname due to ALLOW_FILE_ACCESS=NO"},
      {R"("envelopes": {}, "maps": {"cell_size": 1e-5})",
       " -> RESULTS/EXPORT[0]/maps/cell_size 1e-05 m gives 550000 x 400000 pixels, more than the 2147483648 a map "
       "may have"},
      {R"("envelopes": {}, "maps": {"cell_size": 0.00012})",
       " -> RESULTS/EXPORT[0]/maps/cell_size 0.00012 m gives 45834 x 33334 pixels, which need 5828 MiB to "
       "rasterise, more than the 4096 MiB the maps may take"},
  };
  for (const auto& [members, line] : cases) {
    const BinaryRun run = exportWith(members);
    EXPECT_EQ(run.status, 1) << members;
    const std::vector<std::string> all = run.outLines(), errors = run.errLines();
    const bool said = std::find(all.begin(), all.end(), line) != all.end() ||
                      std::find(errors.begin(), errors.end(), line) != errors.end();
    EXPECT_TRUE(said) << members << "\n" << run.out << run.err;
    EXPECT_EQ(filesLeft(), (std::vector<std::string>{"cfg.json", "run.h5"})) << members;
  }
  const BinaryRun twice = ExportFolder::exportWith(
      {R"("envelopes": {}, "maps": {"cell_size": 1})", R"("envelopes": {}, "maps": {"cell_size": 2})"}, {"-o", "out.xdmf"});
  expectRefusal(twice, " -> export entries 0 and 1 would both write <out.xdmf> with different content");
  EXPECT_EQ(filesLeft(), (std::vector<std::string>{"cfg.json", "run.h5"}));
  std::filesystem::create_directory(dir.file("out_wet_duration.tif"));
  const BinaryRun folder = exportWith(R"("envelopes": {}, "maps": {"cell_size": 1})");
  EXPECT_EQ(folder.status, 1);
  EXPECT_NE(folder.err.find("cannot write <out_wet_duration.tif>"), std::string::npos) << folder.err;
  EXPECT_EQ(filesLeft(), (std::vector<std::string>{"cfg.json", "out_wet_duration.tif", "run.h5"}));
}

TEST_F(Maps, AFailedRunLeavesNoMapOfItsOwnAndAnEarlierOneAsItWas) {
  ASSERT_EQ(exportWith(allMaps).status, 0);
  const std::string earlier = readFile(dir.file("out_water_depth_max.tif"));
  const std::vector<std::string> before = filesLeft();
  writeRun(dir.file("run.h5"), 3);
  writeFile(dir.file("cfg.json"), xdmfEntriesText({allMaps}));
  const BinaryRun failed = runResults({"-f", "cfg.json", "-r", "run.h5", "-o", "out.xdmf"}, dir.path());
  EXPECT_EQ(failed.status, 1) << failed.out;
  EXPECT_EQ(filesLeft(), before);
  EXPECT_EQ(readFile(dir.file("out_water_depth_max.tif")), earlier);
  const BinaryRun fresh = runResults({"-f", "cfg.json", "-r", "run.h5", "-o", "other.xdmf"}, dir.path());
  EXPECT_EQ(fresh.status, 1);
  EXPECT_EQ(filesLeft(), before);
}

TEST_F(Maps, AMeshWithANodeAtNoFinitePointIsRefused) {
  writeRun(dir.file("run.h5"), -1, noValue);
  expectRefusal(exportWith(allMaps), " -> RESULTS/EXPORT[0]/maps: node 5 of the mesh lies at no finite point (nan, 0): "
                                     "no map can show it");
  EXPECT_EQ(filesLeft(), (std::vector<std::string>{"cfg.json", "run.h5"}));
}
