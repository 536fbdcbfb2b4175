// "envelopes": the flood envelopes of an export entry's selected times,
// through the binary. The expected envelopes are worked out here from the
// stored values, cell by cell over each cell's series of selected times, by
// the definitions the guide gives, and not with the code under test.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <limits>
#include <map>
#include <optional>
#include <regex>

#include "support/BinaryRun.hpp"
#include "support/ExportFolder.hpp"
#include "support/ResultsFileMaker.hpp"
#include "support/StoredDatasets.hpp"
#include "support/TempDir.hpp"

using namespace testing_support;

namespace {

const double notANumber = std::numeric_limits<double>::quiet_NaN();
constexpr int cells = 4;

// One stored time of a run on the four triangles of a unit square split at
// its centre: per cell the water surface, the specific discharge and the bed.
struct Stored {
  double time;
  std::vector<double> surface, qx, qy, bed;
};

enum class Bed { once, everyStep };

// Stored in step-number order; the times are not in that order, and their
// intervals are uneven. Per cell, over the times in ascending order, on a bed
// stored once:
//   0: wet throughout, its deepest water at -10 s and again at 2.5 s;
//   1: dry, flooded at 2.5 s, drained below the run's 0.01 m at 30 s;
//   2: never as deep as 0.01 m;
//   3: 0.01 m deep at -10 s (wet), dry at 0 s, then wet.
// A bed stored at every step rises under cell 3 from step to step.
std::vector<Stored> dambreakRun(Bed bed) {
  const std::vector<double> times{0.0, -10.0, 2.5, 10.0, 30.0};
  const std::vector<std::vector<double>> surface{{1.8, 1.0, 2.002, 0.5},
                                                 {1.8, 1.0, 2.005, 0.51},
                                                 {1.8, 1.3, 2.0, 0.6},
                                                 {1.6, 1.05, 2.008, 0.9},
                                                 {1.2, 1.004, 2.001, 0.75}};
  std::vector<Stored> run;
  for (std::size_t k = 0; k < times.size(); ++k) {
    const double rise = bed == Bed::everyStep ? 0.01 * static_cast<double>(k) : 0.0;
    Stored stored{times[k], surface[k], {}, {}, {1.0, 1.0, 2.0, 0.5 + rise}};
    for (int c = 0; c < cells; ++c) {
      stored.qx.push_back(0.1 * (c + 1) + 0.05 * static_cast<double>(k));
      stored.qy.push_back(-0.02 * static_cast<double>(k + 1) * (c % 2 ? 1.0 : -1.0));
    }
    run.push_back(stored);
  }
  return run;
}

void writeRun(const std::string& file, const std::vector<Stored>& run, Bed bed, std::optional<double> minDepth,
              const std::vector<std::string>& outputs) {
  ResultsFileMaker maker(file);
  maker.archive(bed == Bed::once ? hydraulicsModelText() : morphologyModelText(), outputs);
  maker.ints("CellsAll/Topology", cells, 3, {0, 1, 4, 1, 2, 4, 2, 3, 4, 3, 0, 4});
  maker.doubles("NodesAll/Coordnts", 5, 3, {0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0, 0.5, 0.5, 0});
  if (minDepth) maker.scalar("Parameters/MinWaterDepth", *minDepth);
  if (bed == Bed::once) maker.doubles("CellsAll/BottomEl", cells, 1, run.front().bed);
  for (std::size_t k = 0; k < run.size(); ++k) {
    const std::string step = "000000" + std::to_string(k);
    std::vector<double> state;
    for (int c = 0; c < cells; ++c) state.insert(state.end(), {run[k].surface[c], run[k].qx[c], run[k].qy[c]});
    maker.step("RESULTS/CellsAll/HydState/" + step, run[k].time, cells, 3, state);
    if (bed == Bed::everyStep) maker.step("RESULTS/CellsAll/BottomEl/" + step, run[k].time, cells, 1, run[k].bed);
  }
}

// The envelope datasets by name, rows of one value (three for the vector).
using EnvelopeValues = std::map<std::string, std::vector<double>>;

// The largest number of a series and the first time it is reached.
std::pair<double, double> firstMaximum(const std::vector<double>& series, const std::vector<double>& times) {
  double maximum = notANumber;
  double when = notANumber;
  for (std::size_t k = 0; k < series.size(); ++k) {
    if (!std::isnan(series[k]) && (std::isnan(maximum) || series[k] > maximum)) {
      maximum = series[k];
      when = times[k];
    }
  }
  return {maximum, when};
}

// The envelopes over the stored times given (any order): a cell is wet at a
// depth of at least wetDepth; its velocity is that of flow_velocity, zero
// where the depth is below the run's minimum depth.
EnvelopeValues expectedEnvelopes(std::vector<Stored> selected, double minDepth, double wetDepth) {
  std::sort(selected.begin(), selected.end(), [](const Stored& a, const Stored& b) { return a.time < b.time; });
  std::vector<double> times;
  for (const Stored& stored : selected) times.push_back(stored.time);
  EnvelopeValues values;
  for (int c = 0; c < cells; ++c) {
    std::vector<double> depth, surface, speed, vx, vy, hazard;
    std::vector<bool> wet;
    for (const Stored& stored : selected) {
      const double h = stored.surface[c] - stored.bed[c];
      const bool moving = h >= minDepth;
      vx.push_back(moving ? stored.qx[c] / h : 0.0);
      vy.push_back(moving ? stored.qy[c] / h : 0.0);
      speed.push_back(std::sqrt(vx.back() * vx.back() + vy.back() * vy.back()));
      depth.push_back(h);
      surface.push_back(stored.surface[c]);
      hazard.push_back(h * speed.back());
      wet.push_back(h >= wetDepth);
    }
    const bool everWet = std::find(wet.begin(), wet.end(), true) != wet.end();
    const auto maximum = [&](const std::string& name, const std::vector<double>& series) {
      const auto [largest, when] = firstMaximum(series, times);
      values[name + "_max"].push_back(largest);
      values[name + "_tmax"].push_back(everWet ? when : notANumber);
    };
    maximum("water_depth", depth);
    maximum("water_surface", surface);
    maximum("flow_velocity_abs", speed);
    const std::size_t fastest = static_cast<std::size_t>(
        std::find(speed.begin(), speed.end(), firstMaximum(speed, times).first) - speed.begin());
    values["flow_velocity_at_max"].insert(values["flow_velocity_at_max"].end(), {vx[fastest], vy[fastest], 0.0});
    values["depth_velocity_max"].push_back(firstMaximum(hazard, times).first);
    const auto arrival = std::find(wet.begin(), wet.end(), true);
    values["arrival_time"].push_back(everWet ? times[static_cast<std::size_t>(arrival - wet.begin())] : notANumber);
    double duration = 0.0;
    for (std::size_t k = 0; k + 1 < times.size(); ++k)
      duration += (times[k + 1] - times[k]) * ((wet[k] ? 0.5 : 0.0) + (wet[k + 1] ? 0.5 : 0.0));
    values["wet_duration"].push_back(duration);
  }
  return values;
}

std::vector<Stored> atTimes(const std::vector<Stored>& run, const std::vector<double>& times) {
  std::vector<Stored> chosen;
  for (const Stored& stored : run)
    if (std::find(times.begin(), times.end(), stored.time) != times.end()) chosen.push_back(stored);
  return chosen;
}

const std::vector<std::string> envelopeNames{
    "water_depth_max",      "water_depth_tmax",   "water_surface_max", "water_surface_tmax", "flow_velocity_abs_max",
    "flow_velocity_abs_tmax", "flow_velocity_at_max", "depth_velocity_max", "arrival_time",     "wet_duration"};

// Every envelope dataset of the auxiliary file: its shape, its "size" and its
// values, NaN where NaN is expected.
void expectEnvelopeDatasets(const std::string& auxiliaryFile, const EnvelopeValues& expected) {
  for (const std::string& name : envelopeNames) {
    SCOPED_TRACE(name);
    const StoredDataset stored = readStoredDataset(auxiliaryFile, "/envelopes/" + name);
    const hsize_t columns = name == "flow_velocity_at_max" ? 3 : 1;
    ASSERT_EQ(stored.dims, (std::vector<hsize_t>{cells, columns}));
    EXPECT_EQ(stored.size, static_cast<int>(cells * columns));
    const std::vector<double>& want = expected.at(name);
    ASSERT_EQ(stored.values.size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i) {
      if (std::isnan(want[i]))
        EXPECT_TRUE(std::isnan(stored.values[i])) << "value " << i << " is " << stored.values[i];
      else
        EXPECT_DOUBLE_EQ(stored.values[i], want[i]) << "value " << i;
    }
  }
  EXPECT_EQ(groupMembers(auxiliaryFile, "/envelopes"), envelopeNames.size());
}

enum class Form { standard, portable };

// The envelope document of the small run: in the default form each attribute
// selects every row and column of its dataset, in the portable form it is the
// dataset's plain item.
std::string expectedDocument(const std::string& time, const std::string& meshFile, const std::string& auxiliary,
                             Form form = Form::standard) {
  std::string text = R"(<?xml version="1.0" ?>
<!DOCTYPE Xdmf SYSTEM "Xdmf.dtd" []>
<Xdmf Version=")" + std::string(form == Form::portable ? "3.0" : "2.0") + R"(">
    <Domain>
        <Grid GridType="Collection" Name="envelopes" CollectionType="Temporal">
            <Grid GridType="Uniform" Name="envelopes">
                <Time TimeType="Single" Name="time = )" + time + R"(" Value=")" + time + R"(">
                </Time>
                <Topology TopologyType="Triangle" Name="Topology" NumberOfElements="4">
                    <DataItem ItemType="Uniform" Dimensions="4 3" Format="HDF" NumberType="Int">
                        )" + meshFile + R"(:/CellsAll/Topology
                    </DataItem>
                </Topology>
                <Geometry GeometryType="XYZ" Name="Coordinates">
                    <DataItem ItemType="Uniform" Dimensions="5 3" Format="HDF" NumberType="Float" Precision="8">
                        )" + meshFile + R"(:/NodesAll/Coordnts
                    </DataItem>
                </Geometry>
)";
  for (const std::string& name : envelopeNames) {
    const bool vector = name == "flow_velocity_at_max";
    const std::string shape = vector ? "4 3" : "4 1";
    text += std::string(R"(                <Attribute AttributeType=")") + (vector ? "Vector" : "Scalar") +
            R"(" Name=")" + name + R"(" Center="Cell">
)";
    const std::string item = R"(<DataItem ItemType="Uniform" Dimensions=")" + shape +
                             R"(" Format="HDF" NumberType="Float" Precision="8">)";
    const std::string source = auxiliary + ":/envelopes/" + name;
    if (form == Form::portable) {
      text += "                    " + item + "\n" + "                        " + source + "\n" +
              "                    </DataItem>\n";
    } else {
      text += R"(                    <DataItem ItemType="HyperSlab" Dimensions=")" + std::string(vector ? "4 3" : "4") +
              R"(">
                        <DataItem ItemType="Uniform" Dimensions="3 2" Format="XML" NumberType="Int">
                            0 0 1 1 4 )" + (vector ? "3" : "1") + R"(
                        </DataItem>
                        )" + item + R"(
                            )" + source + R"(
                        </DataItem>
                    </DataItem>
)";
    }
    text += "                </Attribute>\n";
  }
  return text + R"(            </Grid>
        </Grid>
    </Domain>
