// "maps", "gauges" and "sections" through the binary, on one run: the rasters and the outline end to end, the gauges
// bit for bit what the document shows for their cells, the sections the discharge worked out from the stored values;
// bad members stop the run before anything is written, and a failed run leaves no file of its own.

#include <gdal.h>
#include <gtest/gtest.h>
#include <ogr_api.h>
#include <ogr_srs_api.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <sstream>

#include "support/ExportFolder.hpp"
#include "support/ResultsFileMaker.hpp"
#include "support/StoredDatasets.hpp"

using namespace testing_support;

namespace {

constexpr int cells = 4;
constexpr double noValue = std::numeric_limits<double>::quiet_NaN();
const std::vector<double> times{0.0, -10.0, 2.5, 10.0, 30.0};
const std::vector<int> stepsInTimeOrder{1, 0, 2, 3, 4};
const std::vector<double> bed{1.0, 1.1, 2.0, 0.5};
// Slow, faster and fast flow: the cells reach hazard classes 3, 4 and 5.
const double flowScale[cells] = {0.05, 0.3, 0.02, 1.0};

// The four triangles of the square (0, 0)..(4, 4) that meet at its centre: 0 below, 1 right, 2 above, 3 left; an unused
// node at (5.5, 0) widens the grid. At 1 m a pixel centre on an edge two cells share shows the lower of the two.
const std::vector<std::vector<int>> cellOfPixel{
    {2, 2, 2, 1, -1, -1}, {3, 2, 1, 1, -1, -1}, {3, 0, 0, 1, -1, -1}, {0, 0, 0, 0, -1, -1}};

// Cell 2 stays shallower than the run's 0.01 m; cell 3 has no surface at 2.5 s.
double surfaceAt(int cell, std::size_t step) {
  if (cell == 2) return 2.003;
  if (cell == 3 && step == 2) return noValue;
  return 1.7 + 0.1 * cell + 0.01 * static_cast<double>(step);
}

// From brokenStep on, the hydraulic state lacks a column.
void writeRun(const std::string& file, int brokenStep = -1, double spareNodeX = 5.5) {
  ResultsFileMaker maker(file);
  maker.archive(hydraulicsModelText(), {"water_surface", "water_depth", "bottom_elevation", "spec_discharge",
                                        "flow_velocity", "flow_velocity_abs"});
  maker.ints("CellsAll/Topology", cells, 3, {0, 1, 4, 1, 2, 4, 2, 3, 4, 3, 0, 4});
  maker.doubles("NodesAll/Coordnts", 6, 3, {0, 0, 0, 4, 0, 0, 4, 4, 0, 0, 4, 0, 2, 2, 0, spareNodeX, 0, 0});
  maker.scalar("Parameters/MinWaterDepth", 0.01);
  maker.doubles("CellsAll/BottomEl", cells, 1, bed);
  for (std::size_t k = 0; k < times.size(); ++k) {
    const int columns = static_cast<int>(k) >= brokenStep && brokenStep >= 0 ? 2 : 3;
    std::vector<double> state;
    for (int c = 0; c < cells; ++c) {
      state.insert(state.end(), {surfaceAt(c, k), flowScale[c] * (1.0 + 0.3 * static_cast<double>(k))});
      if (columns == 3) state.push_back(0.01 * (c + 1));
    }
    maker.step("RESULTS/CellsAll/HydState/000000" + std::to_string(k), times[k], cells, columns, state);
  }
}

struct Raster {
  int width = 0;
  std::vector<double> transform = std::vector<double>(6);
  std::string epsg;
  std::vector<std::vector<float>> values;  // per band, row by row
  std::vector<std::string> descriptions, timeItems;
};

Raster readRaster(const std::string& file) {
  Raster raster;
  GDALAllRegister();
  GDALDatasetH dataset = GDALOpen(file.c_str(), GA_ReadOnly);
  if (dataset == nullptr) return raster;
  raster.width = GDALGetRasterXSize(dataset);
  const int height = GDALGetRasterYSize(dataset);
  GDALGetGeoTransform(dataset, raster.transform.data());
  const char* code = GDALGetSpatialRef(dataset) ? OSRGetAuthorityCode(GDALGetSpatialRef(dataset), nullptr) : nullptr;
  raster.epsg = code ? code : "";
  for (int b = 1; b <= GDALGetRasterCount(dataset); ++b) {
    GDALRasterBandH band = GDALGetRasterBand(dataset, b);
    std::vector<float> values(static_cast<std::size_t>(raster.width * height));
    EXPECT_EQ(
        GDALRasterIO(band, GF_Read, 0, 0, raster.width, height, values.data(), raster.width, height, GDT_Float32, 0, 0),
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

// What each pixel must show, from one value per cell: nodata outside the mesh and for a NaN.
std::vector<float> pixelsOf(const std::vector<double>& cellValues) {
  std::vector<float> pixels;
  for (const auto& row : cellOfPixel)
    for (const int cell : row) {
      const double value = cell < 0 ? noValue : cellValues[static_cast<std::size_t>(cell)];
      pixels.push_back(std::isnan(value) ? -9999.0f : static_cast<float>(value));
    }
  return pixels;
}

std::vector<std::vector<double>> csvRows(const std::string& text) {
  std::vector<std::vector<double>> rows;
  for (const std::string& line : splitLines(text)) {
    std::vector<double> fields;
    std::stringstream stream(line);
    for (std::string field; std::getline(stream, field, ',');) fields.push_back(std::strtod(field.c_str(), nullptr));
    rows.push_back(fields);
  }
  return rows;
}

std::vector<double> stateAt(const std::string& file, int step) {
  return storedDoubles(file, "RESULTS/CellsAll/HydState/000000" + std::to_string(step));
}

const std::vector<std::string> untouched{"cfg.json", "run.h5"};
const std::string allMaps =
    R"("envelopes": {"wet_depth": 0.01}, )"
    R"("maps": {"cell_size": 1, "crs": "EPSG:2056", "outputs": ["water_depth"], "outline": true})";
// The cell each gauge takes: on an edge or a corner, the lowest cell there.
const std::string gauges = R"("gauges": [{"name": "right", "x": 3.2, "y": 2}, {"name": "dry", "x": 2, "y": 3.6},
  {"name": "on-edge", "x": 3, "y": 3}, {"name": "centre", "x": 2, "y": 2}])";
const std::pair<std::string, std::size_t> gaugeCells[] = {{"right", 1}, {"dry", 2}, {"on-edge", 1}, {"centre", 0}};
const std::string sections = R"("sections": [{"name": "east", "points": [[0, 2], [4, 2]]},
  {"name": "long", "points": [[1, -4], [1, 2], [12, 2]]}])";

