// The envelopes of an export entry as its selection resolves them: the wet
// depth, the refusal of a model setup without the hydraulic state, and what
// makes two selections the same content.

#include <gtest/gtest.h>

#include <memory>
#include <optional>

#include "dataio/hdf5/ResultReader.hpp"
#include "model/compose/Factory.hpp"
#include "results/selection/ExportSelection.hpp"
#include "results/stored/OutputData.hpp"
#include "support/CerrCapture.hpp"
#include "support/FailureReport.hpp"
#include "support/ResultsFileMaker.hpp"
#include "support/TempDir.hpp"

using namespace testing_support;

namespace {

std::unique_ptr<api::IModel> composed(const std::string& definition, const std::vector<std::string>& outputs) {
  StreamCapture out(std::cout);
  std::unique_ptr<api::IModel> model(compose(definition));
  model->defineOutputs(outputs);
  return model;
}

class EnvelopeSelection : public ::testing::Test {
 protected:
  // Two stored times of the hydraulic state on a bed stored once.
  void writeRun(std::optional<double> minDepth) {
    ResultsFileMaker file(dir.file("run.h5"));
    if (minDepth) file.scalar("Parameters/MinWaterDepth", *minDepth);
    file.doubles("CellsAll/BottomEl", 2, 1, {0.5, 0.5});
    for (int step = 0; step < 2; ++step)
      file.step("RESULTS/CellsAll/HydState/000000" + std::to_string(step), 10.0 * step, 2, 3, {1, 0, 0, 1, 0, 0});
  }
  results::ExportSelection resolved(api::IModel& model, const results::ExportRequest& request) {
    std::unique_ptr<api::IResultReader> reader(dataio::createResultReader(dir.file("run.h5")));
    return results::resolveSelection(request, "out.xdmf", model, *reader);
  }
  static results::ExportRequest asking(std::optional<double> wetDepth, const std::string& output = "water_surface") {
    results::ExportRequest request;
    request.outputs = std::vector<std::string>{output};
    request.envelopes = true;
    request.wetDepth = wetDepth;
    return request;
  }

  TempDir dir;
};

}  // namespace

TEST_F(EnvelopeSelection, TheWetDepthIsTheRequestsOrTheRunsMinimumDepth) {
  const auto model = composed("a.0", {"water_surface"});
  writeRun(0.02);
  EXPECT_EQ(resolved(*model, asking(0.5)).envelopeWetDepth, 0.5);
  EXPECT_EQ(resolved(*model, asking(0.0)).envelopeWetDepth, 0.0);
  const results::ExportSelection byDefault = resolved(*model, asking(std::nullopt));
  EXPECT_TRUE(byDefault.envelopes);
  EXPECT_EQ(byDefault.envelopeWetDepth, 0.02);
  EXPECT_EQ(byDefault.envelopeDocument(), "out_envelopes.xdmf");
  writeRun(std::nullopt);
  EXPECT_EQ(resolved(*model, asking(std::nullopt)).envelopeWetDepth, 0.0);
}

TEST_F(EnvelopeSelection, WithoutTheMemberThereAreNoEnvelopes) {
  const auto model = composed("a.0", {"water_surface"});
  writeRun(0.02);
  results::ExportRequest request = asking(0.5);
  request.envelopes = false;
  request.wetDepth.reset();
  const results::ExportSelection selection = resolved(*model, request);
  EXPECT_FALSE(selection.envelopes);
  EXPECT_EQ(selection.envelopeWetDepth, 0.0);
}

// Every model setup composed from a results file has the hydraulic state;
// one made of a kernel that does not use it (the morphology's initial cell
// features: bed, curvature, bed gradient) has no velocity to follow.
TEST_F(EnvelopeSelection, AModelSetupWithoutTheHydraulicStateIsRefused) {
  const auto model = composed("k.1", {"bottom_elevation"});
  writeRun(0.02);
  results::ExportRequest request = asking(std::nullopt, "bottom_elevation");
  request.entry = 2;
  EXPECT_EQ(failureReport([&] { resolved(*model, request); }),
            " -> RESULTS/EXPORT[2]/envelopes needs the hydraulic state (water surface, bed elevation and discharge), "
            "which this model setup does not have\n");
  request.envelopes = false;
  EXPECT_EQ(failureReport([&] { resolved(*model, request); }), "no BaseException");
}

// The envelopes are written into the auxiliary file: exports that share it
// must ask for the same envelopes; the wet depth of none is no difference.
TEST(EnvelopeSelectionContent, EnvelopesAndTheirWetDepthAreContent) {
  results::ExportSelection plain;
  plain.times = {{0.0, 0}, {10.0, 1}};
  results::ExportSelection with = plain;
  with.envelopes = true;
  EXPECT_FALSE(plain.sameContent(with));
  EXPECT_FALSE(with.sameContent(plain));
  results::ExportSelection deeper = with;
  deeper.envelopeWetDepth = 0.1;
  EXPECT_FALSE(with.sameContent(deeper));
  EXPECT_TRUE(with.sameContent(results::ExportSelection(with)));
  results::ExportSelection otherDepthWithout = plain;
  otherDepthWithout.envelopeWetDepth = 0.1;
  EXPECT_TRUE(plain.sameContent(otherDepthWithout));
}

TEST(MinimumWaterDepth, TheStoredValueOrNone) {
  TempDir dir;
  {
    ResultsFileMaker file(dir.file("with.h5"));
    file.scalar("Parameters/MinWaterDepth", 0.003);
    ResultsFileMaker none(dir.file("none.h5"));
    none.group("Parameters");
  }
  std::unique_ptr<api::IResultReader> with(dataio::createResultReader(dir.file("with.h5")));
  std::unique_ptr<api::IResultReader> none(dataio::createResultReader(dir.file("none.h5")));
  EXPECT_EQ(results::minimumWaterDepth(*with), 0.003);
  EXPECT_EQ(results::minimumWaterDepth(*none), 0.0);
}
