// "gauges" and "sections" through the binary: the gauge files hold, bit for
// bit, what the document shows for the gauge's cell (the results file's
// columns, the viewer's water depth, the auxiliary file's computed values),
// the sections' file the discharge worked out here from the stored values,
// and bad members stop the run before anything is written.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "support/BinaryRun.hpp"
#include "support/ExportFolder.hpp"
#include "support/ResultsFileMaker.hpp"
#include "support/StoredDatasets.hpp"
#include "support/TempDir.hpp"

using namespace testing_support;

namespace {

constexpr int cells = 4;
const std::vector<std::string> outputs{"water_surface", "water_depth", "bottom_elevation",
                                       "spec_discharge", "flow_velocity", "flow_velocity_abs"};
// Step numbers in the order of their times: -10, 0, 2.5, 10, 30.
const std::vector<double> times{0.0, -10.0, 2.5, 10.0, 30.0};
const std::vector<int> stepsInTimeOrder{1, 0, 2, 3, 4};

// Four triangles of a unit square meeting at its centre: 0 below, 1 right,
// 2 above, 3 left. Cell 2 stays shallower than the run's 0.01 m (dry).
void writeRun(const std::string& file, int brokenStep = -1) {
  ResultsFileMaker maker(file);
  maker.archive(hydraulicsModelText(), outputs);
  maker.ints("CellsAll/Topology", cells, 3, {0, 1, 4, 1, 2, 4, 2, 3, 4, 3, 0, 4});
  maker.doubles("NodesAll/Coordnts", 5, 3, {0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0, 0.5, 0.5, 0});
  maker.scalar("Parameters/MinWaterDepth", 0.01);
  maker.doubles("CellsAll/BottomEl", cells, 1, {1.0, 1.1, 2.0, 0.5});
  for (std::size_t k = 0; k < times.size(); ++k) {
    std::vector<double> state;
    for (int c = 0; c < cells; ++c) {
      const double surface = c == 2 ? 2.003 : 1.7 + 0.1 * c + 0.01 * static_cast<double>(k);
      state.insert(state.end(), {surface, 0.1 * (c + 1) + 0.03 * static_cast<double>(k), -0.07 * (c - 1.5)});
    }
    const std::string path = "RESULTS/CellsAll/HydState/000000" + std::to_string(k);
    if (static_cast<int>(k) == brokenStep)
      maker.step(path, times[k], cells, 2, std::vector<double>(2 * cells, 1.0));
    else
      maker.step(path, times[k], cells, 3, state);
  }
}

std::vector<std::vector<std::string>> csvRows(const std::string& text) {
  std::vector<std::vector<std::string>> rows;
  for (const std::string& line : splitLines(text)) {
    std::vector<std::string> fields;
    std::stringstream stream(line);
    std::string field;
    while (std::getline(stream, field, ',')) fields.push_back(field);
    if (!line.empty() && line.back() == ',') fields.emplace_back();
    rows.push_back(fields);
  }
  return rows;
}

double number(const std::string& field) { return std::strtod(field.c_str(), nullptr); }

class Hydrographs : public ExportFolder {
 protected:
  // The entry's members, exported to out.xdmf.
  BinaryRun exportWith(const std::string& members) { return ExportFolder::exportWith({members}, {"-o", "out.xdmf"}); }
};

const std::string gauges = R"("gauges": [
  {"name": "below", "x": 0.5, "y": 0.2}, {"name": "right", "x": 0.8, "y": 0.5},
  {"name": "dry", "x": 0.5, "y": 0.9}, {"name": "on-edge", "x": 0.75, "y": 0.75},
  {"name": "centre", "x": 0.5, "y": 0.5}, {"name": "corner_1", "x": 1, "y": 0}])";
// The cell each gauge takes: on an edge or a corner, the lowest cell there.
const std::vector<int> gaugeCells{0, 1, 2, 1, 0, 0};
const std::vector<std::string> gaugeNames{"below", "right", "dry", "on-edge", "centre", "corner_1"};

}  // namespace

