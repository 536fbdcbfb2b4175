// A look inside a results file with --info through the binary: the whole
// report, the failures it shares with the export, the options beside it, and
// that it writes nothing.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "support/BinaryRun.hpp"
#include "support/ExportFolder.hpp"
#include "support/ResultsFileMaker.hpp"
#include "support/TempDir.hpp"

using namespace testing_support;

namespace {


std::string morphologyTracersModelText() {
  return R"({"SETUP": {"DOMAIN": {"VELDRIX_2D": {"HYDRAULICS": {"FRICTION": {"CHEZY": 30}},)"
         R"( "MORPHOLOGY": {"D50": 0.002}, "TRACERS": {"NUMBER": 2}}}}})";
}

std::vector<std::string> lines(std::initializer_list<std::vector<std::string>> parts) {
  std::vector<std::string> all;
  for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

std::vector<std::string> lastLines(const std::vector<std::string>& text, std::size_t n) {
  return std::vector<std::string>(text.end() - std::min(n, text.size()), text.end());
}

// Every file of the folder with its content, but the run's own captures.
std::map<std::string, std::string> folderContents(const std::string& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    files[entry.path().filename().string()] = readFile(entry.path().string());
  return files;
}

}  // namespace

class InfoCli : public ::testing::Test {
 protected:
  // Three steps at uneven times, a bed stored once and also once as a step,
  // and an output list with a name this setup cannot give.
  void writeHydraulicsRun(const std::string& name = "run.h5") {
    ResultsFileMaker file(dir.file(name));
    file.archive(hydraulicsModelText(), {"water_surface", "water_depth", "theta"});
    file.unitSquareMesh();
    file.doubles("CellsAll/BottomEl", 2, 1, {1.0, 1.0});
    file.scalar("Parameters/MinWaterDepth", 0.001);
    file.step("RESULTS/CellsAll/HydState/0000000", 0.0, 2, 3, {2, 0, 0, 2, 0, 0});
    file.step("RESULTS/CellsAll/HydState/0000001", 10.0, 2, 3, {2, 0, 0, 2, 0, 0});
    file.step("RESULTS/CellsAll/HydState/0000002", 25.0, 2, 3, {2, 0, 0, 2, 0, 0});
    file.step("RESULTS/CellsAll/BottomEl/0000000", 5.0, 2, 1, {1.0, 1.0});
  }

  BinaryRun run(const std::vector<std::string>& arguments) { return runResults(arguments, dir.path()); }

  TempDir dir;
  const std::vector<std::string> composed{" -> composing the model from archive",
                                          " -> found aggregate <hydraulics_aggr>"};
};

TEST_F(InfoCli, HydraulicsRunReportsEverythingTheFileHolds) {
  writeHydraulicsRun();
  const auto result = run({"-i", "-r", "run.h5"});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.outLines(),
            lines({bannerLines(), composed,
                   {"",
                    "results file: run.h5",
                    "model aggregates: hydraulics_aggr",
                    "mesh: 2 cells, 4 nodes",
                    "  x from 0 to 1",
                    "  y from 0 to 1",
                    "  z from 0 to 0",
                    "stored times [s]:",
                    "  CellsAll/HydState: 3 times, from 0 to 25, intervals 10 to 15",
                    "  CellsAll/BottomEl: 1 time, at 5",
                    "outputs listed by the run: water_surface, water_depth, theta (not an output of this model setup)",
                    "outputs this model setup can give (* listed by the run):",
                    "  * water_surface      data in the file",
                    "  * water_depth        data in the file",
                    "    bottom_elevation   data in the file, stored once: exported only beside an output stored "
                    "over time",
                    "    spec_discharge     data in the file",
                    "    delta_z            data in the file, stored once: exported only beside an output stored "
                    "over time",
                    "    flow_velocity      data in the file",
                    "    flow_velocity_abs  data in the file",
                    "MinWaterDepth: 0.001 m"},
                   closingLines()}));
}