class MapsAndSeries : public ExportFolder {
 protected:
  void SetUp() override { writeRun(dir.file("run.h5")); }
  // The entry's members, exported to out.xdmf.
  BinaryRun exportWith(const std::string& members) { return ExportFolder::exportWith({members}, {"-o", "out.xdmf"}); }
};
using Maps = MapsAndSeries;
using Hydrographs = MapsAndSeries;

}  // namespace

TEST_F(Maps, EveryPixelShowsTheValueOfItsCell) {
  const BinaryRun run = exportWith(allMaps);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(announced(run), std::vector<std::string>{" -> exporting 6 outputs at 5 of 5 stored times to out.xdmf, the "
                                                     "envelopes to out_envelopes.xdmf, 11 maps at 1 m to out_*.tif and "
                                                     "the outline to out_outline.gpkg"});
  const Raster depth = readRaster(dir.file("out_water_depth.tif"));
  EXPECT_EQ(depth.width, 6);
  EXPECT_EQ(depth.transform, (std::vector<double>{0, 1, 0, 4, 0, -1}));
  EXPECT_EQ(depth.epsg, "2056");
  ASSERT_EQ(depth.descriptions,
            (std::vector<std::string>{"t = -10 s", "t = 0 s", "t = 2.5 s", "t = 10 s", "t = 30 s"}));
  EXPECT_EQ(depth.timeItems, (std::vector<std::string>{"-10", "0", "2.5", "10", "30"}));
  for (std::size_t b = 0; b < times.size(); ++b) {
    std::vector<double> cellDepth;
    for (std::size_t c = 0; c < cells; ++c)
      cellDepth.push_back(surfaceAt(static_cast<int>(c), static_cast<std::size_t>(stepsInTimeOrder[b])) - bed[c]);
    EXPECT_EQ(depth.values[b], pixelsOf(cellDepth)) << depth.descriptions[b];
  }
  // An envelope's map shows its values as the auxiliary file holds them.
  const Raster arrival = readRaster(dir.file("out_arrival_time.tif"));
  ASSERT_EQ(arrival.descriptions, std::vector<std::string>{"arrival_time"});
  EXPECT_EQ(arrival.values[0], pixelsOf(storedDoubles(dir.file("out_aux.h5"), "/envelopes/arrival_time")));
  // The outline's geometry is the unit tests' matter: here the wet cells 0, 1 and 3 make one polygon of 12 m2.
  GDALDatasetH outline = GDALOpenEx(dir.file("out_outline.gpkg").c_str(), GDAL_OF_VECTOR, nullptr, nullptr, nullptr);
  ASSERT_NE(outline, nullptr);
  OGRLayerH layer = GDALDatasetGetLayerByName(outline, "flood_outline");
  ASSERT_NE(layer, nullptr);
  EXPECT_EQ(OGR_L_GetFeatureCount(layer, TRUE), 1);
  EXPECT_STREQ(OSRGetAuthorityCode(OGR_L_GetSpatialRef(layer), nullptr), "2056");
  OGRFeatureH feature = OGR_L_GetNextFeature(layer);
  ASSERT_NE(feature, nullptr);
  EXPECT_DOUBLE_EQ(OGR_F_GetFieldAsDouble(feature, OGR_F_GetFieldIndex(feature, "area_m2")), 12.0);
  EXPECT_DOUBLE_EQ(OGR_F_GetFieldAsDouble(feature, OGR_F_GetFieldIndex(feature, "wet_depth")), 0.01);
  EXPECT_DOUBLE_EQ(OGR_G_Area(OGR_F_GetGeometryRef(feature)), 12.0);
  OGR_F_Destroy(feature);
  GDALClose(outline);
}

