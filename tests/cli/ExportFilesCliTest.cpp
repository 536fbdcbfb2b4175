// The files an export writes besides the document: the auxiliary HDF5 file with the computed outputs, the output names,
// the archive restore, the console of a successful run; and failures beside the hostile corpus's.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "support/ExportFolder.hpp"
#include "support/ResultsFileMaker.hpp"
#include "support/StoredDatasets.hpp"

using namespace testing_support;
using namespace std::string_literals;

namespace {

class ExportFiles : public ExportFolder {
 protected:
  void writeResults(bool withMinDepth, const std::vector<std::string>& outputs) {
    ResultsFileMaker file(dir.file("run.h5"));
    file.archive(hydraulicsModelText(), outputs);
    file.unitSquareMesh();
    if (withMinDepth) file.scalar("Parameters/MinWaterDepth", 0.25);
    file.doubles("CellsAll/BottomEl", 2, 1, {1.0, 1.0});
    file.step("RESULTS/CellsAll/HydState/0000000", 0.0, 2, 3, {2.0, 0.5, -0.25, 1.125, 0.1, 0.2});
    file.step("RESULTS/CellsAll/HydState/0000001", 30.0, 2, 3, {2.5, 1.5, 0.3, 1.25, 0.004, 0.003});
  }
  const std::vector<std::string> composed{" -> composing the model from archive",
                                          " -> found aggregate <hydraulics_aggr>"};
};

}  // namespace

// The velocity is the discharge over the depth, zero below the run's 0.25 m: cell 1 holds 0.125 m at 0 s and exactly
// 0.25 m at 30 s, which still divides. Without the parameter no depth is dry; it is probed, not read, so the library
// prints no error stack.
TEST_F(ExportFiles, AuxiliaryFileHoldsTheComputedOutputsPerStep) {
  writeResults(true, {"flow_velocity", "flow_velocity_abs", "water_depth"});
  ASSERT_EQ(exportWith({""}).status, 0);
  const std::string aux = dir.file("results_aux.h5");
  EXPECT_EQ(groupMembers(aux, "/"), 2u);  // water_depth is left to the viewer
  const std::vector<double> velocities[2] = {{0.5, -0.25, 0.0, 0.0},
                                             {1.5 / 1.5, 0.3 / 1.5, 0.004 / 0.25, 0.003 / 0.25}};
  for (int step = 0; step < 2; ++step) {
    const std::vector<double>& v = velocities[step];
    const StoredDataset velocity = readStoredDataset(aux, "flow_velocity/" + std::to_string(step));
    const StoredDataset speed = readStoredDataset(aux, "flow_velocity_abs/" + std::to_string(step));
    EXPECT_EQ(std::make_pair(velocity.dims, velocity.size), std::make_pair(std::vector<hsize_t>{2, 2}, 4));
    EXPECT_EQ(std::make_pair(speed.dims, speed.size), std::make_pair(std::vector<hsize_t>{2, 1}, 2));
    EXPECT_EQ(velocity.values, v);
    EXPECT_EQ(speed.values,
              (std::vector<double>{std::sqrt(v[1] * v[1] + v[0] * v[0]), std::sqrt(v[3] * v[3] + v[2] * v[2])}));
  }
  writeResults(false, {"flow_velocity"});
  const BinaryRun run = exportWith({""});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(storedDoubles(dir.file("results_aux.h5"), "flow_velocity/0").at(2), 0.1 / 0.125);
}

// The stem is the name up to its first '.', in the folder named.
TEST_F(ExportFiles, OutputNamesFollowTheStem) {
  writeResults(true, {"water_surface", "flow_velocity"});
  std::filesystem::create_directory(dir.file("v1.2"));
  const std::pair<std::string, std::string> cases[] = {
      {"", "results"}, {"plain", "plain"}, {"two.dots.xdmf", "two"}, {"./v1.2/res.xdmf", "v1.2/res"}};
  for (const auto& [name, stem] : cases) {
    SCOPED_TRACE(name);
    const BinaryRun run = exportWith({""}, name.empty() ? std::vector<std::string>{} : std::vector{"-o"s, name});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(exists(stem + ".xdmf") && exists(stem + "_aux.h5"));
  }
}