</Xdmf>
)";
}

class Envelopes : public ExportFolder {
 protected:
  void write(Bed bed = Bed::once, std::optional<double> minDepth = 0.01,
             const std::vector<std::string>& outputs = {"water_surface", "flow_velocity"}) {
    run = dambreakRun(bed);
    writeRun(dir.file("run.h5"), run, bed, minDepth, outputs);
  }
  std::vector<Stored> run;
};

}  // namespace

TEST_F(Envelopes, TheDocumentAndEveryDatasetOfASmallRun) {
  write();
  const BinaryRun exported = exportWith({R"("envelopes": {})"});
  ASSERT_EQ(exported.status, 0) << exported.err;
  EXPECT_EQ(announced(exported), std::vector<std::string>{" -> exporting 2 outputs at 5 of 5 stored times to "
                                                          "results.xdmf, the envelopes to results_envelopes.xdmf"});
  EXPECT_EQ(readFile(dir.file("results_envelopes.xdmf")), expectedDocument("30.000000", "run.h5", "results_aux.h5"));
  expectEnvelopeDatasets(dir.file("results_aux.h5"), expectedEnvelopes(run, 0.01, 0.01));
  // Each of the four cells is one of the cases the run was made of.
  const StoredDataset arrival = readStoredDataset(dir.file("results_aux.h5"), "/envelopes/arrival_time");
  ASSERT_EQ(arrival.values.size(), 4u);
  EXPECT_EQ(arrival.values[0], -10.0);
  EXPECT_EQ(arrival.values[1], 2.5);
  EXPECT_TRUE(std::isnan(arrival.values[2]));
  EXPECT_EQ(arrival.values[3], -10.0);
  EXPECT_EQ(readStoredDataset(dir.file("results_aux.h5"), "/envelopes/water_depth_tmax").values[0], -10.0);
}