TEST_F(Hydrographs, GaugeRowsHoldWhatTheDocumentShowsForTheCell) {
  writeRun(dir.file("run.h5"));
  const BinaryRun run = exportWith(gauges);
  ASSERT_EQ(run.status, 0) << run.err;
  const std::vector<std::string> lines = run.outLines();
  EXPECT_NE(std::find(lines.begin(), lines.end(),
                      " -> exporting 6 outputs at 5 of 5 stored times to out.xdmf, 6 gauges to out_*.csv"),
            lines.end());
  const std::string results = dir.file("run.h5");
  const std::string auxiliary = dir.file("out_aux.h5");
  const std::vector<double> bed = storedDoubles(results, "CellsAll/BottomEl");
  for (std::size_t g = 0; g < gaugeNames.size(); ++g) {
    SCOPED_TRACE(gaugeNames[g]);
    const auto rows = csvRows(readFile(dir.file("out_gauge_" + gaugeNames[g] + ".csv")));
    ASSERT_EQ(rows.size(), times.size() + 1);
    EXPECT_EQ(rows[0], (std::vector<std::string>{"time_s", "water_surface", "water_depth", "bottom_elevation",
                                                 "flow_velocity_abs", "spec_discharge_x", "spec_discharge_y",
                                                 "flow_velocity_x", "flow_velocity_y"}));
    const std::size_t c = static_cast<std::size_t>(gaugeCells[g]);
    for (std::size_t k = 0; k < stepsInTimeOrder.size(); ++k) {
      const int step = stepsInTimeOrder[k];
      const std::vector<double> state =
          storedDoubles(results, "RESULTS/CellsAll/HydState/000000" + std::to_string(step));
      const std::vector<double> velocity = storedDoubles(auxiliary, "flow_velocity/" + std::to_string(step));
      const std::vector<double> speed = storedDoubles(auxiliary, "flow_velocity_abs/" + std::to_string(step));
      const std::vector<double> expected{times[static_cast<std::size_t>(step)], state[3 * c], state[3 * c] - bed[c],
                                         bed[c], speed[c], state[3 * c + 1], state[3 * c + 2], velocity[2 * c],
                                         velocity[2 * c + 1]};
      ASSERT_EQ(rows[k + 1].size(), expected.size());
      for (std::size_t f = 0; f < expected.size(); ++f)
        EXPECT_EQ(number(rows[k + 1][f]), expected[f]) << "row " << k + 1 << ", " << rows[0][f];
    }
  }
  // The dry cell's velocity is 0 by the dry rule, its discharge as stored.
  const auto dry = csvRows(readFile(dir.file("out_gauge_dry.csv")));
  EXPECT_EQ(dry[1][4], "0");
  EXPECT_EQ(dry[1][7], "0");
  EXPECT_NE(dry[1][5], "0");
}