// An archive restore writes the stored model text and no export.
TEST_F(ExportFiles, SuccessfulRunsPrintProgressThenTheClosingMessage) {
  writeResults(true, {"water_surface"});
  const std::string restoring = " -> restoring the model and simulation configuration to file <restored.json>";
  struct Case {
    std::vector<std::string> arguments, lines;
    std::string written;
  };
  const Case cases[] = {
      {{}, composed, "results.xdmf"},
      {{"-a", "restored.json", "-o", "r.xdmf"}, {composed[0], composed[1], restoring}, "restored.json"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.written);
    const BinaryRun run = exportWith({""}, c.arguments);
    ASSERT_EQ(run.status, 0) << run.err;
    std::vector<std::string> console = bannerLines();
    console.insert(console.end(), c.lines.begin(), c.lines.end());
    for (const std::string& closing : closingLines()) console.push_back(closing);
    EXPECT_EQ(run.outLines(), console);
    EXPECT_EQ(run.err, "");
    EXPECT_TRUE(exists(c.written));
  }
  EXPECT_EQ(readFile(dir.file("restored.json")), hydraulicsModelText());
  EXPECT_FALSE(exists("r.xdmf"));
}

// Under `| head` the reader of the console goes before the run ends: the export still commits, and the lost report is a
// failure said on the error stream, not a death by SIGPIPE.
TEST_F(ExportFiles, AConsoleThatIsGoneIsAFailureSaidOnTheErrorStream) {
  writeResults(true, {"water_surface"});
  writeFile(dir.file("cfg.json"), configurationText({"xdmf"}));
  const BinaryRun run = runResults({"-f", "cfg.json", "-r", "run.h5"}, dir.path(), RunLimits{30, {}, true});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.errLines(),
            (std::vector<std::string>{" -> the console's lines could not all be written to the standard output (a "
                                      "closed pipe or a full disk), so the run's report is incomplete"}));
  EXPECT_TRUE(exists("results.xdmf") && exists("results_aux.h5"));
}

TEST_F(ExportFiles, UnknownOutputIsRefusedWithTheValidOnes) {
  writeResults(true, {"water_depth", "theta"});
  const BinaryRun run = exportWith({""});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.errLines(), (std::vector<std::string>{
                                " -> output <theta> cannot be defined within the this model setup, valid are:",
                                " -> water_surface", " -> water_depth", " -> bottom_elevation", " -> spec_discharge",
                                " -> delta_z", " -> flow_velocity", " -> flow_velocity_abs", " -> ", killedLine}));
  EXPECT_FALSE(exists("results_aux.h5"));
}

// The configuration named as the auxiliary file of the export, under another spelling or through a link: refused before
// anything is written.
TEST_F(ExportFiles, NeverOverwritesTheConfigurationFile) {
  writeResults(true, {"water_surface"});
  const std::string configuration = configurationText({"xdmf"});
  writeFile(dir.file("out_aux.h5"), configuration);
  std::filesystem::create_directory(dir.file("sub"));
  std::filesystem::create_symlink("../out_aux.h5", dir.file("sub/linked_aux.h5"));
  const std::string cases[][3] = {{"out_aux.h5", "out.xdmf", "out_aux.h5"},
                                  {"./sub/../out_aux.h5", "out.xdmf", "out_aux.h5"},
                                  {"out_aux.h5", "sub/linked.xdmf", "sub/linked_aux.h5"}};
  for (const auto& [name, output, target] : cases)
    expectRefusal(runResults({"-f", name, "-r", "run.h5", "-o", output}, dir.path()),
                  " -> refusing to overwrite the configuration file <" + name + "> with <" + target + ">");
  EXPECT_EQ(readFile(dir.file("out_aux.h5")), configuration);
  EXPECT_EQ(filesLeft(), (std::vector<std::string>{"out_aux.h5", "run.h5", "sub"}));
}