TEST_F(Maps, WithoutACoordinateSystemOneLineSaysSo) {
  const BinaryRun run = exportWith(R"("maps": {"cell_size": 2, "outputs": ["water_depth", "flow_velocity_abs"]})");
  ASSERT_EQ(run.status, 0) << run.err;
  const std::vector<std::string> lines = run.outLines();
  EXPECT_EQ(std::count(lines.begin(), lines.end(),
                       " -> the maps of RESULTS/EXPORT[0] carry no coordinate system: GIS will ask for one (name it "
                       "with \"crs\" in RESULTS/EXPORT[0]/maps)"),
            1);
  EXPECT_EQ(announced(run), std::vector<std::string>{" -> exporting 6 outputs at 5 of 5 stored times to out.xdmf, "
                                                     "2 maps at 2 m to out_*.tif"});
  EXPECT_EQ(readRaster(dir.file("out_flow_velocity_abs.tif")).epsg, "");
}

// The gauges' rows hold what the document shows for the gauge's cell. A section counts left to right when walked from
// its first point: the line y = 2 walked eastwards has its right side to the south, so northward flow (qy > 0) counts
// negative; it passes the centre corner from cell 3 into cell 1. The sections are laid on the mesh before any entry
// exports.
TEST_F(Hydrographs, EachSeriesHoldsWhatPassesItsPlace) {
  const BinaryRun run = exportWith(gauges + ", " + sections);
  ASSERT_EQ(run.status, 0) << run.err;
  const std::vector<std::string> lines = run.outLines();
  const auto warning = std::find(lines.begin(), lines.end(),
                                 " -> section <long> runs 12 m outside the mesh, where it carries no discharge");
  ASSERT_LT(warning + 1, lines.end()) << run.out;
  EXPECT_EQ(*(warning + 1),
            " -> exporting 6 outputs at 5 of 5 stored times to out.xdmf, 4 gauges and 2 sections to out_*.csv");
  const std::string auxiliary = dir.file("out_aux.h5");
  for (const auto& [name, c] : gaugeCells) {
    SCOPED_TRACE(name);
    const std::string text = readFile(dir.file("out_gauge_" + name + ".csv"));
    EXPECT_EQ(text.substr(0, text.find('\n')),
              "time_s,water_surface,water_depth,bottom_elevation,flow_velocity_abs,spec_discharge_x,"
              "spec_discharge_y,flow_velocity_x,flow_velocity_y");
    const auto rows = csvRows(text);
    ASSERT_EQ(rows.size(), times.size() + 1);
    for (std::size_t k = 0; k < stepsInTimeOrder.size(); ++k) {
      const int step = stepsInTimeOrder[k];
      const std::vector<double> state = stateAt(dir.file("run.h5"), step);
      const std::vector<double> velocity = storedDoubles(auxiliary, "flow_velocity/" + std::to_string(step));
      const std::vector<double> speed = storedDoubles(auxiliary, "flow_velocity_abs/" + std::to_string(step));
      const std::vector<double> expected{times[static_cast<std::size_t>(step)], state[3 * c], state[3 * c] - bed[c],
                                         bed[c], speed[c], state[3 * c + 1], state[3 * c + 2], velocity[2 * c],
                                         velocity[2 * c + 1]};
      EXPECT_EQ(rows[k + 1], expected) << "row " << k + 1;
    }
  }
  const std::string text = readFile(dir.file("out_sections.csv"));
  EXPECT_EQ(text.substr(0, text.find('\n')), "time_s,east_m3s,long_m3s");
  const auto rows = csvRows(text);
  ASSERT_EQ(rows.size(), times.size() + 1);
  for (std::size_t k = 0; k < stepsInTimeOrder.size(); ++k) {
    const int step = stepsInTimeOrder[k];
    const std::vector<double> q = stateAt(dir.file("run.h5"), step);
    // Northwards 4 m outside, 1 m in cell 0 and 1 m in cell 3; then eastwards 1 m in cell 3, 2 m in cell 1 and 8 m
    // outside.
    const double along = q[1] + q[3 * 3 + 1] - q[3 * 3 + 2] - 2 * q[3 * 1 + 2];
    EXPECT_DOUBLE_EQ(rows[k + 1][0], times[static_cast<std::size_t>(step)]);
    EXPECT_DOUBLE_EQ(rows[k + 1][1], -2 * q[3 * 3 + 2] - 2 * q[3 * 1 + 2]);
    EXPECT_DOUBLE_EQ(rows[k + 1][2], along);
  }
}