// The time-step document and the computed outputs are what they are without
// the envelopes; the envelopes only add their group and their document.
TEST_F(Envelopes, TheTimeStepExportStaysAsItIs) {
  write();
  ASSERT_EQ(exportWith({R"("outputs": ["water_surface", "flow_velocity"])"}, {"-o", "plain.xdmf"}).status, 0);
  ASSERT_EQ(exportWith({R"("envelopes": {"wet_depth": 0.2})"}, {"-o", "with.xdmf"}).status, 0);
  EXPECT_EQ(std::regex_replace(readFile(dir.file("with.xdmf")), std::regex("with_aux\\.h5"), "plain_aux.h5"),
            readFile(dir.file("plain.xdmf")));
  for (const std::string step : {"0", "1", "2", "3", "4"}) {
    const StoredDataset plain = readStoredDataset(dir.file("plain_aux.h5"), "/flow_velocity/" + step);
    const StoredDataset with = readStoredDataset(dir.file("with_aux.h5"), "/flow_velocity/" + step);
    EXPECT_EQ(with.dims, plain.dims);
    EXPECT_EQ(with.values, plain.values);
  }
  EXPECT_EQ(groupMembers(dir.file("with_aux.h5"), "/"), 2u);
  EXPECT_EQ(groupMembers(dir.file("plain_aux.h5"), "/"), 1u);
}

