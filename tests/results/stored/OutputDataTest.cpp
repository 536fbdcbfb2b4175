// Which data of an output a results file lacks, for stored steps and static data.

#include <gtest/gtest.h>

#include <memory>

#include "dataio/hdf5/ResultReader.hpp"
#include "model/compose/Factory.hpp"
#include "results/stored/OutputData.hpp"
#include "support/CerrCapture.hpp"
#include "support/ResultsFileMaker.hpp"
#include "support/TempDir.hpp"

using namespace testing_support;

namespace {

std::unique_ptr<api::IModel> hydraulicsModel() {
  StreamCapture out(std::cout);
  std::unique_ptr<api::IModel> model(compose("a.0"));
  model->defineOutputs({"water_surface", "water_depth"});
  return model;
}

}  // namespace

TEST(OutputData, NamesTheFirstMissingGroupOrStaticDataset) {
  TempDir dir;
  {
    ResultsFileMaker file(dir.file("run.h5"));
    file.step("RESULTS/CellsAll/HydState/0000000", 0.0, 2, 3, {1, 0, 0, 1, 0, 0});
  }
  const auto model = hydraulicsModel();
  std::unique_ptr<api::IResultReader> reader(dataio::createResultReader(dir.file("run.h5")));
  EXPECT_EQ(results::missingDataset(*model, *reader, model::water_surface), "");
  // BottomEl is static in a hydraulics run.
  EXPECT_EQ(results::missingDataset(*model, *reader, model::water_depth), "CellsAll/BottomEl");
}

TEST(OutputData, AGroupWithoutStepsIsMissing) {
  TempDir dir;
  {
    ResultsFileMaker file(dir.file("run.h5"));
    file.doubles("CellsAll/BottomEl", 2, 1, {0.0, 0.0});
    file.group("RESULTS/CellsAll/HydState");
  }
  const auto model = hydraulicsModel();
  std::unique_ptr<api::IResultReader> reader(dataio::createResultReader(dir.file("run.h5")));
  EXPECT_EQ(results::missingDataset(*model, *reader, model::water_depth), "/RESULTS/CellsAll/HydState");
}