// Left to right when walked from the first point: the line y = 0.5 walked
// eastwards has its right side to the south, so northward flow (qy > 0)
// counts negative; it passes the centre corner from cell 3 into cell 1.
TEST_F(Hydrographs, SectionsHoldTheDischargeThroughTheirLines) {
  writeRun(dir.file("run.h5"));
  const BinaryRun run = exportWith(
      R"("sections": [{"name": "east", "points": [[0, 0.5], [1, 0.5]]},
                      {"name": "west", "points": [[1, 0.5], [0, 0.5]]},
                      {"name": "long", "points": [[0.25, -1], [0.25, 0.5], [3, 0.5]]}])");
  ASSERT_EQ(run.status, 0) << run.err;
  // Before the entry's line: the sections are laid on the mesh before any entry exports.
  const std::vector<std::string> lines = run.outLines();
  const auto warning = std::find(lines.begin(), lines.end(),
                                 " -> section <long> runs 3 m outside the mesh, where it carries no discharge");
  ASSERT_NE(warning, lines.end()) << run.out;
  EXPECT_EQ(*(warning + 1), " -> exporting 6 outputs at 5 of 5 stored times to out.xdmf, 3 sections to out_*.csv");
  const auto rows = csvRows(readFile(dir.file("out_sections.csv")));
  ASSERT_EQ(rows.size(), times.size() + 1);
  EXPECT_EQ(rows[0], (std::vector<std::string>{"time_s", "east_m3s", "west_m3s", "long_m3s"}));
  for (std::size_t k = 0; k < stepsInTimeOrder.size(); ++k) {
    const int step = stepsInTimeOrder[k];
    const std::vector<double> state = storedDoubles(dir.file("run.h5"), "RESULTS/CellsAll/HydState/000000" + std::to_string(step));
    const double east = -0.5 * state[3 * 3 + 2] - 0.5 * state[3 * 1 + 2];
    // Northwards 1 m outside, 0.25 m in cell 0 and 0.25 m in cell 3; then
    // eastwards 0.25 m in cell 3, 0.5 m in cell 1 and 2 m outside.
    const double along = 0.25 * state[1] + 0.25 * state[3 * 3 + 1] - 0.25 * state[3 * 3 + 2] - 0.5 * state[3 * 1 + 2];
    EXPECT_DOUBLE_EQ(number(rows[k + 1][0]), times[static_cast<std::size_t>(step)]);
    EXPECT_DOUBLE_EQ(number(rows[k + 1][1]), east);
    EXPECT_DOUBLE_EQ(number(rows[k + 1][2]), -east);
    EXPECT_DOUBLE_EQ(number(rows[k + 1][3]), along);
  }
}

// A failure at a later step, after the series of the earlier steps were
// gathered, leaves no file at all.
TEST_F(Hydrographs, AFailureInTheMiddleOfTheStepsLeavesNoSeriesFile) {
  writeRun(dir.file("run.h5"), 2);
  const BinaryRun run = exportWith(gauges + R"(, "outputs": ["flow_velocity"],
      "sections": [{"name": "east", "points": [[0, 0.5], [1, 0.5]]}])");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.errLines().front(), " -> dataset </RESULTS/CellsAll/HydState/0000002> does not contain column 2!");
  EXPECT_EQ(filesLeft(), (std::vector<std::string>{"cfg.json", "run.h5"}));
}

