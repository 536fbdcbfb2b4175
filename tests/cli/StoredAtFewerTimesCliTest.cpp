// A run that stored the bed at fewer times than the hydraulic state: every output is written at the times its data were
// stored, the others of those steps as usual, one warning per output says how many times lack it, and the envelopes
// take only the times that hold the state and the bed.

#include <gtest/gtest.h>

#include <algorithm>

#include "support/DocumentOutline.hpp"
#include "support/ExportFolder.hpp"
#include "support/HostileResults.hpp"
#include "support/ResultsFileMaker.hpp"
#include "support/StoredDatasets.hpp"

using namespace testing_support;

namespace {

// The valid run without the bed of its last step, or without that step at all.
void writeWithoutTheLastBed(const std::string& file, bool withoutTheLastState = false) {
  writeValidResults(file);
  ResultsFileMaker edited(file, ResultsFileMaker::Opening::Edit);
  edited.remove("RESULTS/CellsAll/BottomEl/0000002");
  if (withoutTheLastState) edited.remove("RESULTS/CellsAll/HydState/0000002");
}

class StoredAtFewerTimes : public ExportFolder {
 protected:
  void SetUp() override { writeWithoutTheLastBed(dir.file("run.h5")); }
  BinaryRun exportOut(const std::string& members) { return exportWith({members}, {"-o", "out.xdmf"}); }
};

}  // namespace

TEST_F(StoredAtFewerTimes, EachOutputIsWrittenAtTheTimesItsDataWereStored) {
  for (const std::string members : {"", R"("portable": true)"}) {
    SCOPED_TRACE(members);
    const BinaryRun run = exportOut(members);
    ASSERT_EQ(run.status, 0) << run.err;
    const std::vector<std::string> lines = run.outLines();
    for (const char* output : {"water_depth", "flow_velocity", "bottom_elevation"}) {
      const std::string warning = std::string(" -> ") + output +
                                  " is not stored at 1 of the 3 selected times: those steps are written without it";
      EXPECT_EQ(std::count(lines.begin(), lines.end(), warning), 1) << run.out;
    }
    const DocumentOutline outline = outlineOfFile(dir.file("out.xdmf"));
    ASSERT_EQ(outline.steps.size(), 3u);
    const std::vector<std::string> all{"water_surface", "water_depth", "flow_velocity", "bottom_elevation"};
    for (const int step : {0, 1}) EXPECT_EQ(attributeNames(outline.steps[step]), all);
    EXPECT_EQ(attributeNames(outline.steps[2]), std::vector<std::string>{"water_surface"});
    for (const OutlineItem& item : everyItem(outline)) EXPECT_NE(item.dataset, "/RESULTS/CellsAll/BottomEl/0000002");
  }
  // Stored at none of the selected times, an output is still refused.
  expectRefusal(exportWith({R"("outputs": ["water_surface", "bottom_elevation"], "from": 15)"}, {"-o", "no.xdmf"}),
                " -> dataset </RESULTS/CellsAll/BottomEl/0000002> read by <bottom_elevation> at t = 20 s is not in the "
                "results file <run.h5>");
  EXPECT_FALSE(exists("no.xdmf"));
}

// The maxima reach only the times that hold the state and the bed: those of the same run without its last step.
TEST_F(StoredAtFewerTimes, EnvelopesTakeOnlyTheTimesThatHoldTheirData) {
  ASSERT_EQ(exportOut(R"("envelopes": {"wet_depth": 0.01})").status, 0);
  writeWithoutTheLastBed(dir.file("short.h5"), true);
  ASSERT_EQ(exportWith({R"("envelopes": {"wet_depth": 0.01})"}, {"-o", "short.xdmf"}, "short.h5").status, 0);
  for (const std::string envelope : {"water_depth_max", "flow_velocity_abs_max", "water_surface_max"})
    EXPECT_EQ(storedDoubles(dir.file("out_aux.h5"), "envelopes/" + envelope),
              storedDoubles(dir.file("short_aux.h5"), "envelopes/" + envelope));
}

// The sections need the stored discharge only: a time without the bed still has them, the same as in the run that
// stored the bed then too.
TEST_F(StoredAtFewerTimes, SectionsKeepTheTimesThatStoreTheDischarge) {
  const std::string section = R"("sections": [{"name": "across", "points": [[2.5, 0], [2.5, 1]]}])";
  ASSERT_EQ(exportOut(section).status, 0);
  const std::string sparse = readFile(dir.file("out_sections.csv"));
  writeValidResults(dir.file("run.h5"));
  ASSERT_EQ(exportOut(section).status, 0);
  EXPECT_EQ(sparse, readFile(dir.file("out_sections.csv")));
  EXPECT_EQ(splitLines(sparse).size(), 4u) << sparse;
}
