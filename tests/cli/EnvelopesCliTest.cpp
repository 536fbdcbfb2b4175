// "envelopes": the flood envelopes of an export entry's selected times, through the binary: which files are written,
// the exact lines, the document and a few values worked out by hand from the stored run. The envelopes' definitions
// cell by cell are the accumulator's unit tests' matter.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <regex>

#include "support/DocumentOutline.hpp"
#include "support/ExportFolder.hpp"
#include "support/ResultsFileMaker.hpp"
#include "support/StoredDatasets.hpp"

using namespace testing_support;

namespace {

const double none = std::numeric_limits<double>::quiet_NaN();
constexpr int cells = 4;

const std::vector<std::string> envelopeNames{"water_depth_max",      "water_depth_tmax",      "water_surface_max",
                                             "water_surface_tmax",   "flow_velocity_abs_max", "flow_velocity_abs_tmax",
                                             "flow_velocity_at_max", "depth_velocity_max",    "arrival_time",
                                             "wet_duration"};

enum class Bed { once, everyStep };

std::vector<double> envelope(const std::string& auxiliaryFile, const std::string& name) {
  return storedDoubles(auxiliaryFile, "/envelopes/" + name);
}

// Exactly, NaN where NaN is expected.
void expectValues(const std::vector<double>& stored, const std::vector<double>& expected) {
  ASSERT_EQ(stored.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i)
    EXPECT_TRUE(std::isnan(expected[i]) ? std::isnan(stored[i]) : stored[i] == expected[i])
        << "value " << i << " is " << stored[i] << ", expected " << expected[i];
}

// The four triangles of a unit square split at its centre, stored in step-number order at uneven times out of time
// order. Per cell over the times in ascending order (-10, 0, 2.5, 10, 30 s) on a bed stored once:
//   0: 0.8 m deep at -10 s, 0 s and 2.5 s, then 0.6 and 0.2 m;
//   1: dry, flooded at 2.5 s (0.3 m), 0.05 m at 10 s, 0.004 m at 30 s;
//   2: never as deep as 0.01 m;
//   3: exactly 0.01 m at -10 s, dry at 0 s, then 0.1, 0.4 and exactly 0.25 m.
// A bed stored at every step rises under cell 3 by 0.01 m a step.
class Envelopes : public ExportFolder {
 protected:
  void write(Bed bed = Bed::once, const std::vector<std::string>& outputs = {"water_surface", "flow_velocity"}) {
    const double times[] = {0.0, -10.0, 2.5, 10.0, 30.0};
    const double surface[5][cells] = {{1.8, 1.0, 2.002, 0.5},
                                      {1.8, 1.0, 2.005, 0.51},
                                      {1.8, 1.3, 2.0, 0.6},
                                      {1.6, 1.05, 2.008, 0.9},
                                      {1.2, 1.004, 2.001, 0.75}};
    ResultsFileMaker maker(dir.file("run.h5"));
    maker.archive(bed == Bed::once ? hydraulicsModelText() : morphologyModelText(), outputs);
    maker.ints("CellsAll/Topology", cells, 3, {0, 1, 4, 1, 2, 4, 2, 3, 4, 3, 0, 4});
    maker.doubles("NodesAll/Coordnts", 5, 3, {0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0, 0.5, 0.5, 0});
    maker.scalar("Parameters/MinWaterDepth", 0.01);
    if (bed == Bed::once) maker.doubles("CellsAll/BottomEl", cells, 1, {1.0, 1.0, 2.0, 0.5});
    for (int k = 0; k < 5; ++k) {
      const std::string step = "000000" + std::to_string(k);
      std::vector<double> state;
      for (int c = 0; c < cells; ++c)
        state.insert(state.end(), {surface[k][c], 0.1 * (c + 1) + 0.05 * k, -0.02 * (k + 1) * (c % 2 ? 1.0 : -1.0)});
      maker.step("RESULTS/CellsAll/HydState/" + step, times[k], cells, 3, state);
      if (bed == Bed::everyStep)
        maker.step("RESULTS/CellsAll/BottomEl/" + step, times[k], cells, 1, {1.0, 1.0, 2.0, 0.5 + 0.01 * k});
    }
  }
};

}  // namespace

// Both forms' documents are their golden files, and the envelopes only add their group and their document. Every
// dataset has one row per cell and its "size"; a cell is wet from the wet depth on (cell 3 at -10 s), its maximum time
// is the first of equal maxima (cell 0), and the wet duration counts half of each interval per wet end.
TEST_F(Envelopes, ASmallRunsEnvelopesHoldTheValuesWorkedOutByHand) {
  write();
  const BinaryRun exported =
      exportWith({R"("envelopes": {})", R"("envelopes": {}, "document": "p.xdmf", "portable": true)",
                  R"("document": "plain.xdmf")"});
  ASSERT_EQ(exported.status, 0) << exported.err;
  EXPECT_EQ(
      announced(exported),
      (std::vector<std::string>{
          " -> exporting 2 outputs at 5 of 5 stored times to results.xdmf, the envelopes to results_envelopes.xdmf",
          " -> exporting 2 outputs at 5 of 5 stored times to p.xdmf, the envelopes to p_envelopes.xdmf",
          " -> exporting 2 outputs at 5 of 5 stored times to plain.xdmf"}));
  // The time-step document is what it is without the envelopes.
  EXPECT_EQ(std::regex_replace(readFile(dir.file("results.xdmf")), std::regex("results_aux\\.h5"), "plain_aux.h5"),
            readFile(dir.file("plain.xdmf")));
  EXPECT_EQ(groupMembers(dir.file("plain_aux.h5"), "/"), 1u);
  EXPECT_FALSE(exists("plain_envelopes.xdmf"));
  expectGoldenDocument(dir.file("results_envelopes.xdmf"), "envelopes.xdmf");
  expectGoldenDocument(dir.file("p_envelopes.xdmf"), "envelopes_portable.xdmf");
  const std::string aux = dir.file("results_aux.h5");
  for (const std::string& name : envelopeNames) {
    SCOPED_TRACE(name);
    const StoredDataset stored = readStoredDataset(aux, "/envelopes/" + name);
    const hsize_t columns = name == "flow_velocity_at_max" ? 3 : 1;
    EXPECT_EQ(stored.dims, (std::vector<hsize_t>{cells, columns}));
    EXPECT_EQ(stored.size, static_cast<int>(cells * columns));
    const std::vector<double> portable = envelope(dir.file("p_aux.h5"), name);
    EXPECT_EQ(std::memcmp(portable.data(), stored.values.data(), stored.values.size() * sizeof(double)), 0);
  }
  EXPECT_EQ(groupMembers(aux, "/envelopes"), envelopeNames.size());
  expectValues(envelope(aux, "water_depth_max"), {1.8 - 1.0, 1.3 - 1.0, 2.008 - 2.0, 0.9 - 0.5});
  expectValues(envelope(aux, "water_depth_tmax"), {-10.0, 2.5, none, 10.0});
  expectValues(envelope(aux, "arrival_time"), {-10.0, 2.5, none, -10.0});
  expectValues(envelope(aux, "wet_duration"), {40.0, 18.75, 0.0, 33.75});
}

