// What an export entry chooses to write, through the binary: its outputs, a window of stored times with a stride, the
// document's own name, and the times as the documents and -i write them. The window's and the stride's bounds case by
// case are the selection's unit tests' matter.

#include <gtest/gtest.h>

#include <filesystem>

#include "support/DocumentOutline.hpp"
#include "support/ExportFolder.hpp"
#include "support/ResultsFileMaker.hpp"

using namespace testing_support;

namespace {

bool contains(const std::vector<std::string>& list, const std::string& item) {
  return std::find(list.begin(), list.end(), item) != list.end();
}

std::string hydState(int step) { return "run.h5:/RESULTS/CellsAll/HydState/000000" + std::to_string(step); }

const std::vector<double> sixTimes{-30.0, 0.0, 12.5, 25.0, 37.5, 50.0};
const std::vector<std::string> untouched{"cfg.json", "run.h5"};

class ExportSelection : public ExportFolder {
 protected:
  // A hydraulics run on the unit square stored at the given times, step numbers in time order.
  void writeRun(const std::vector<double>& times = sixTimes,
                const std::vector<std::string>& outputs = {"water_surface", "flow_velocity_abs"}, bool bed = true) {
    ResultsFileMaker file(dir.file("run.h5"));
    file.archive(hydraulicsModelText(), outputs);
    file.unitSquareMesh();
    if (bed) file.doubles("CellsAll/BottomEl", 2, 1, {1.0, 1.0});
    for (std::size_t step = 0; step < times.size(); ++step) {
      char name[24];
      std::snprintf(name, sizeof name, "%07zu", step);
      const double surface = 2.0 + static_cast<double>(step);
      file.step(std::string("RESULTS/CellsAll/HydState/") + name, times[step], 2, 3, {surface, 0.5, 0.25, 1.5, 0, 0.1});
    }
  }
  // The times of the document's steps, in document order.
  std::vector<std::string> timesOf(const std::string& name = "results.xdmf") {
    std::vector<std::string> times;
    for (const OutlineStep& step : outlineOfFile(dir.file(name)).steps) times.push_back(step.time);
    return times;
  }
  // Every file:dataset reference of the document.
  std::vector<std::string> referencesOf(const std::string& name = "results.xdmf") {
    std::vector<std::string> references;
    for (const OutlineItem& item : everyItem(outlineOfFile(dir.file(name))))
      references.push_back(item.file + ":" + item.dataset);
    return references;
  }
};

}  // namespace

// Both bounds are stored times and kept; the stride counts from the first kept step, whose own step numbers the
// document refers to. Outputs come in the given order and may be unlisted by the run when their data are stored.
TEST_F(ExportSelection, SelectedStepsKeepTheirOwnNumbers) {
  writeRun(sixTimes, {"water_surface"});
  const BinaryRun run = exportWith({R"("outputs": ["flow_velocity", "water_depth", "water_surface"], )"
                                    R"("from": -30, "to": 37.5, "every": 2)"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(announced(run), std::vector<std::string>{" -> exporting 3 outputs at 3 of 6 stored times to results.xdmf"});
  EXPECT_EQ(timesOf(), (std::vector<std::string>{"-30.000000", "12.500000", "37.500000"}));
  EXPECT_EQ(attributeNames(outlineOfFile(dir.file("results.xdmf")).steps.at(0)),
            (std::vector<std::string>{"flow_velocity", "water_depth", "water_surface"}));
  const std::vector<std::string> references = referencesOf();
  EXPECT_TRUE(contains(references, hydState(2)));
  EXPECT_TRUE(contains(references, hydState(4)));
  EXPECT_FALSE(contains(references, hydState(1)));
  EXPECT_TRUE(contains(references, "results_aux.h5:flow_velocity/4"));
}

// An entry refused after a good one: the good one writes nothing either.
TEST_F(ExportSelection, EntriesThatCannotBeWrittenAreRefusedBeforeAnyFile) {
  writeRun();
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{R"("outputs": ["water_surface", "water_surface"])"},
       " -> output <water_surface> is listed twice in RESULTS/EXPORT[0]/outputs"},
      {{"", R"("outputs": [])"}, " -> RESULTS/EXPORT[1]/outputs lists no output"},
      // An open bound is the stored range's own end.
      {{R"("from": 60)"}, " -> no stored time in [60, 50]; the run stored -30 to 50 (6 times)"},
      // The same stem means the same auxiliary file, whatever follows the first point.
      {{R"("document": "b.v1.xdmf", "to": 0)", R"("document": "b.v2.xdmf", "from": 25)"},
       " -> export entries 0 and 1 would both write <b.xdmf> with different content"},
  };
  for (const auto& [entries, line] : cases) {
    SCOPED_TRACE(line);
    expectRefusal(exportWith(entries), line);
    EXPECT_EQ(filesLeft(), untouched);
  }
  writeRun(sixTimes, {"water_surface"}, false);
  expectRefusal(exportWith({R"("outputs": ["water_surface", "water_depth"])"}),
                " -> output <water_depth> cannot be exported: its data <CellsAll/BottomEl> are not in the results "
                "file <run.h5>");
  EXPECT_EQ(filesLeft(), untouched);
}

