// What an export entry chooses to write, through the binary: its outputs, a
// window of stored times with a stride, and the document's own name. The
// documents are read back for what they hold (times, attributes, datasets),
// not for their mark-up, which other tests pin.

#include <gtest/gtest.h>
#include <hdf5.h>

#include <filesystem>
#include <regex>

#include "support/BinaryRun.hpp"
#include "support/ExportFolder.hpp"
#include "support/ResultsFileMaker.hpp"
#include "support/TempDir.hpp"

using namespace testing_support;

namespace {


std::vector<std::string> allMatches(const std::string& text, const std::string& pattern) {
  std::vector<std::string> found;
  const std::regex expression(pattern);
  for (auto it = std::sregex_iterator(text.begin(), text.end(), expression); it != std::sregex_iterator(); ++it)
    found.push_back((*it)[1].str());
  return found;
}

// The time values of the document's steps, in document order.
std::vector<std::string> timesOf(const std::string& document) { return allMatches(document, "<Time [^>]*Value=\"([^\"]*)\""); }

// The attribute names of the first step.
std::vector<std::string> attributesOfFirstStep(const std::string& document) {
  const std::size_t first = document.find("Name=\"Timestep\"");
  const std::size_t second = document.find("Name=\"Timestep\"", first + 1);
  return allMatches(document.substr(first, second == std::string::npos ? std::string::npos : second - first),
                    "<Attribute [^>]*Name=\"([^\"]*)\"");
}

// Every file:dataset reference of the document.
std::vector<std::string> referencesOf(const std::string& document) {
  return allMatches(document, "\n *([^ <\n][^<\n]*:[^<\n]*)\n");
}

bool contains(const std::vector<std::string>& list, const std::string& item) {
  return std::find(list.begin(), list.end(), item) != list.end();
}

std::string hydState(int step) { return "run.h5:/RESULTS/CellsAll/HydState/000000" + std::to_string(step); }

}  // namespace

class ExportSelection : public ExportFolder {
 protected:
  // A hydraulics run that wrote water_surface and flow_velocity_abs at the
  // times given, step numbers in time order.
  void writeRun(const std::vector<double>& times,
                const std::vector<std::string>& outputs = {"water_surface", "flow_velocity_abs"},
                const std::string& name = "run.h5") {
    ResultsFileMaker file(dir.file(name));
    file.archive(hydraulicsModelText(), outputs);
    file.unitSquareMesh();
    file.doubles("CellsAll/BottomEl", 2, 1, {1.0, 1.0});
    for (std::size_t step = 0; step < times.size(); ++step)
      file.step("RESULTS/CellsAll/HydState/000000" + std::to_string(step), times[step], 2, 3,
                {2.0 + step, 0.5, 0.25, 1.5, 0.0, 0.1});
  }
  std::string document(const std::string& name = "results.xdmf") { return readFile(dir.file(name)); }
  void expectFailure(const BinaryRun& run, const std::vector<std::string>& lines) {
    EXPECT_EQ(run.status, 1) << run.out << run.err;
    auto expected = lines;
    expected.push_back(killedLine);
    EXPECT_EQ(run.errLines(), expected);
    EXPECT_EQ(run.out.find("successfully processed"), std::string::npos);
  }

  const std::vector<double> sixTimes{-30.0, 0.0, 12.5, 25.0, 37.5, 50.0};
};

TEST_F(ExportSelection, WithoutMembersNothingIsAnnouncedAndEveryStepIsWritten) {
  writeRun(sixTimes);
  const auto run = exportWith({""});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(announced(run).empty());
  EXPECT_EQ(timesOf(document()).size(), 6u);
}