// From -5 s on, every second time: 0 s and 10 s, and the document stands at the last of them. A wet depth of the
// entry's is reached from its value on (cell 3 at 30 s: half of 2.5 s to 10 s and all of 10 s to 30 s).
TEST_F(Envelopes, EnvelopesFollowTheSelectedTimesOfTheHydraulicState) {
  write();
  const BinaryRun exported = exportWith({R"("from": -5, "every": 2, "envelopes": {}, "document": "w.xdmf")",
                                         R"("envelopes": {"wet_depth": 0.25}, "document": "equal.xdmf")"});
  ASSERT_EQ(exported.status, 0) << exported.err;
  EXPECT_EQ(announced(exported).at(0),
            " -> exporting 2 outputs at 2 of 5 stored times to w.xdmf, the envelopes to w_envelopes.xdmf");
  const DocumentOutline outline = outlineOfFile(dir.file("w_envelopes.xdmf"));
  ASSERT_EQ(outline.steps.size(), 1u);
  EXPECT_EQ(outline.steps[0].time, "10.000000");
  expectValues(envelope(dir.file("w_aux.h5"), "arrival_time"), {0.0, 10.0, none, 10.0});
  expectValues(envelope(dir.file("w_aux.h5"), "wet_duration"), {10.0, 5.0, 0.0, 5.0});
  EXPECT_EQ(envelope(dir.file("equal_aux.h5"), "wet_duration").at(3), 23.75);
  // The envelopes follow the hydraulic state whatever the entry exports: here the bed of each step of a morphology run
  // (cell 3 dry until 2.5 s on its rising bed), and no velocity at all.
  write(Bed::everyStep, {"bottom_elevation", "flow_velocity"});
  ASSERT_EQ(exportWith({R"("outputs": ["bottom_elevation"], "envelopes": {}, "document": "bed.xdmf")"}).status, 0);
  expectValues(envelope(dir.file("bed_aux.h5"), "arrival_time"), {-10.0, 2.5, none, 2.5});
  EXPECT_EQ(groupMembers(dir.file("bed_aux.h5"), "/"), 1u);
}

// The envelope document is a file of its own: it may not be another entry's file, nor an input, and entries that share
// an auxiliary file must ask for the same envelopes (a default and a portable entry of one stem clash too: their
// auxiliary file would hold datasets of one name in two shapes); nothing of a refused run is written.
TEST_F(Envelopes, TheEnvelopeDocumentIsClaimedLikeEveryOtherFile) {
  write();
  const std::vector<std::string> clashes[] = {
      {R"("envelopes": {})", R"("document": "results_envelopes.xdmf")"},
      {R"("document": "results.xdmf")", R"("document": "results.xdmf", "envelopes": {})"},
      {R"("envelopes": {})", R"("envelopes": {"wet_depth": 0.5})"},
      {R"("document": "results.xdmf")", R"("document": "results.xdmf", "portable": true)"}};
  for (const std::vector<std::string>& clash : clashes) {
    SCOPED_TRACE(clash.back());
    const std::string target = clash.back().find("_envelopes") == std::string::npos ? "results" : "results_envelopes";
    expectRefusal(exportWith(clash),
                  " -> export entries 0 and 1 would both write <" + target + ".xdmf> with different content");
  }
  expectRefusal(exportWith({R"("envelopes": {})"}, {"-o", "cfg.xdmf"}, "run.h5", "cfg_envelopes.xdmf"),
                " -> refusing to overwrite the configuration file <cfg_envelopes.xdmf> with <cfg_envelopes.xdmf>");
  EXPECT_EQ(filesLeft(), (std::vector<std::string>{"cfg.json", "cfg_envelopes.xdmf", "run.h5"}));
  // The same envelopes, however they are asked for, share their files.
  const BinaryRun same = exportWith(
      {R"("document": "b.xdmf", "envelopes": {"wet_depth": 0.01})", R"("document": "b.xdmf", "envelopes": {})"});
  ASSERT_EQ(same.status, 0) << same.err;
  EXPECT_TRUE(exists("b_envelopes.xdmf"));
  const std::string portable = R"("document": "c.xdmf", "portable": true)";
  ASSERT_EQ(exportWith({portable, portable}).status, 0);
  EXPECT_EQ(outlineOfFile(dir.file("c.xdmf")).steps.size(), 5u);
}
