// An export entry's selection as it resolves against a run; the rest is pinned through the binary.

#include <gtest/gtest.h>

#include <memory>
#include <optional>

#include "dataio/hdf5/ResultReader.hpp"
#include "model/compose/Factory.hpp"
#include "results/selection/ExportSelection.hpp"
#include "support/CerrCapture.hpp"
#include "support/FailureReport.hpp"
#include "support/ResultsFileMaker.hpp"
#include "support/TempDir.hpp"

using namespace testing_support;

class ExportSelection : public ::testing::Test {
 protected:
  // Stored times 0, 10, 20 and 30 of the hydraulic state on a bed stored once.
  void SetUp() override {
    ResultsFileMaker file(dir.file("run.h5"));
    file.doubles("CellsAll/BottomEl", 2, 1, {0.5, 0.5});
    for (int step = 0; step < 4; ++step)
      file.step("RESULTS/CellsAll/HydState/000000" + std::to_string(step), 10.0 * step, 2, 3, {1, 0, 0, 1, 0, 0});
  }
  results::ExportSelection resolved(const results::ExportRequest& request, const std::string& kernel = "a.0") {
    const std::string output = request.outputs ? request.outputs->front() : "water_surface";
    StreamCapture out(std::cout);
    std::unique_ptr<api::IModel> model(compose(kernel));
    model->defineOutputs({output});
    std::unique_ptr<api::IResultReader> reader(dataio::createResultReader(dir.file("run.h5")));
    return results::resolveSelection(request, "out.xdmf", *model, *reader);
  }

  TempDir dir;
};

// Both bounds of the window are inclusive; the stride counts from the first time inside it.
TEST_F(ExportSelection, SelectionKeepsEveryNthTimeWithinTheWindow) {
  const auto timesOf = [&](std::optional<double> from, std::optional<double> to, std::size_t every) {
    results::ExportRequest request;
    request.from = from;
    request.to = to;
    request.every = every;
    std::vector<double> times;
    for (const results::SelectedTime& selected : resolved(request).times) times.push_back(selected.time);
    return times;
  };
  EXPECT_EQ(timesOf(10.0, std::nullopt, 1), (std::vector<double>{10, 20, 30}));
  EXPECT_EQ(timesOf(std::nullopt, 20.0, 1), (std::vector<double>{0, 10, 20}));
  EXPECT_EQ(timesOf(5.0, 25.0, 1), (std::vector<double>{10, 20}));
  EXPECT_EQ(timesOf(std::nullopt, std::nullopt, 2), (std::vector<double>{0, 20}));
  EXPECT_EQ(timesOf(10.0, std::nullopt, 2), (std::vector<double>{10, 30}));
  // A kernel that does not use the hydraulic state (the morphology's initial cell features) has no velocity to follow:
  // its envelopes are refused.
  results::ExportRequest request;
  request.outputs = std::vector<std::string>{"bottom_elevation"};
  request.envelopes = true;
  request.entry = 2;
  EXPECT_EQ(failureReport([&] { resolved(request, "k.1"); }),
            " -> RESULTS/EXPORT[2]/envelopes needs the hydraulic state (water surface, bed elevation and discharge), "
            "which this model setup does not have\n");
  request.envelopes = false;
  EXPECT_EQ(failureReport([&] { resolved(request, "k.1"); }), "no BaseException");
}
