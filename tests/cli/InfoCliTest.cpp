// A look inside a results file with --info through the binary: the whole report, the options beside it, and that it
// writes nothing.

#include <gtest/gtest.h>

#include "support/ExportFolder.hpp"
#include "support/ResultsFileMaker.hpp"

using namespace testing_support;

namespace {

class InfoCli : public ExportFolder {
 protected:
  // Three steps at uneven times, a bed stored once and also once as a step, and an output list with a name this setup
  // cannot give.
  void writeHydraulicsRun() {
    ResultsFileMaker file(dir.file("run.h5"));
    file.archive(hydraulicsModelText(), {"water_surface", "water_depth", "theta"});
    file.unitSquareMesh();
    file.doubles("CellsAll/BottomEl", 2, 1, {1.0, 1.0});
    file.scalar("Parameters/MinWaterDepth", 0.001);
    const double times[] = {0.0, 10.0, 25.0};
    for (int step = 0; step < 3; ++step)
      file.step("RESULTS/CellsAll/HydState/000000" + std::to_string(step), times[step], 2, 3, {2, 0, 0, 2, 0, 0});
    file.step("RESULTS/CellsAll/BottomEl/0000000", 5.0, 2, 1, {1.0, 1.0});
  }

  BinaryRun run(const std::vector<std::string>& arguments) { return runResults(arguments, dir.path()); }
};

}  // namespace

TEST_F(InfoCli, HydraulicsRunIsReportedInFullWithoutAFileWritten) {
  writeHydraulicsRun();
  const std::string stored = readFile(dir.file("run.h5"));
  // -f and -o are accepted and not used, so --info can be added to any export command; the configuration file need
  // not even exist.
  const auto result = run({"-f", "nowhere.json", "-r", "run.h5", "-o", "out.xdmf", "-i", "-l", "2", "-n", "4"});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(filesLeft(), std::vector<std::string>{"run.h5"});
  EXPECT_EQ(readFile(dir.file("run.h5")), stored);
  // The whole report, banner and closing lines included.
  EXPECT_EQ(result.out, readFile(std::string(RESULTS_SOURCE_DIR) + "/tests/data/info_hydraulics.txt"));
  // A restore writes a file: refused before reading. An empty archive name asks for no restore, as in an export.
  const auto restore = run({"-i", "-r", "run.h5", "-a", "model.json"});
  expectRefusal(restore, " -> --info writes no file: restore the archive (-a) in a run of its own");
  EXPECT_EQ(restore.outLines(), bannerLines());
  EXPECT_FALSE(exists("model.json"));
  EXPECT_EQ(run({"-i", "-r", "run.h5", "-a", ""}).status, 0);
}

TEST_F(InfoCli, FileWithoutTimeStepsIsReportedNotRefused) {
  {
    ResultsFileMaker file(dir.file("run.h5"));
    file.archive(hydraulicsModelText(), {});
    file.unitSquareMesh();
  }
  const auto result = run({"-i", "-r", "run.h5"});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out, readFile(std::string(RESULTS_SOURCE_DIR) + "/tests/data/info_without_steps.txt"));
}