// Each document holds its own steps, its files named relative to the working folder; a sole entry without members
// announces nothing.
TEST_F(ExportSelection, DocumentsOfOneRunHoldTheirOwnStepsBesideTheirOwnFiles) {
  writeRun();
  std::filesystem::create_directory(dir.file("maps"));
  const BinaryRun plain = exportWith({""}, {"-o", "plain.xdmf"});
  ASSERT_EQ(plain.status, 0) << plain.err;
  EXPECT_TRUE(announced(plain).empty());
  const BinaryRun run =
      exportWith({R"("document": "maps/flood.xdmf", "from": 25)", R"("document": "early.xdmf", "to": 0)"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(announced(run),
            (std::vector<std::string>{" -> exporting 2 outputs at 3 of 6 stored times to maps/flood.xdmf",
                                      " -> exporting 2 outputs at 2 of 6 stored times to early.xdmf"}));
  EXPECT_EQ(filesLeft(), (std::vector<std::string>{"cfg.json", "early.xdmf", "early_aux.h5", "maps", "plain.xdmf",
                                                   "plain_aux.h5", "run.h5"}));
  EXPECT_TRUE(exists("maps/flood_aux.h5"));
  const std::vector<std::string> references = referencesOf("maps/flood.xdmf");
  EXPECT_TRUE(contains(references, "../" + hydState(3)));
  EXPECT_TRUE(contains(references, "flood_aux.h5:flow_velocity_abs/3"));
  EXPECT_EQ(timesOf("early.xdmf"), (std::vector<std::string>{"-30.000000", "0.000000"}));
  EXPECT_TRUE(contains(referencesOf("early.xdmf"), "early_aux.h5:flow_velocity_abs/0"));
}

TEST_F(ExportSelection, InitialStateReferencesStayAtStepZeroWhateverTheWindow) {
  {
    ResultsFileMaker file(dir.file("run.h5"));
    file.archive(morphologyModelText(), {"delta_z"});
    file.unitSquareMesh();
    for (int step = 0; step < 3; ++step) {
      file.step("RESULTS/CellsAll/HydState/000000" + std::to_string(step), 10.0 * step, 2, 3, {2, 0, 0, 2, 0, 0});
      file.step("RESULTS/CellsAll/BottomEl/000000" + std::to_string(step), 10.0 * step, 2, 1, {1.0, 1.0 - 0.1 * step});
    }
  }
  ASSERT_EQ(exportWith({R"("from": 15)"}).status, 0);
  EXPECT_EQ(timesOf(), (std::vector<std::string>{"20.000000"}));
  const std::vector<std::string> references = referencesOf();
  ASSERT_GE(references.size(), 2u);
  EXPECT_EQ(references[references.size() - 2], "run.h5:/RESULTS/CellsAll/BottomEl/0000000");
  EXPECT_EQ(references.back(), "run.h5:/RESULTS/CellsAll/BottomEl/0000002");
}

// Times that six decimals would merge are written exactly, in the plain, the portable and the envelopes' document and
// in -i; those beyond fifteen digits short. How each time is written is the notation's unit tests' matter.
TEST_F(ExportSelection, TimesThatSixDecimalsWouldMergeAreWrittenExactly) {
  std::vector<double> stored;
  for (int k = 0; k < 30; ++k) stored.push_back(k * 1e-7);
  stored.push_back(1e300);
  writeRun(stored);
  const BinaryRun run = exportWith({R"("envelopes": {})", R"("document": "p.xdmf", "portable": true)"});
  ASSERT_EQ(run.status, 0) << run.err;
  for (const std::string name : {"results.xdmf", "p.xdmf"}) {
    SCOPED_TRACE(name);
    const std::vector<std::string> times = timesOf(name);
    ASSERT_EQ(times.size(), 31u);
    EXPECT_EQ(std::vector<std::string>(times.begin(), times.begin() + 4),
              (std::vector<std::string>{"0", "1e-07", "2e-07", "3e-07"}));
    EXPECT_EQ(times.back(), "1e+300");
  }
  EXPECT_EQ(timesOf("results_envelopes.xdmf"), std::vector<std::string>{"1e+300"});
  const std::string report = runResults({"-i", "-r", "run.h5"}, dir.path()).out;
  EXPECT_NE(report.find("  CellsAll/HydState: 31 times, from 0 to 1e+300, intervals "), std::string::npos) << report;
}