// Members that choose what the default chooses give the default's document.
TEST_F(ExportSelection, MembersThatSelectEverythingWriteTheDefaultDocument) {
  writeRun(sixTimes);
  ASSERT_EQ(exportWith({""}, {"-o", "plain.xdmf"}).status, 0);
  const auto run = exportWith({R"("outputs": ["water_surface", "flow_velocity_abs"], "from": -30, "to": 50, "every": 1)"},
                              {"-o", "chosen.xdmf"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(announced(run), std::vector<std::string>{" -> exporting 2 outputs at 6 of 6 stored times to chosen.xdmf"});
  std::string chosen = document("chosen.xdmf");
  chosen = std::regex_replace(chosen, std::regex("chosen_aux\\.h5"), "plain_aux.h5");
  EXPECT_EQ(chosen, document("plain.xdmf"));
}

TEST_F(ExportSelection, OutputsAreWrittenInTheGivenOrderAndMayBeUnlistedWhenStored) {
  writeRun(sixTimes, {"water_surface"});
  const auto run = exportWith({R"("outputs": ["flow_velocity", "water_depth", "water_surface"])"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(attributesOfFirstStep(document()), (std::vector<std::string>{"flow_velocity", "water_depth", "water_surface"}));
  EXPECT_EQ(announced(run), std::vector<std::string>{" -> exporting 3 outputs at 6 of 6 stored times to results.xdmf"});
  EXPECT_TRUE(contains(referencesOf(document()), "results_aux.h5:flow_velocity/5"));
}

TEST_F(ExportSelection, WindowKeepsTheStoredTimesInsideItsBounds) {
  writeRun(sixTimes);
  struct Case {
    std::string members;
    std::vector<std::string> times;
  };
  const std::vector<Case> cases = {
      {R"("from": 12.5)", {"12.500000", "25.000000", "37.500000", "50.000000"}},
      {R"("to": 12.5)", {"-30.000000", "0.000000", "12.500000"}},
      {R"("from": 0.1, "to": 37.4)", {"12.500000", "25.000000"}},  // cut between stored times
      {R"("from": -31, "to": -29.5)", {"-30.000000"}},               // negative, one time
      {R"("from": 25, "to": 25)", {"25.000000"}},                    // exactly one time
      {R"("every": 2)", {"-30.000000", "12.500000", "37.500000"}},
      {R"("from": 0, "every": 3)", {"0.000000", "37.500000"}},
      {R"("from": 1e-9, "every": 1000000)", {"12.500000"}},  // stride beyond the window
  };
  for (const auto& c : cases) {
    const auto run = exportWith({c.members});
    ASSERT_EQ(run.status, 0) << c.members << run.err;
    EXPECT_EQ(timesOf(document()), c.times) << c.members;
    EXPECT_EQ(announced(run), std::vector<std::string>{" -> exporting 2 outputs at " + std::to_string(c.times.size()) +
                                                       " of 6 stored times to results.xdmf"})
        << c.members;
  }
}

TEST_F(ExportSelection, WindowedStepsReferToTheirOwnStepNumbers) {
  writeRun(sixTimes);
  ASSERT_EQ(exportWith({R"("from": 25, "every": 2)"}).status, 0);
  const auto references = referencesOf(document());
  EXPECT_TRUE(contains(references, hydState(3)));
  EXPECT_TRUE(contains(references, hydState(5)));
  EXPECT_FALSE(contains(references, hydState(4)));
  EXPECT_TRUE(contains(references, "results_aux.h5:flow_velocity_abs/5"));
}

TEST_F(ExportSelection, EmptyWindowFailsNamingTheWindowAndTheStoredRange) {
  writeRun(sixTimes);
  expectFailure(exportWith({R"("from": 7200, "to": 9000)"}),
                {" -> no stored time in [7200, 9000]; the run stored -30 to 50 (6 times)"});
  expectFailure(exportWith({R"("from": 1, "to": 12)"}), {" -> no stored time in [1, 12]; the run stored -30 to 50 (6 times)"});
  // The open bound is the stored range's own end.
  expectFailure(exportWith({R"("from": 60)"}), {" -> no stored time in [60, 50]; the run stored -30 to 50 (6 times)"});
  expectFailure(exportWith({R"("from": 37.5, "to": 12.5)"}),
                {" -> no stored time in [37.5, 12.5]; the run stored -30 to 50 (6 times)"});
  EXPECT_FALSE(exists("results.xdmf"));
}

TEST_F(ExportSelection, OutputsThatCannotBeExportedAreRefusedBeforeAnyFile) {
  {
    ResultsFileMaker file(dir.file("run.h5"));
    file.archive(hydraulicsModelText(), {"water_surface"});
    file.unitSquareMesh();
    file.step("RESULTS/CellsAll/HydState/0000000", 0.0, 2, 3, {2, 0, 0, 2, 0, 0});
  }
  expectFailure(exportWith({R"("outputs": ["water_surface", "water_depth"])"}),
                {" -> output <water_depth> cannot be exported: its data <CellsAll/BottomEl> are not in the results "
                 "file <run.h5>"});
  expectFailure(exportWith({R"("outputs": ["theta"])"}),
                {" -> output <theta> cannot be defined within the this model setup, valid are:", " -> water_surface",
                 " -> water_depth", " -> bottom_elevation", " -> spec_discharge", " -> delta_z", " -> flow_velocity",
                 " -> flow_velocity_abs", " -> "});
  expectFailure(exportWith({R"("outputs": ["water_surface", "water_surface"])"}),
                {" -> output <water_surface> is listed twice in RESULTS/EXPORT[0]/outputs"});
  expectFailure(exportWith({R"("outputs": [])"}), {" -> RESULTS/EXPORT[0]/outputs lists no output"});
  // An entry refused after a good one: the good one writes nothing either.
  expectFailure(exportWith({"", R"("outputs": [])"}), {" -> RESULTS/EXPORT[1]/outputs lists no output"});
  EXPECT_FALSE(exists("results.xdmf"));
  EXPECT_FALSE(exists("results_aux.h5"));
}

TEST_F(ExportSelection, DocumentNamesTheEntrysFilesRelativeToTheWorkingFolder) {
  writeRun(sixTimes);
  std::filesystem::create_directory(dir.file("maps"));
  const auto run = exportWith({R"("document": "maps/flood.xdmf", "from": 25)"}, {"-o", "unused.xdmf"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(announced(run), std::vector<std::string>{" -> exporting 2 outputs at 3 of 6 stored times to maps/flood.xdmf"});
  EXPECT_FALSE(exists("unused.xdmf"));
  EXPECT_TRUE(exists("maps/flood_aux.h5"));
  const auto references = referencesOf(document("maps/flood.xdmf"));
  EXPECT_TRUE(contains(references, "../" + hydState(3)));
  EXPECT_TRUE(contains(references, "flood_aux.h5:flow_velocity_abs/3"));
}

TEST_F(ExportSelection, TwoDocumentsOfOneRunHoldTheirOwnSteps) {
  writeRun(sixTimes);
  const auto run = exportWith({R"("document": "early.xdmf", "to": 0)", R"("document": "late.xdmf", "from": 37.5)"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(announced(run), (std::vector<std::string>{" -> exporting 2 outputs at 2 of 6 stored times to early.xdmf",
                                                      " -> exporting 2 outputs at 2 of 6 stored times to late.xdmf"}));
  EXPECT_EQ(timesOf(document("early.xdmf")), (std::vector<std::string>{"-30.000000", "0.000000"}));
  EXPECT_EQ(timesOf(document("late.xdmf")), (std::vector<std::string>{"37.500000", "50.000000"}));
  EXPECT_TRUE(contains(referencesOf(document("late.xdmf")), "late_aux.h5:flow_velocity_abs/5"));
  EXPECT_TRUE(contains(referencesOf(document("early.xdmf")), "early_aux.h5:flow_velocity_abs/0"));
}

TEST_F(ExportSelection, EntriesWritingOneFileWithOtherContentAreRefused) {
  writeRun(sixTimes);
  expectFailure(exportWith({R"("document": "a.xdmf")", R"("document": "./a.xdmf", "every": 2)"}),
                {" -> export entries 0 and 1 would both write <./a.xdmf> with different content"});
  // The same stem means the same auxiliary file, whatever follows the first point.
  expectFailure(exportWith({R"("document": "b.v1.xdmf", "to": 0)", R"("document": "b.v2.xdmf", "from": 25)"}),
                {" -> export entries 0 and 1 would both write <b.xdmf> with different content"});
  EXPECT_FALSE(exists("a.xdmf"));
  // Entries of the same content may share their files.
  const auto same = exportWith({R"("document": "d.xdmf", "to": 0)", R"("document": "d.xdmf", "to": 0)"});
  ASSERT_EQ(same.status, 0) << same.err;
  EXPECT_EQ(timesOf(document("d.xdmf")).size(), 2u);
}

TEST_F(ExportSelection, NoDocumentNameReachesTheRunsInputs) {
  writeRun(sixTimes, {"water_surface"}, "flood_aux.h5");
  const std::string results = readFile(dir.file("flood_aux.h5"));
  expectFailure(exportWith({"", R"("document": "./flood.xdmf")"}, {}, "flood_aux.h5"),
                {" -> refusing to overwrite the results file <flood_aux.h5> with <./flood_aux.h5>"});
  expectFailure(exportWith({R"("document": "cfg.xdmf")"}, {}, "flood_aux.h5", "cfg.xdmf"),
                {" -> refusing to overwrite the configuration file <cfg.xdmf> with <cfg.xdmf>"});
  expectFailure(exportWith({""}, {"-o", "cfg.xdmf"}, "flood_aux.h5", "cfg.xdmf"),
                {" -> refusing to overwrite the configuration file <cfg.xdmf> with <cfg.xdmf>"});
  expectFailure(exportWith({""}, {"-a", "cfg.xdmf"}, "flood_aux.h5", "cfg.xdmf"),
                {" -> refusing to overwrite the configuration file <cfg.xdmf> with <cfg.xdmf>"});
  EXPECT_EQ(readFile(dir.file("flood_aux.h5")), results);
  EXPECT_EQ(readFile(dir.file("cfg.xdmf")).find("{\"RESULTS\""), 0u);
}

TEST_F(ExportSelection, InitialStateReferencesStayAtStepZeroWhateverTheWindow) {
  {
    ResultsFileMaker file(dir.file("run.h5"));
    file.archive(morphologyModelText(), {"delta_z"});
    file.unitSquareMesh();
    for (int step = 0; step < 3; ++step) {
      const std::string name = "000000" + std::to_string(step);
      file.step("RESULTS/CellsAll/HydState/" + name, 10.0 * step, 2, 3, {2, 0, 0, 2, 0, 0});
      file.step("RESULTS/CellsAll/BottomEl/" + name, 10.0 * step, 2, 1, {1.0, 1.0 - 0.1 * step});
    }
  }
  const auto run = exportWith({R"("from": 15)"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(timesOf(document()), (std::vector<std::string>{"20.000000"}));
  const auto references = referencesOf(document());
  EXPECT_EQ(references[references.size() - 2], "run.h5:/RESULTS/CellsAll/BottomEl/0000000");
  EXPECT_EQ(references.back(), "run.h5:/RESULTS/CellsAll/BottomEl/0000002");
}