TEST_F(InfoCli, MorphologyRunWithTracersMarksTheOutputsWhoseDataAreMissing) {
  {
    ResultsFileMaker file(dir.file("mor.h5"));
    file.archive(morphologyTracersModelText(), {"water_depth", "delta_z", "tracer1", "theta"});
    file.ints("CellsAll/Topology", 2, 3, {0, 1, 2, 0, 2, 3});
    file.doubles("NodesAll/Coordnts", 4, 3,
                 {2600000, 1200000, 10.5, 2600100, 1200000, 10, 2600100, 1200050, 9.75, 2600000, 1200050, 10.25});
    // Steps a tenth of a second apart, as doubles: the intervals differ in
    // their last bits.
    for (int step = 0; step < 4; ++step) {
      const std::string number = "000000" + std::to_string(step);
      const double time = (step + 1) * 0.1;
      file.step("RESULTS/CellsAll/HydState/" + number, time, 2, 3, {11, 0.1, 0, 11, 0.2, 0});
      file.step("RESULTS/CellsAll/BottomEl/" + number, time, 2, 1, {10, 10});
      file.step("RESULTS/CellsAll/TrcState/" + number, time, 2, 15, std::vector<double>(30, 0.5));
    }
  }
  const auto result = run({"--info", "-r", "mor.h5"});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.outLines(),
            lines({bannerLines(),
                   {" -> composing the model from archive", " -> found aggregate <hydraulics_aggr>",
                    " -> found aggregate <morphology_aggr>", " -> found aggregate <tracers_aggr>",
                    " -> found aggregate <mor_shields_aggr>", " -> found aggregate <hyd_friction_aggr>",
                    "",
                    "results file: mor.h5",
                    "model aggregates: hydraulics_aggr, morphology_aggr, tracers_aggr, mor_shields_aggr, "
                    "hyd_friction_aggr",
                    "mesh: 2 cells, 4 nodes",
                    "  x from 2600000 to 2600100",
                    "  y from 1200000 to 1200050",
                    "  z from 9.75 to 10.5",
                    "stored times [s]:",
                    "  CellsAll/HydState: 4 times, from 0.1 to 0.4, every 0.1",
                    "  CellsAll/BottomEl: 4 times, from 0.1 to 0.4, every 0.1",
                    "  CellsAll/TrcState: 4 times, from 0.1 to 0.4, every 0.1",
                    "outputs listed by the run: water_depth, delta_z, tracer1, theta",
                    "outputs this model setup can give (* listed by the run):",
                    "    water_surface      data in the file",
                    "  * water_depth        data in the file",
                    "    bottom_elevation   data in the file",
                    "    friction_chezy     missing /RESULTS/CellsAll/ChezyCoe",
                    "    spec_discharge     data in the file",
                    "  * delta_z            data in the file",
                    "    flow_velocity      data in the file",
                    "    flow_velocity_abs  data in the file",
                    "  * tracer1            data in the file",
                    "    tracer2            data in the file",
                    "    tracer3            data in the file",
                    "    tracer4            data in the file",
                    "    tracer5            data in the file",
                    "    tracer1_drv        data in the file",
                    "    tracer5_drv        data in the file",
                    "    flow_curvature     missing /RESULTS/CellsAll/FlowCurv",
                    "    flow_radius        missing /RESULTS/CellsAll/FlowCurv",
                    "    bed_gradient       missing /RESULTS/CellsAll/BedGrdnt",
                    "  * theta              missing /RESULTS/CellsAll/ThetaShd",
                    "    theta_critical     missing /RESULTS/CellsAll/ThetaCrt",
                    "    trsp_capacity      missing /RESULTS/CellsAll/BedTrCap",
                    "    trsp_capacity_abs  missing /RESULTS/CellsAll/BedTrCap",
                    "MinWaterDepth: not stored (the export takes 0 m)"},
                   closingLines()}));
}