TEST_F(Envelopes, NoEnvelopesWithoutTheMember) {
  write();
  ASSERT_EQ(exportWith({"", R"("document": "w.xdmf", "from": 0, "portable": true, "mesh_2dm": true)"}).status, 0);
  EXPECT_TRUE(exists("results.xdmf"));
  EXPECT_TRUE(exists("w.xdmf"));
  for (const char* file : {"results_envelopes.xdmf", "w_envelopes.xdmf"}) EXPECT_FALSE(exists(file)) << file;
  EXPECT_EQ(groupMembers(dir.file("results_aux.h5"), "/envelopes"), 0u);
  EXPECT_EQ(groupMembers(dir.file("w_aux.h5"), "/envelopes"), 0u);
}

// From -5 s on, every second time: 0 s and 10 s. The envelopes see nothing
// of the other stored times, and their document stands at the last of them.
TEST_F(Envelopes, AWindowAndAStrideDecideTheTimesTheEnvelopesSee) {
  write();
  const BinaryRun exported = exportWith({R"("from": -5, "every": 2, "envelopes": {}, "document": "w.xdmf")"});
  ASSERT_EQ(exported.status, 0) << exported.err;
  EXPECT_EQ(announced(exported),
            std::vector<std::string>{" -> exporting 2 outputs at 2 of 5 stored times to w.xdmf, the envelopes to "
                                     "w_envelopes.xdmf"});
  EXPECT_EQ(readFile(dir.file("w_envelopes.xdmf")), expectedDocument("10.000000", "run.h5", "w_aux.h5"));
  const EnvelopeValues expected = expectedEnvelopes(atTimes(run, {0.0, 10.0}), 0.01, 0.01);
  expectEnvelopeDatasets(dir.file("w_aux.h5"), expected);
  // Cell 1 is wet at 10 s only: half of the interval; cell 3, dry at 0 s, arrives at 10 s.
  EXPECT_EQ(expected.at("wet_duration")[1], 5.0);
  EXPECT_EQ(expected.at("arrival_time")[3], 10.0);

  ASSERT_EQ(exportWith({R"("from": 30, "envelopes": {}, "document": "last.xdmf")"}).status, 0);
  expectEnvelopeDatasets(dir.file("last_aux.h5"), expectedEnvelopes(atTimes(run, {30.0}), 0.01, 0.01));
}

