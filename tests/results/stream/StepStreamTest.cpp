// One time step streamed through slices and blocks far smaller than the
// datasets: every value the auxiliary file receives is the per-cell
// transformation's, bit for bit, and the consumers see each cell once with
// the values the velocity outputs get.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>

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

namespace {

constexpr int cells = 50;
constexpr int curvedCells = 23;  // a dataset shorter than the others
constexpr double threshold = 0.01;
const std::string hydState = "RESULTS/CellsAll/HydState/0000004";
const std::string bottom = "CellsAll/BottomEl";
const std::string tracers = "RESULTS/CellsAll/TrcState/0000004";
const std::string curvature = "CellsAll/FlowCurv";

std::uint64_t bitsOf(double value) {
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

// Depths around the threshold, dry and wet cells, zero discharge and a NaN.
struct Cells {
  std::vector<double> state;  // H, qx, qy
  std::vector<double> bed;
  std::vector<double> tracer;  // 15 columns
  std::vector<double> curve;

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

  // The values of output's data columns for one cell, in its column order.
  std::vector<double> of(model::OutputID output, int cell) const {
    std::vector<double> values;
    for (const model::DataColumn& column : model::Output2DataColumns.at(output)) {
      const std::size_t i = static_cast<std::size_t>(cell);
      switch (column.first) {
        case model::data_HydState: values.push_back(state[3 * i + static_cast<std::size_t>(column.second)]); break;
        case model::data_BottomEl: values.push_back(bed[i]); break;
        case model::data_TrcState: values.push_back(tracer[15 * i + static_cast<std::size_t>(column.second)]); break;
        default: values.push_back(curve[i]); break;
      }
    }
    return values;
  }
};

std::vector<results::StepInput> inputsOf(model::OutputID output) {
  std::vector<results::StepInput> inputs;
  for (const model::DataColumn& column : model::Output2DataColumns.at(output)) {
    switch (column.first) {
      case model::data_HydState: inputs.push_back({hydState, column.second}); break;
      case model::data_BottomEl: inputs.push_back({bottom, column.second}); break;
      case model::data_TrcState: inputs.push_back({tracers, column.second}); break;
      default: inputs.push_back({curvature, column.second}); break;
    }
  }
  return inputs;
}

std::vector<model::TransformFunction> functionsOf(model::OutputID output) {
  std::vector<model::TransformFunction> functions;
  for (const model::OutputFunction& entry : model::OutputFunctions.at(output)) functions.push_back(entry.second);
  return functions;
}

// What a consumer was given, copied during the calls.
struct Recording : results::HydraulicConsumer {
  struct Slice {
    double time;
    std::size_t firstCell;
    std::vector<double> surface, depth, velocityX, velocityY, speed;
  };
  void add(double time, const results::HydraulicSlice& slice) override {
    const auto copy = [&](const double* values) { return std::vector<double>(values, values + slice.cells); };
    slices.push_back({time, slice.firstCell, copy(slice.surface), copy(slice.depth), copy(slice.velocityX),
                      copy(slice.velocityY), copy(slice.speed)});
  }
  std::vector<Slice> slices;
};

class StepStreamTest : public ::testing::Test {
 protected:
  void SetUp() override {
    H5TestFile file(dir.file("run.h5"));
    file.doubles(hydState, {cells, 3}, given.state);
    file.doubles(bottom, {cells, 1}, given.bed);
    file.doubles(tracers, {cells, 15}, given.tracer);
    file.doubles(curvature, {curvedCells, 1}, given.curve);
  }

  // Slices of 7 rows in blocks of 3: each ends part-way, and the short
  // dataset ends within a slice.
  results::StepStream& stream() {
    if (!streamed) {
      resultsFile = std::make_unique<dataio::H5Reader>(dir.file("run.h5"));
      streamed = std::make_unique<results::StepStream>(*resultsFile, 7, 3);
    }
    return *streamed;
  }

  void add(model::OutputID output) {
    const std::vector<model::TransformFunction> functions = functionsOf(output);
    stream().addOutput(model::OutputProps.at(output).name + "/4", inputsOf(output),
                     model::columnFormsFor(output, functions), functions);
  }

  std::unique_ptr<dataio::H5Reader> written() {
    auxiliary->close();
    return std::make_unique<dataio::H5Reader>(dir.file("aux.h5"));
  }

  // Every value of the output's auxiliary dataset against its per-cell
  // transformations.
  void expectPerCellValues(dataio::H5Reader& aux, model::OutputID output, int rows) {
    const std::string path = model::OutputProps.at(output).name + "/4";
    const std::vector<std::vector<double>> stored = aux.readDoubleArray(path);
    const auto& functions = model::OutputFunctions.at(output);
    ASSERT_EQ(stored.size(), static_cast<std::size_t>(rows)) << path;
    EXPECT_EQ(aux.readIntAttribute(path, "size"), rows * static_cast<int>(functions.size()));
    for (int i = 0; i < rows; ++i)
      for (std::size_t c = 0; c < functions.size(); ++c)
        EXPECT_EQ(bitsOf(stored[i].at(c)), bitsOf(functions[c].second(threshold, given.of(output, i))))
            << path << " cell " << i << " component " << c;
  }

  TempDir dir;
  Cells given;
  std::unique_ptr<api::IH5Reader> resultsFile;
  std::unique_ptr<results::StepStream> streamed;
  std::unique_ptr<api::IH5Writer> auxiliary{dataio::createH5Writer(dir.file("aux.h5"))};
};

}  // namespace

TEST_F(StepStreamTest, EveryOutputGetsItsPerCellValuesWhateverItsLength) {
  for (model::OutputID output : {model::flow_velocity_abs, model::flow_velocity, model::tracer1_drv,
                                 model::flow_radius, model::tracer3})
    add(output);
  stream().write(threshold, *auxiliary);
  const auto aux = written();
  expectPerCellValues(*aux, model::flow_velocity_abs, cells);
  expectPerCellValues(*aux, model::flow_velocity, cells);
  expectPerCellValues(*aux, model::tracer1_drv, cells);
  expectPerCellValues(*aux, model::tracer3, cells);
  expectPerCellValues(*aux, model::flow_radius, curvedCells);
}

// Transformations that are not the catalogue's own have no column form and
// are evaluated cell by cell, with as many components as they have.
TEST_F(StepStreamTest, OtherTransformationsAreEvaluatedCellByCell) {
  const std::vector<model::TransformFunction> functions = {
      [](const double& d, const std::vector<double>& v) { return v.at(0) - v.at(1) + d; },
      [](const double&, const std::vector<double>& v) { return v.at(1) * 2.0; },
      [](const double&, const std::vector<double>& v) { return -v.at(0); }};
  ASSERT_TRUE(model::columnFormsFor(model::water_depth, functions).empty());
  stream().addOutput("custom/4", {{hydState, 0}, {bottom, 0}}, {}, functions);
  stream().write(threshold, *auxiliary);
  const std::vector<std::vector<double>> stored = written()->readDoubleArray("custom/4");
  ASSERT_EQ(stored.size(), static_cast<std::size_t>(cells));
  for (int i = 0; i < cells; ++i) {
    const std::vector<double> cell = given.of(model::water_depth, i);
    for (std::size_t c = 0; c < functions.size(); ++c)
      EXPECT_EQ(bitsOf(stored[i][c]), bitsOf(functions[c](threshold, cell))) << i << " " << c;
  }
}

// The datasets are made in the order the outputs were added, as if each had
// been written whole before the next.
TEST_F(StepStreamTest, OutputsAreLaidOutInTheOrderTheyWereAdded) {
  add(model::flow_velocity);
  add(model::flow_velocity_abs);
  add(model::tracer1);
  stream().write(threshold, *auxiliary);
  auxiliary->close();
  const std::string aux = dir.file("aux.h5");
  EXPECT_LT(storageOffset(aux, "flow_velocity/4"), storageOffset(aux, "flow_velocity_abs/4"));
  EXPECT_LT(storageOffset(aux, "flow_velocity_abs/4"), storageOffset(aux, "tracer1/4"));
}

TEST_F(StepStreamTest, ConsumersSeeEveryCellOnceWithTheValuesOfTheVelocityOutputs) {
  Recording recording;
  add(model::flow_velocity);
  add(model::flow_velocity_abs);
  stream().addHydraulics(36.5, inputsOf(model::flow_velocity), {&recording});
  stream().write(threshold, *auxiliary);
  const auto aux = written();
  const std::vector<std::vector<double>> velocity = aux->readDoubleArray("flow_velocity/4");
  const std::vector<double> speed = aux->readColumn("flow_velocity_abs/4", 0);

  std::size_t next = 0;
  for (const Recording::Slice& slice : recording.slices) {
    EXPECT_EQ(slice.time, 36.5);
    ASSERT_EQ(slice.firstCell, next);
    for (std::size_t k = 0; k < slice.surface.size(); ++k) {
      const std::size_t i = slice.firstCell + k;
      EXPECT_EQ(bitsOf(slice.surface[k]), bitsOf(given.state[3 * i])) << i;
      EXPECT_EQ(bitsOf(slice.depth[k]), bitsOf(given.state[3 * i] - given.bed[i])) << i;
      EXPECT_EQ(bitsOf(slice.velocityX[k]), bitsOf(velocity[i][0])) << i;
      EXPECT_EQ(bitsOf(slice.velocityY[k]), bitsOf(velocity[i][1])) << i;
      EXPECT_EQ(bitsOf(slice.speed[k]), bitsOf(speed[i])) << i;
    }
    next += slice.surface.size();
  }
  EXPECT_EQ(next, static_cast<std::size_t>(cells));
}

// Without computed outputs the consumers still get the hydraulic state,
// computed as flow_velocity and flow_velocity_abs would compute it; the next
// step starts afresh.
TEST_F(StepStreamTest, ConsumersAloneGetTheStateOfEachStep) {
  Recording recording;
  stream().addHydraulics(1.0, inputsOf(model::flow_velocity), {&recording});
  EXPECT_FALSE(stream().empty());
  stream().write(threshold, *auxiliary);
  EXPECT_TRUE(stream().empty());
  stream().addHydraulics(2.0, inputsOf(model::flow_velocity), {&recording});
  stream().write(threshold, *auxiliary);

  const auto& speed = model::OutputFunctions.at(model::flow_velocity_abs).at(0).second;
  const auto& velocityX = model::OutputFunctions.at(model::flow_velocity).at(0).second;
  std::vector<int> seen(cells, 0);
  double lastTime = 0.0;
  for (const Recording::Slice& slice : recording.slices) {
    EXPECT_GE(slice.time, lastTime);
    lastTime = slice.time;
    for (std::size_t k = 0; k < slice.speed.size(); ++k) {
      const int i = static_cast<int>(slice.firstCell + k);
      ++seen[static_cast<std::size_t>(i)];
      const std::vector<double> values = given.of(model::flow_velocity, i);
      EXPECT_EQ(bitsOf(slice.speed[k]), bitsOf(speed(threshold, values))) << i;
      EXPECT_EQ(bitsOf(slice.velocityX[k]), bitsOf(velocityX(threshold, values))) << i;
    }
  }
  EXPECT_EQ(seen, std::vector<int>(cells, 2));
  EXPECT_FALSE(written()->exist("flow_velocity"));
}
