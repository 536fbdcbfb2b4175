// A run that stored the bed at fewer times than the hydraulic state: every
// output is written at the times its data were stored, the others of those
// steps as usual, one warning per output says how many times lack it, and
// the envelopes take only the times that hold the state and the bed.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>

#include "support/BinaryRun.hpp"
#include "support/HostileResults.hpp"
#include "support/ResultsFileMaker.hpp"
#include "support/StoredDatasets.hpp"
#include "support/TempDir.hpp"

using namespace testing_support;

namespace {

// The attribute names of each step of a document, in order.
std::vector<std::vector<std::string>> attributesPerStep(const std::string& document) {
  std::vector<std::vector<std::string>> steps;
  const std::regex item(R"re(<Time |<Attribute [^>]*Name="([^"]+)")re");
  for (auto it = std::sregex_iterator(document.begin(), document.end(), item); it != std::sregex_iterator(); ++it) {
    if ((*it)[1].matched)
      steps.back().push_back((*it)[1]);
    else
      steps.emplace_back();
  }
  return steps;
}

class StoredAtFewerTimes : public ::testing::Test {
 protected:
  void SetUp() override {
    writeValidResults(dir.file("run.h5"));
    ResultsFileMaker(dir.file("run.h5"), ResultsFileMaker::Opening::Edit).remove("RESULTS/CellsAll/BottomEl/0000002");
  }
  BinaryRun exportWith(const std::string& members) {
    writeFile(dir.file("cfg.json"), R"({"RESULTS": {"EXPORT": [{"format": "xdmf")" + members + "}]}}");
    return runResults({"-f", "cfg.json", "-r", "run.h5", "-o", "out.xdmf"}, dir.path());
  }
  TempDir dir;
};

const std::vector<std::string> warnings{
    " -> water_depth is not stored at 1 of the 3 selected times: those steps are written without it",
    " -> flow_velocity is not stored at 1 of the 3 selected times: those steps are written without it",
    " -> bottom_elevation is not stored at 1 of the 3 selected times: those steps are written without it"};

}  // namespace

TEST_F(StoredAtFewerTimes, EachOutputIsWrittenAtTheTimesItsDataWereStored) {
  for (const std::string members : {"", R"(, "portable": true)"}) {
    SCOPED_TRACE(members);
    const BinaryRun run = exportWith(members);
    ASSERT_EQ(run.status, 0) << run.err;
    const std::vector<std::string> lines = run.outLines();
    for (const std::string& warning : warnings) EXPECT_EQ(std::count(lines.begin(), lines.end(), warning), 1) << run.out;
    const auto steps = attributesPerStep(readFile(dir.file("out.xdmf")));
    ASSERT_EQ(steps.size(), 3u);
    const std::vector<std::string> all{"water_surface", "water_depth", "flow_velocity", "bottom_elevation"};
    EXPECT_EQ(steps[0], all);
    EXPECT_EQ(steps[1], all);
    EXPECT_EQ(steps[2], std::vector<std::string>{"water_surface"});
    EXPECT_EQ(readFile(dir.file("out.xdmf")).find("BottomEl/0000002"), std::string::npos);
  }
}

// The maxima reach only the times that hold the state and the bed: those of
// the same run without its last step.
TEST_F(StoredAtFewerTimes, EnvelopesTakeOnlyTheTimesThatHoldTheirData) {
  const BinaryRun run = exportWith(R"(, "envelopes": {"wet_depth": 0.01})");
  ASSERT_EQ(run.status, 0) << run.err;
  writeValidResults(dir.file("short.h5"));
  ResultsFileMaker(dir.file("short.h5"), ResultsFileMaker::Opening::Edit).remove("RESULTS/CellsAll/BottomEl/0000002");
  ResultsFileMaker(dir.file("short.h5"), ResultsFileMaker::Opening::Edit).remove("RESULTS/CellsAll/HydState/0000002");
  writeFile(dir.file("short.json"), R"({"RESULTS": {"EXPORT": [{"format": "xdmf", "envelopes": {"wet_depth": 0.01}}]}})");
  const BinaryRun shorter = runResults({"-f", "short.json", "-r", "short.h5", "-o", "short.xdmf"}, dir.path());
  ASSERT_EQ(shorter.status, 0) << shorter.err;
  for (const std::string envelope : {"water_depth_max", "flow_velocity_abs_max", "water_surface_max"})
    EXPECT_EQ(storedDoubles(dir.file("out_aux.h5"), "envelopes/" + envelope),
              storedDoubles(dir.file("short_aux.h5"), "envelopes/" + envelope))
        << envelope;
}

// Stored at none of the selected times, an output is still refused.
TEST_F(StoredAtFewerTimes, AnOutputStoredAtNoSelectedTimeIsRefused) {
  const BinaryRun run = exportWith(R"(, "outputs": ["water_surface", "bottom_elevation"], "from": 15)");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.errLines().front(), " -> dataset </RESULTS/CellsAll/BottomEl/0000002> read by <bottom_elevation> at t "
                                    "= 20 s is not in the results file <run.h5>");
  EXPECT_FALSE(std::filesystem::exists(dir.file("out.xdmf")));
}

// The sections need the stored discharge only: a time without the bed still
// has them, the same as in the run that stored the bed then too.
TEST_F(StoredAtFewerTimes, SectionsKeepTheTimesThatStoreTheDischarge) {
  const std::string section = R"(, "sections": [{"name": "across", "points": [[2.5, 0], [2.5, 1]]}])";
  ASSERT_EQ(exportWith(section).status, 0);
  const std::string sparse = readFile(dir.file("out_sections.csv"));
  writeValidResults(dir.file("run.h5"));
  ASSERT_EQ(exportWith(section).status, 0);
  EXPECT_EQ(sparse, readFile(dir.file("out_sections.csv")));
  EXPECT_EQ(splitLines(sparse).size(), 4u);
  EXPECT_EQ(splitLines(sparse).back().find(",,"), std::string::npos) << sparse;
  EXPECT_NE(splitLines(sparse).back().back(), ',') << sparse;
}
