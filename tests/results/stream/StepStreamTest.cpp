// One time step streamed in slices and blocks smaller than the datasets, against the per-cell transformations.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>
#include <memory>

#include "../envelopes/HydraulicColumns.hpp"
#include "dataio/hdf5/H5Reader.hpp"
#include "dataio/hdf5/H5Writer.hpp"
#include "model/catalogue/Catalogue.hpp"
#include "model/outputs/ColumnForms.hpp"
#include "model/outputs/OutputDefinitions.hpp"
#include "results/stream/StepStream.hpp"
#include "support/H5TestFile.hpp"
#include "support/StoredDatasets.hpp"
#include "support/TempDir.hpp"

using namespace testing_support;
using envelope_testing::sameBits;

namespace {

constexpr int cells = 50;
constexpr int curvedCells = 23;  // a dataset shorter than the others
constexpr double threshold = 0.01;
const std::string hydState = "RESULTS/CellsAll/HydState/0000004";
const std::string bottom = "CellsAll/BottomEl";
const std::string tracers = "RESULTS/CellsAll/TrcState/0000004";
const std::string curvature = "CellsAll/FlowCurv";

// Depths around the threshold, dry and wet cells, zero discharge and a NaN.
struct Cells {
  std::vector<double> state, bed, tracer, curve;  // state: H, qx, qy; tracer: 15 columns

  Cells() {
    const double depths[] = {threshold, std::nextafter(threshold, 0.0), 0.0, -0.5, 2.0, 0.3, 1e-9};
    for (int i = 0; i < cells; ++i) {
      const double z = 10.0 - 0.25 * i;
      const double h = depths[i % 7] + (i % 5 == 0 ? 0.0 : 0.01 * i);
      bed.push_back(z);
      state.push_back(z + h);
      state.push_back(i % 6 == 0 ? 0.0 : 0.3 * i - 4.0);
      state.push_back(i == 17 ? std::numeric_limits<double>::quiet_NaN() : -0.1 * i);
      for (int c = 0; c < 15; ++c) tracer.push_back(i + c / 100.0);
    }
    for (int i = 0; i < curvedCells; ++i) curve.push_back(i == 3 ? 0.0 : 1.0 / (i + 1) - 0.1);
  }

  // Where a kind of data lies in the results file and here, and how many columns it has.
  struct Source {
    const std::string& path;
    const std::vector<double>& values;
    std::size_t width;
  };
  Source sourceOf(model::DataID data) const {
    if (data == model::data_HydState) return {hydState, state, 3};
    if (data == model::data_BottomEl) return {bottom, bed, 1};
    if (data == model::data_TrcState) return {tracers, tracer, 15};
    return {curvature, curve, 1};
  }

  // The values of output's data columns for one cell, in its column order.
  std::vector<double> of(model::OutputID output, std::size_t cell) const {
    std::vector<double> values;
    for (const model::DataColumn& column : model::Output2DataColumns.at(output)) {
      const Source source = sourceOf(column.first);
      values.push_back(source.values[source.width * cell + static_cast<std::size_t>(column.second)]);
    }
    return values;
  }
};

std::vector<results::StepInput> inputsOf(const Cells& given, model::OutputID output) {
  std::vector<results::StepInput> inputs;
  for (const model::DataColumn& column : model::Output2DataColumns.at(output))
    inputs.push_back({given.sourceOf(column.first).path, column.second});
  return inputs;
}

std::vector<model::TransformFunction> functionsOf(model::OutputID output) {
  std::vector<model::TransformFunction> functions;
  for (const model::OutputFunction& entry : model::OutputFunctions.at(output)) functions.push_back(entry.second);
  return functions;
}

// The columns a consumer was given at each time (surface, depth, velocity x and y, speed), joined in the order the
// slices came, and whether each slice went on from the cell where the one before it ended.
struct Recording : results::HydraulicConsumer {
  void add(double time, const results::HydraulicSlice& slice) override {
    std::vector<std::vector<double>>& columns = byTime[time];
    columns.resize(5);
    inOrder = inOrder && slice.firstCell == columns[0].size();
    const double* given[] = {slice.surface, slice.depth, slice.velocityX, slice.velocityY, slice.speed};
    for (std::size_t c = 0; c < 5; ++c) columns[c].insert(columns[c].end(), given[c], given[c] + slice.cells);
  }
  std::map<double, std::vector<std::vector<double>>> byTime;
  bool inOrder = true;
};

// Every value of an auxiliary dataset against the per-cell transformations of the data columns of `like`.
void expectPerCellValues(const Cells& given, dataio::H5Reader& aux, const std::string& path,
                         const std::vector<model::TransformFunction>& functions, model::OutputID like, int rows) {
  const std::vector<std::vector<double>> stored = aux.readDoubleArray(path);
  ASSERT_EQ(stored.size(), static_cast<std::size_t>(rows)) << path;
  EXPECT_EQ(aux.readIntAttribute(path, "size"), rows * static_cast<int>(functions.size()));
  for (int i = 0; i < rows; ++i) {
    std::vector<double> expected;
    for (const model::TransformFunction& function : functions)
      expected.push_back(function(threshold, given.of(like, i)));
    EXPECT_TRUE(sameBits(stored[i], expected)) << path << " cell " << i;
  }
}

}  // namespace