// The envelopes follow the hydraulic state whatever the entry exports: here
// the bed of each step of a morphology run, and no velocity at all.
TEST_F(Envelopes, OutputsWithoutTheVelocity) {
  write(Bed::everyStep, 0.01, {"bottom_elevation", "flow_velocity"});
  const BinaryRun exported = exportWith({R"("outputs": ["bottom_elevation"], "envelopes": {})"});
  ASSERT_EQ(exported.status, 0) << exported.err;
  expectEnvelopeDatasets(dir.file("results_aux.h5"), expectedEnvelopes(run, 0.01, 0.01));
  EXPECT_EQ(groupMembers(dir.file("results_aux.h5"), "/"), 1u);
  EXPECT_EQ(groupMembers(dir.file("results_aux.h5"), "/flow_velocity"), 0u);
}

// The wet depth decides wetness only: the speed keeps the run's minimum depth.
TEST_F(Envelopes, TheWetDepthIsTheMembersOrTheRunsMinimumDepth) {
  write(Bed::once, 0.01);
  ASSERT_EQ(exportWith({R"("envelopes": {"wet_depth": 0.35}, "document": "deep.xdmf")",
                        R"("envelopes": {}, "document": "default.xdmf")",
                        R"("envelopes": {"wet_depth": 0.01}, "document": "same.xdmf")",
                        R"("envelopes": {"wet_depth": 0.25}, "document": "equal.xdmf")"})
                .status,
            0);
  const EnvelopeValues deep = expectedEnvelopes(run, 0.01, 0.35);
  expectEnvelopeDatasets(dir.file("deep_aux.h5"), deep);
  EXPECT_TRUE(std::isnan(deep.at("arrival_time")[1]));  // 0.3 m deep at most
  EXPECT_GT(deep.at("flow_velocity_abs_max")[1], 0.0);
  expectEnvelopeDatasets(dir.file("default_aux.h5"), expectedEnvelopes(run, 0.01, 0.01));
  expectEnvelopeDatasets(dir.file("same_aux.h5"), expectedEnvelopes(run, 0.01, 0.01));
  // Cell 3 is 0.4 m deep at 10 s and exactly 0.25 m at 30 s, wet at both: half of
  // 2.5 s to 10 s and the whole of 10 s to 30 s.
  const EnvelopeValues equal = expectedEnvelopes(run, 0.01, 0.25);
  expectEnvelopeDatasets(dir.file("equal_aux.h5"), equal);
  EXPECT_EQ(equal.at("wet_duration")[3], 23.75);

  // Without a minimum depth in the results file every depth from 0 on is wet.
  write(Bed::once, std::nullopt);
  ASSERT_EQ(exportWith({R"("envelopes": {}, "document": "none.xdmf")"}).status, 0);
  const EnvelopeValues none = expectedEnvelopes(run, 0.0, 0.0);
  expectEnvelopeDatasets(dir.file("none_aux.h5"), none);
  EXPECT_EQ(none.at("arrival_time")[2], -10.0);
}

TEST_F(Envelopes, ThePortableFormReadsOnlyItsAuxiliaryFile) {
  write();
  const BinaryRun exported = exportWith({R"("envelopes": {}, "document": "plain.xdmf")",
                                         R"("envelopes": {}, "document": "p.xdmf", "portable": true)"});
  ASSERT_EQ(exported.status, 0) << exported.err;
  EXPECT_EQ(readFile(dir.file("p_envelopes.xdmf")),
            expectedDocument("30.000000", "p_aux.h5", "p_aux.h5", Form::portable));
  EXPECT_EQ(readFile(dir.file("plain_envelopes.xdmf")), expectedDocument("30.000000", "run.h5", "plain_aux.h5"));
  const EnvelopeValues values = expectedEnvelopes(run, 0.01, 0.01);
  expectEnvelopeDatasets(dir.file("p_aux.h5"), values);
  expectEnvelopeDatasets(dir.file("plain_aux.h5"), values);
}