TEST_F(InfoCli, FileWithoutTimeStepsIsReportedNotRefused) {
  {
    ResultsFileMaker file(dir.file("run.h5"));
    file.archive(hydraulicsModelText(), {});
    file.unitSquareMesh();
  }
  const auto result = run({"-i", "-r", "run.h5"});
  EXPECT_EQ(result.status, 0) << result.err;
  const auto out = result.outLines();
  ASSERT_GE(out.size(), 19u) << result.out;
  EXPECT_EQ(std::vector<std::string>(out.begin() + 13, out.begin() + 19),
            (std::vector<std::string>{"stored times [s]: none", "outputs listed by the run: none",
                                      "outputs this model setup can give (* listed by the run):",
                                      "    water_surface      missing /RESULTS/CellsAll/HydState",
                                      "    water_depth        missing /RESULTS/CellsAll/HydState",
                                      "    bottom_elevation   missing CellsAll/BottomEl"}));
}

// The export's own failures, line for line, for files it cannot read.
TEST_F(InfoCli, UnreadableFilesFailAsTheExportDoes) {
  writeFile(dir.file("cfg.json"), configurationText({"xdmf"}));
  {
    ResultsFileMaker file(dir.file("noarchive.h5"));
    file.unitSquareMesh();
  }
  writeFile(dir.file("text.h5"), "this is not an HDF5 file\n");
  for (const std::string name : {"noarchive.h5", "text.h5", "absent.h5", "runs.old.h5"}) {
    const auto info = run({"-i", "-r", name});
    const auto exported = run({"-f", "cfg.json", "-r", name});
    EXPECT_EQ(info.status, 1) << name;
    EXPECT_EQ(info.outLines(), exported.outLines()) << name;
    EXPECT_EQ(lastLines(info.errLines(), 3), lastLines(exported.errLines(), 3)) << name;
    EXPECT_EQ(info.errLines().back(), killedLine) << name;
  }
  EXPECT_FALSE(std::filesystem::exists(dir.file("absent.h5")));
}

// -f and -o are accepted and not used, so --info can be added to any export
// command; the configuration file need not even exist.
TEST_F(InfoCli, WritesNoFileWhateverTheOtherOptionsSay) {
  writeHydraulicsRun();
  const auto before = folderContents(dir.path());
  const auto plain = run({"-i", "-r", "run.h5"});
  const auto withOthers = run({"-f", "nowhere.json", "-r", "run.h5", "-o", "out.xdmf", "-i", "-l", "2", "-n", "4"});
  EXPECT_EQ(withOthers.status, 0) << withOthers.err;
  EXPECT_EQ(withOthers.out, plain.out);
  EXPECT_EQ(withOthers.err, "");
  EXPECT_EQ(folderContents(dir.path()), before);
}

TEST_F(InfoCli, ArchiveRestoreBesideInfoIsRefusedBeforeReading) {
  writeHydraulicsRun();
  const auto result = run({"-i", "-r", "run.h5", "-a", "model.json"});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.outLines(), bannerLines());
  EXPECT_EQ(result.errLines(), (std::vector<std::string>{
                                   " -> --info writes no file: restore the archive (-a) in a run of its own", killedLine}));
  EXPECT_FALSE(std::filesystem::exists(dir.file("model.json")));

  // An empty archive name asks for no restore, as in an export.
  EXPECT_EQ(run({"-i", "-r", "run.h5", "-a", ""}).status, 0);
}

// Only a real --info switch lifts the need for -f: not a value of another
// option, and not a word after "--".
TEST_F(InfoCli, ConfigurationFileStaysRequiredWithoutTheSwitch) {
  writeHydraulicsRun();
  for (const auto& arguments : std::vector<std::vector<std::string>>{
           {"-r", "run.h5", "-o", "-i"}, {"-r", "run.h5", "--output", "--info"}, {"-r", "run.h5", "--", "-i"}}) {
    const auto result = run(arguments);
    EXPECT_EQ(result.status, 1) << arguments.back();
    EXPECT_EQ(result.outLines(), bannerLines()) << arguments.back();
    EXPECT_NE(result.err.find("Required argument missing: file"), std::string::npos) << result.err;
  }
}