// Transformations that are not the catalogue's own have no column form and are evaluated cell by cell, with as many
// components as they have. The datasets are made in the order the outputs were added, as if each had been written whole
// before the next. Each step's consumers get every cell once, in order, with the values flow_velocity and
// flow_velocity_abs compute, whether or not those are written; after a write the next step starts afresh.
TEST(StepStream, ConsumersGetEveryCellsValuesInTheOrderAdded) {
  TempDir dir;
  const Cells given;
  {
    H5TestFile file(dir.file("run.h5"));
    file.doubles(hydState, {cells, 3}, given.state);
    file.doubles(bottom, {cells, 1}, given.bed);
    file.doubles(tracers, {cells, 15}, given.tracer);
    file.doubles(curvature, {curvedCells, 1}, given.curve);
  }
  dataio::H5Reader resultsFile(dir.file("run.h5"));
  // Slices of 7 rows in blocks of 3: each ends part-way, and the short dataset ends within a slice.
  results::StepStream stream(resultsFile, 7, 3);
  std::unique_ptr<api::IH5Writer> auxiliary(dataio::createH5Writer(dir.file("aux.h5")));
  const std::vector<model::OutputID> outputs{model::flow_velocity_abs, model::flow_velocity, model::tracer1_drv,
                                             model::flow_radius, model::tracer3};
  for (model::OutputID output : outputs)
    stream.addOutput(model::OutputProps.at(output).name + "/4", inputsOf(given, output),
                     model::columnFormsFor(output, functionsOf(output)), functionsOf(output));
  const std::vector<model::TransformFunction> custom = {
      [](const double& d, const std::vector<double>& v) { return v.at(0) - v.at(1) + d; },
      [](const double&, const std::vector<double>& v) { return v.at(1) * 2.0; },
      [](const double&, const std::vector<double>& v) { return -v.at(0); }};
  stream.addOutput("custom/4", inputsOf(given, model::water_depth), {}, custom);
  Recording recording;
  stream.addHydraulics(36.5, inputsOf(given, model::flow_velocity), {&recording});
  stream.write(threshold, *auxiliary);
  EXPECT_TRUE(stream.empty());
  stream.addHydraulics(40.0, inputsOf(given, model::flow_velocity), {&recording});
  stream.write(threshold, *auxiliary);
  auxiliary->close();
  dataio::H5Reader aux(dir.file("aux.h5"));
  haddr_t offset = 0;
  for (model::OutputID output : outputs) {
    const std::string path = model::OutputProps.at(output).name + "/4";
    const int rows = output == model::flow_radius ? curvedCells : cells;
    expectPerCellValues(given, aux, path, functionsOf(output), output, rows);
    const haddr_t next = storageOffset(dir.file("aux.h5"), path);
    EXPECT_LT(offset, next) << path;
    offset = next;
  }
  expectPerCellValues(given, aux, "custom/4", custom, model::water_depth, cells);
  EXPECT_LT(offset, storageOffset(dir.file("aux.h5"), "custom/4"));

  // The velocity and speed as the datasets checked above hold them.
  const std::vector<std::vector<double>> velocity = aux.readDoubleArray("flow_velocity/4");
  const std::vector<std::vector<double>> speed = aux.readDoubleArray("flow_velocity_abs/4");
  std::vector<std::vector<double>> expected(5);
  for (int i = 0; i < cells; ++i) {
    expected[0].push_back(given.state[3 * i]);
    expected[1].push_back(given.state[3 * i] - given.bed[i]);
    expected[2].push_back(velocity[i][0]);
    expected[3].push_back(velocity[i][1]);
    expected[4].push_back(speed[i][0]);
  }
  EXPECT_TRUE(recording.inOrder);
  ASSERT_EQ(recording.byTime.size(), 2u);
  EXPECT_EQ(recording.byTime.begin()->first, 36.5);
  for (const auto& [time, seen] : recording.byTime)
    for (std::size_t c = 0; c < 5; ++c) EXPECT_TRUE(sameBits(seen[c], expected[c])) << time << " column " << c;
}