// The envelope document is a file of its own: it may not be another
// entry's file, nor an input, and entries that share an auxiliary file must
// ask for the same envelopes.
TEST_F(Envelopes, TheEnvelopeDocumentIsClaimedLikeEveryOtherFile) {
  write();
  expectRefusal(exportWith({R"("envelopes": {})", R"("document": "results_envelopes.xdmf")"}),
                " -> export entries 0 and 1 would both write <results_envelopes.xdmf> with different content");
  expectRefusal(exportWith({R"("document": "a.xdmf")", R"("document": "a.xdmf", "envelopes": {})"}),
                " -> export entries 0 and 1 would both write <a.xdmf> with different content");
  expectRefusal(exportWith({R"("document": "a.xdmf", "envelopes": {})",
                            R"("document": "a.xdmf", "envelopes": {"wet_depth": 0.5})"}),
                " -> export entries 0 and 1 would both write <a.xdmf> with different content");
  EXPECT_FALSE(exists("a.xdmf"));
  EXPECT_FALSE(exists("results_envelopes.xdmf"));
  expectRefusal(exportWith({R"("envelopes": {})"}, {"-o", "cfg.xdmf"}, "run.h5", "cfg_envelopes.xdmf"),
                " -> refusing to overwrite the configuration file <cfg_envelopes.xdmf> with <cfg_envelopes.xdmf>");
  EXPECT_FALSE(exists("cfg.xdmf"));

  // The same envelopes, however they are asked for, share their files.
  const BinaryRun same = exportWith({R"("document": "b.xdmf", "envelopes": {"wet_depth": 0.01})",
                                     R"("document": "b.xdmf", "envelopes": {})"});
  ASSERT_EQ(same.status, 0) << same.err;
  expectEnvelopeDatasets(dir.file("b_aux.h5"), expectedEnvelopes(run, 0.01, 0.01));
}

// No model setup composed from a results file lacks the hydraulic state, but
// a run may not have stored it: nothing is written then.
TEST_F(Envelopes, ARunWithoutTheStoredHydraulicStateIsRefused) {
  {
    ResultsFileMaker maker(dir.file("run.h5"));
    maker.archive(morphologyModelText(), {"bottom_elevation"});
    maker.unitSquareMesh();
    maker.step("RESULTS/CellsAll/BottomEl/0000000", 0.0, 2, 1, {1.0, 1.0});
    maker.group("RESULTS/CellsAll/HydState");
  }
  expectRefusal(exportWith({R"("outputs": ["bottom_elevation"], "envelopes": {})"}),
                " -> RESULTS/EXPORT[0]/envelopes needs the hydraulic state, but its data </RESULTS/CellsAll/HydState> "
                "are not in the results file <run.h5>");
  EXPECT_FALSE(exists("results.xdmf"));
  EXPECT_FALSE(exists("results_aux.h5"));
  EXPECT_FALSE(exists("results_envelopes.xdmf"));
  // Without the member the same run exports.
  EXPECT_EQ(exportWith({R"("outputs": ["bottom_elevation"])"}).status, 0);
}

// A window without a stored time fails as the selection, envelopes or not.
TEST_F(Envelopes, AnEmptyWindowIsTheSelectionsFailure) {
  write();
  expectRefusal(exportWith({R"("from": 40, "envelopes": {})"}),
                " -> no stored time in [40, 30]; the run stored -10 to 30 (5 times)");
  EXPECT_FALSE(exists("results_aux.h5"));
}

// The envelope document is put in place with the entry's other files, only
// when every entry has succeeded: an entry that fails in the middle of its
// steps, after an earlier one wrote its envelopes, leaves no file of them.
TEST_F(Envelopes, AFailureOfALaterEntryLeavesNoEnvelopeFile) {
  {
    ResultsFileMaker maker(dir.file("run.h5"));
    maker.archive(hydraulicsModelText(), {"water_surface"});
    maker.unitSquareMesh();
    maker.doubles("CellsAll/BottomEl", 2, 1, {1.0, 1.0});
    maker.step("RESULTS/CellsAll/HydState/0000000", 0.0, 2, 3, {2, 0.5, 0, 1.5, 0, 0});
    maker.step("RESULTS/CellsAll/HydState/0000001", 5.0, 2, 3, {2.5, 0.5, 0, 1.5, 0, 0});
    maker.step("RESULTS/CellsAll/HydState/0000002", 9.0, 2, 2, {2, 0, 2, 0});
  }
  const BinaryRun failed =
      exportWith({R"("to": 5, "envelopes": {})", R"("document": "late.xdmf", "outputs": ["flow_velocity"])"});
  EXPECT_EQ(failed.status, 1);
  EXPECT_EQ(failed.errLines().front(), " -> dataset </RESULTS/CellsAll/HydState/0000002> does not contain column 2!");
  std::vector<std::string> left;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) left.push_back(entry.path().filename());
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"cfg.json", "run.h5"}));
}
