// A consumer of the hydraulic state hooked to an XDMF export: it sees every
// cell once at every exported time, with the values the export writes for
// flow_velocity and flow_velocity_abs, whether or not they are exported.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>

#include "dataio/hdf5/H5Reader.hpp"
#include "dataio/hdf5/H5Writer.hpp"
#include "dataio/hdf5/ResultReader.hpp"
#include "model/compose/Factory.hpp"
#include "model/outputs/OutputDefinitions.hpp"
#include "results/xdmf/XdmfFormat.hpp"
#include "support/CerrCapture.hpp"
#include "support/TempDir.hpp"
#include "synthetic/ResultsFile.hpp"

using namespace testing_support;

namespace {

std::uint64_t bitsOf(double value) {
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

// Copies of everything the consumer was given, by time.
struct Recording : results::HydraulicConsumer {
  struct Cells {
    std::vector<double> surface, depth, velocityX, velocityY, speed;
    std::vector<int> seen;
  };
  void add(double time, const results::HydraulicSlice& slice) override {
    ASSERT_TRUE(times.empty() || times.back() <= time);
    if (times.empty() || times.back() != time) {
      times.push_back(time);
      byTime.emplace_back();
    }
    Cells& cells = byTime.back();
    const std::size_t end = slice.firstCell + slice.cells;
    for (auto* column : {&cells.surface, &cells.depth, &cells.velocityX, &cells.velocityY, &cells.speed})
      if (column->size() < end) column->resize(end);
    if (cells.seen.size() < end) cells.seen.resize(end);
    for (std::size_t k = 0; k < slice.cells; ++k) {
      const std::size_t i = slice.firstCell + k;
      ++cells.seen[i];
      cells.surface[i] = slice.surface[k];
      cells.depth[i] = slice.depth[k];
      cells.velocityX[i] = slice.velocityX[k];
      cells.velocityY[i] = slice.velocityY[k];
      cells.speed[i] = slice.speed[k];
    }
  }
  std::vector<double> times;
  std::vector<Cells> byTime;
};

// A morphology run, whose bed is stored at every step, of more cells than a
// block holds.
class HydraulicConsumer : public ::testing::Test {
 protected:
  // The bytes the export read from the results file.
  std::uint64_t exportWith(const std::vector<std::string>& outputs, bool portable = false, bool followed = true,
                           const std::string& document = "out.xdmf") {
    reader.reset();
    model.reset();
    synthetic::RunSettings settings;
    settings.cells = 5000;
    settings.steps = 4;
    settings.model = synthetic::ModelKind::morphology;
    settings.outputs = outputs;
    synthetic::writeResultsFile(dir.file("run.h5"), settings);
    StreamCapture out(std::cout);
    model.reset(compose(dir.file("run.h5")));
    model->defineOutputs(outputs);
    reader.reset(dataio::createResultReader(dir.file("run.h5")));
    api::IResultReader* readerView = reader.get();
    api::IModel* modelView = model.get();
    {
      results::ExportRequest request;
      request.portable = portable;
      const results::ExportSelection selection =
          results::resolveSelection(request, dir.file(document), *model, *reader);
      const results::Mesh mesh = results::checkMesh(*reader, model->getData(model::data_Topology)->getPath(),
                                                    model->getData(model::data_Coordnts_Nodes)->getPath());
      const std::shared_ptr<api::IH5Writer> auxiliary(dataio::createH5Writer(selection.auxiliaryFile()));
      results::XdmfFormat format(readerView, modelView, selection, mesh, auxiliary, selection.document());
      if (followed) format.addHydraulicConsumer(recording);
      const std::uint64_t before = reader->getBytesRead();
      format.exportData(0);
      read = reader->getBytesRead() - before;
    }
    times = reader->getTimes({"CellsAll/HydState"}, false);
    return read;
  }
  std::uint64_t read = 0;

  TempDir dir;
  std::unique_ptr<api::IModel> model;
  std::unique_ptr<api::IResultReader> reader;
  api::TimeTable times;
  Recording recording;
};

}  // namespace

TEST_F(HydraulicConsumer, SeesEveryCellOnceAtEveryTimeWithTheExportedVelocities) {
  exportWith({"water_surface", "flow_velocity", "flow_velocity_abs"});
  dataio::H5Reader aux(dir.file("out_aux.h5"));
  ASSERT_EQ(recording.times.size(), times.size());
  std::size_t k = 0;
  for (const auto& [time, step] : times) {
    EXPECT_EQ(recording.times[k], time);
    const Recording::Cells& cells = recording.byTime[k++];
    const std::vector<std::vector<double>> velocity = aux.readDoubleArray("flow_velocity/" + std::to_string(step));
    const std::vector<double> speed = aux.readColumn("flow_velocity_abs/" + std::to_string(step), 0);
    const std::vector<double> surface = reader->readColumn(dataio::resultStepPath("CellsAll/HydState", step), 0);
    const std::vector<double> bed = reader->readColumn(dataio::resultStepPath("CellsAll/BottomEl", step), 0);
    ASSERT_EQ(cells.seen, std::vector<int>(velocity.size(), 1)) << time;
    for (std::size_t i = 0; i < velocity.size(); ++i) {
      ASSERT_EQ(bitsOf(cells.velocityX[i]), bitsOf(velocity[i][0])) << time << " " << i;
      ASSERT_EQ(bitsOf(cells.velocityY[i]), bitsOf(velocity[i][1])) << time << " " << i;
      ASSERT_EQ(bitsOf(cells.speed[i]), bitsOf(speed[i])) << time << " " << i;
      ASSERT_EQ(bitsOf(cells.surface[i]), bitsOf(surface[i])) << time << " " << i;
      ASSERT_EQ(bitsOf(cells.depth[i]), bitsOf(surface[i] - bed[i])) << time << " " << i;
    }
  }
}

TEST_F(HydraulicConsumer, FollowsTheStateWhenNoVelocityIsExported) {
  exportWith({"water_surface", "water_depth"});
  EXPECT_EQ(dataio::H5Reader(dir.file("out_aux.h5")).getNrObjects("/"), 0);
  const double minDepth = reader->readDouble("Parameters/MinWaterDepth");
  const auto& velocityY = model::OutputFunctions.at(model::flow_velocity).at(1).second;
  const auto& speed = model::OutputFunctions.at(model::flow_velocity_abs).at(0).second;
  ASSERT_EQ(recording.times.size(), times.size());
  std::size_t k = 0;
  std::size_t moving = 0;  // the water stands still at first
  for (const auto& [time, step] : times) {
    const Recording::Cells& cells = recording.byTime[k++];
    const std::string state = dataio::resultStepPath("CellsAll/HydState", step);
    const std::vector<double> surface = reader->readColumn(state, 0);
    const std::vector<double> qx = reader->readColumn(state, 1);
    const std::vector<double> qy = reader->readColumn(state, 2);
    const std::vector<double> bed = reader->readColumn(dataio::resultStepPath("CellsAll/BottomEl", step), 0);
    ASSERT_EQ(cells.seen, std::vector<int>(surface.size(), 1)) << time;
    for (std::size_t i = 0; i < surface.size(); ++i) {
      const std::vector<double> values = {qx[i], qy[i], surface[i], bed[i]};
      ASSERT_EQ(bitsOf(cells.velocityY[i]), bitsOf(velocityY(minDepth, values))) << time << " " << i;
      ASSERT_EQ(bitsOf(cells.speed[i]), bitsOf(speed(minDepth, values))) << time << " " << i;
      if (cells.speed[i] != 0.0) ++moving;
    }
  }
  EXPECT_GT(moving, 0u);
}

// The portable form holds each step's tables whole: a consumer takes the
// state from there, the same values as from the file, without reading the
// file again.
TEST_F(HydraulicConsumer, InThePortableFormTheStateIsReadOnce) {
  const std::vector<std::string> outputs{"water_surface", "flow_velocity"};
  exportWith(outputs);
  const Recording streamed = recording;
  recording = Recording();
  const std::uint64_t followed = exportWith(outputs, true, true, "portable.xdmf");
  const std::uint64_t alone = exportWith(outputs, true, false, "alone.xdmf");
  EXPECT_EQ(followed, alone);
  ASSERT_EQ(recording.times, streamed.times);
  for (std::size_t k = 0; k < streamed.byTime.size(); ++k) {
    EXPECT_EQ(recording.byTime[k].seen, streamed.byTime[k].seen);
    EXPECT_EQ(recording.byTime[k].speed, streamed.byTime[k].speed);
    EXPECT_EQ(recording.byTime[k].depth, streamed.byTime[k].depth);
    EXPECT_EQ(recording.byTime[k].velocityY, streamed.byTime[k].velocityY);
  }
}