// A failure at a later step, after the maps' and the series' earlier steps were gathered, leaves no file of the run,
// and the earlier run's as they were.
TEST_F(Maps, AFailedRunLeavesTheFolderAsItWas) {
  const std::string members = allMaps + ", " + gauges + ", " + sections;
  ASSERT_EQ(exportWith(members).status, 0);
  const std::string earlierMap = readFile(dir.file("out_water_depth_max.tif"));
  const std::string earlierSections = readFile(dir.file("out_sections.csv"));
  const std::vector<std::string> before = filesLeft();
  writeRun(dir.file("run.h5"), 3);
  expectRefusal(exportWith(members),
                " -> dataset </RESULTS/CellsAll/HydState/0000003> read by <spec_discharge> at t = 10 s in file "
                "<run.h5>: expected at least 3 columns, found 2 columns");
  EXPECT_EQ(filesLeft(), before);
  EXPECT_EQ(readFile(dir.file("out_water_depth_max.tif")), earlierMap);
  EXPECT_EQ(readFile(dir.file("out_sections.csv")), earlierSections);
}

// Bad members, and runs that cannot give what the entry asks for, are refused before anything is written.
TEST_F(Maps, BadMembersAndRunsThatCannotServeThemStopTheRunBeforeAnythingIsWritten) {
  const std::pair<std::string, std::string> cases[] = {
      {R"("outputs": ["water_depth"], "maps": {"cell_size": 1, "outputs": ["water_surface"]})",
       " -> RESULTS/EXPORT[0]/maps/outputs/0 <water_surface> is not an output of this entry"},
      {R"("envelopes": {}, "maps": {"cell_size": 1, "crs": "/etc/hostname"})",
       " -> RESULTS/EXPORT[0]/maps/crs </etc/hostname> is no coordinate system PROJ knows: Cannot import "
       "/etc/hostname due to ALLOW_FILE_ACCESS=NO"},
      {R"("gauges": [])", " -> RESULTS/EXPORT[0]/gauges lists no gauge"},
      {R"("gauges": [{"name": "a", "x": 2, "y": 2}], "sections": [{"name": "a", "points": [[0, 0], [4, 4]]}])",
       " -> RESULTS/EXPORT[0]/sections/0/name <a> is already the name of RESULTS/EXPORT[0]/gauges/0"},
      {R"("gauges": [{"name": "../up", "x": 2, "y": 2}])",
       " -> RESULTS/EXPORT[0]/gauges/0/name <../up> is no name of letters, digits, '_' and '-' (it names a file)"},
      // Inside the grid that the spare node widens, but in no cell.
      {R"("gauges": [{"name": "in", "x": 2, "y": 2}, {"name": "off", "x": 5, "y": 1}])",
       " -> RESULTS/EXPORT[0]/gauges/1: gauge <off> at (5, 1) lies outside the mesh"},
  };
  for (const auto& [members, line] : cases) {
    SCOPED_TRACE(members);
    expectRefusal(exportWith(members), line);
    EXPECT_EQ(filesLeft(), untouched);
  }
  writeRun(dir.file("run.h5"), -1, noValue);
  expectRefusal(exportWith(allMaps),
                " -> RESULTS/EXPORT[0]/maps: node 5 of the mesh lies at no finite point (nan, 0): "
                "no map can show it");
  EXPECT_EQ(filesLeft(), untouched);
  {
    ResultsFileMaker maker(dir.file("run.h5"));
    maker.archive(morphologyModelText(), {"bottom_elevation"});
    maker.unitSquareMesh();
    maker.step("RESULTS/CellsAll/BottomEl/0000000", 0.0, 2, 1, {1.0, 2.0});
  }
  expectRefusal(exportWith(R"("sections": [{"name": "s", "points": [[0, 0.5], [1, 0.5]]}])"),
                " -> RESULTS/EXPORT[0]/sections needs the specific discharge, but its data "
                "</RESULTS/CellsAll/HydState> are not in the results file <run.h5>");
  EXPECT_EQ(filesLeft(), untouched);
}