namespace {

struct BadMembers {
  const char* members;
  const char* message;
};

std::string manyGauges(int count) {
  std::string list;
  for (int k = 0; k < count; ++k)
    list += (k ? ", " : "") + std::string(R"({"name": "g)") + std::to_string(k) + R"(", "x": 0.5, "y": 0.2})";
  return R"("gauges": [)" + list + "]";
}

const std::vector<BadMembers> badMembers = {
    {R"("gauges": [])", " -> RESULTS/EXPORT[0]/gauges lists no gauge"},
    {R"("sections": [])", " -> RESULTS/EXPORT[0]/sections lists no section"},
    {R"("sections": [{"name": "a", "points": [[0, 0.5]]}])",
     " -> RESULTS/EXPORT[0]/sections/0/points holds 1 point; a section needs two or more"},
    {R"("sections": [{"name": "a", "points": [[0, 0.5], [1, 0.5], [1, 0.5]]}])",
     " -> RESULTS/EXPORT[0]/sections/0/points/2 is the point before it again"},
    {R"("sections": [{"name": "a", "points": [[0, 0.5], [1, 0.5, 2]]}])",
     " -> RESULTS/EXPORT[0]/sections/0/points/1 is no point [x, y]"},
    {R"("gauges": [{"name": "a", "x": 0.5, "y": 0.5}], "sections": [{"name": "a", "points": [[0, 0], [1, 1]]}])",
     " -> RESULTS/EXPORT[0]/sections/0/name <a> is already the name of RESULTS/EXPORT[0]/gauges/0"},
    {R"("gauges": [{"name": "b", "x": 0.5, "y": 0.5}, {"name": "b", "x": 0.5, "y": 0.2}])",
     " -> RESULTS/EXPORT[0]/gauges/1/name <b> is already the name of RESULTS/EXPORT[0]/gauges/0"},
    {R"("gauges": [{"name": "../up", "x": 0.5, "y": 0.5}])",
     " -> RESULTS/EXPORT[0]/gauges/0/name <../up> is no name of letters, digits, '_' and '-' (it names a file)"},
    {R"("gauges": [{"name": "", "x": 0.5, "y": 0.5}])",
     " -> RESULTS/EXPORT[0]/gauges/0/name <> is no name of letters, digits, '_' and '-' (it names a file)"},
    {R"("gauges": [{"name": "far", "x": 0.5, "y": 0.5}, {"name": "off", "x": 1.5, "y": 0.25}])",
     " -> RESULTS/EXPORT[0]/gauges/1: gauge <off> at (1.5, 0.25) lies outside the mesh"},
};

}  // namespace

TEST_F(Hydrographs, BadMembersStopTheRunBeforeAnythingIsWritten) {
  writeRun(dir.file("run.h5"));
  std::vector<BadMembers> cases = badMembers;
  const std::string tooMany = manyGauges(10001);
  cases.push_back({tooMany.c_str(), " -> RESULTS/EXPORT[0]/gauges lists 10001 gauges, more than the 10000 an entry may have"});
  for (const BadMembers& bad : cases) {
    SCOPED_TRACE(std::string(bad.members).substr(0, 120));
    const BinaryRun run = exportWith(bad.members);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.errLines(), (std::vector<std::string>{bad.message, killedLine}));
    EXPECT_EQ(filesLeft(), (std::vector<std::string>{"cfg.json", "run.h5"}));
  }
}

TEST_F(Hydrographs, MembersOfTheWrongTypeAreNamedByTheirPointers) {
  writeRun(dir.file("run.h5"));
  const BinaryRun run = exportWith(R"("gauges": [{"name": "a", "x": "0.5", "y": 0.5}, {"name": "b", "x": 0.5, "y": null}],
                                      "sections": [{"name": "s", "points": [[0, 0.5], ["1", 0.5]]}])");
  EXPECT_EQ(run.status, 1);
  for (const char* pointer : {"/RESULTS/EXPORT/0/gauges/0/x", "/RESULTS/EXPORT/0/gauges/1/y", "/RESULTS/EXPORT/0/sections/0/points/1/0"})
    EXPECT_NE(run.out.find(pointer), std::string::npos) << pointer << "\n" << run.out << run.err;
  EXPECT_EQ(filesLeft(), (std::vector<std::string>{"cfg.json", "run.h5"}));
  // A number beyond the doubles is no number to the configuration's reader.
  const BinaryRun overflow = exportWith(R"("gauges": [{"name": "b", "x": 0.5, "y": 1e999}])");
  EXPECT_EQ(overflow.status, 1);
  EXPECT_EQ(filesLeft(), (std::vector<std::string>{"cfg.json", "run.h5"}));
}

TEST_F(Hydrographs, SectionsNeedTheStoredDischarge) {
  {
    ResultsFileMaker maker(dir.file("run.h5"));
    maker.archive(morphologyModelText(), {"bottom_elevation"});
    maker.unitSquareMesh();
    maker.step("RESULTS/CellsAll/BottomEl/0000000", 0.0, 2, 1, {1.0, 2.0});
  }
  const BinaryRun run = exportWith(R"("sections": [{"name": "s", "points": [[0, 0.5], [1, 0.5]]}])");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.errLines().front(),
            " -> RESULTS/EXPORT[0]/sections needs the specific discharge, but its data </RESULTS/CellsAll/HydState> "
            "are not in the results file <run.h5>");
  EXPECT_EQ(filesLeft(), (std::vector<std::string>{"cfg.json", "run.h5"}));
}
