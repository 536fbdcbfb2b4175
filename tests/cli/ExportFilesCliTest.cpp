// The files an export writes besides the document: the auxiliary HDF5 file
// with the computed outputs, the output names, and the archive restore.

#include <gtest/gtest.h>
#include <hdf5.h>

#include <cmath>
#include <filesystem>

#include "support/BinaryRun.hpp"
#include "support/ResultsFileMaker.hpp"
#include "support/StoredDatasets.hpp"
#include "support/TempDir.hpp"

using namespace testing_support;

namespace {

hsize_t objectsInRoot(const std::string& fileName) {
  const hid_t file = H5Fopen(fileName.c_str(), H5F_ACC_RDONLY, H5P_DEFAULT);
  H5G_info_t info;
  H5Gget_info(file, &info);
  H5Fclose(file);
  return info.nlinks;
}

// Velocity of one cell by the formulas: 0 where the depth is below the threshold.
double velocity(double q, double H, double zb, double threshold) {
  const double h = H - zb;
  return threshold > h ? 0.0 : q / h;
}

}  // namespace

class ExportFiles : public ::testing::Test {
 protected:
  void writeResults(bool withMinDepth, const std::vector<std::string>& outputs) {
    ResultsFileMaker file(dir.file("run.h5"));
    file.archive(hydraulicsModelText(), outputs);
    file.unitSquareMesh();
    if (withMinDepth) file.scalar("Parameters/MinWaterDepth", threshold);
    file.doubles("CellsAll/BottomEl", 2, 1, {1.0, 1.0});
    file.step("RESULTS/CellsAll/HydState/0000000", 0.0, 2, 3, state[0]);
    file.step("RESULTS/CellsAll/HydState/0000001", 30.0, 2, 3, state[1]);
  }
  BinaryRun run(const std::vector<std::string>& extra, const std::vector<std::string>& formats = {"xdmf"}) {
    writeFile(dir.file("cfg.json"), configurationText(formats));
    std::vector<std::string> args{"-f", "cfg.json", "-r", "run.h5"};
    args.insert(args.end(), extra.begin(), extra.end());
    return runResults(args, dir.path());
  }

  TempDir dir;
  const double threshold = 0.25;
  // Cell 1 of step 0 holds 0.125 m of water, below the threshold; step 1
  // holds exactly the threshold there, which still divides.
  const std::vector<double> state[2] = {{2.0, 0.5, -0.25, 1.125, 0.1, 0.2}, {2.5, 1.5, 0.3, 1.25, 0.004, 0.003}};
};

TEST_F(ExportFiles, AuxiliaryFileHoldsTheComputedOutputsPerStep) {
  writeResults(true, {"flow_velocity", "flow_velocity_abs", "water_depth"});
  const auto result = run({});
  ASSERT_EQ(result.status, 0) << result.err;
  const std::string aux = dir.file("results_aux.h5");
  EXPECT_EQ(objectsInRoot(aux), 2u);  // water_depth is left to the viewer

  for (int step = 0; step < 2; ++step) {
    const auto& v = state[step];
    const auto velocityField = readStoredDataset(aux, "flow_velocity/" + std::to_string(step));
    ASSERT_EQ(velocityField.dims, (std::vector<hsize_t>{2, 2}));
    EXPECT_EQ(velocityField.size, 4);
    const auto magnitude = readStoredDataset(aux, "flow_velocity_abs/" + std::to_string(step));
    ASSERT_EQ(magnitude.dims, (std::vector<hsize_t>{2, 1}));
    EXPECT_EQ(magnitude.size, 2);
    for (int cell = 0; cell < 2; ++cell) {
      const double u = velocity(v[3 * cell + 1], v[3 * cell], 1.0, threshold);
      const double w = velocity(v[3 * cell + 2], v[3 * cell], 1.0, threshold);
      EXPECT_EQ(velocityField.values[2 * cell], u);
      EXPECT_EQ(velocityField.values[2 * cell + 1], w);
      EXPECT_EQ(magnitude.values[cell], std::sqrt(w * w + u * u));
    }
  }
  EXPECT_EQ(readStoredDataset(aux, "flow_velocity/0").values[2], 0.0);
  EXPECT_NE(readStoredDataset(aux, "flow_velocity/1").values[2], 0.0);
}

TEST_F(ExportFiles, MissingMinimumDepthMeansNoThreshold) {
  writeResults(false, {"flow_velocity"});
  const auto result = run({});
  ASSERT_EQ(result.status, 0) << result.err;
  // The absent parameter is probed, not read: the library prints no error stack.
  EXPECT_EQ(result.err, "");
  const auto field = readStoredDataset(dir.file("results_aux.h5"), "flow_velocity/0");
  ASSERT_EQ(field.values.size(), 4u);
  EXPECT_EQ(field.values[2], 0.1 / 0.125);
}

TEST_F(ExportFiles, OutputNamesFollowTheStem) {
  writeResults(true, {"water_surface"});
  auto result = run({});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_TRUE(std::filesystem::exists(dir.file("results.xdmf")));
  EXPECT_TRUE(std::filesystem::exists(dir.file("results_aux.h5")));
  EXPECT_EQ(objectsInRoot(dir.file("results_aux.h5")), 0u);

  result = run({"-o", "plain"});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_TRUE(std::filesystem::exists(dir.file("plain.xdmf")));
  EXPECT_TRUE(std::filesystem::exists(dir.file("plain_aux.h5")));

  result = run({"-o", "two.dots.xdmf"});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_TRUE(std::filesystem::exists(dir.file("two.xdmf")));

  std::filesystem::create_directory(dir.file("v1.2"));
  result = run({"-o", "./v1.2/res.xdmf"});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_TRUE(std::filesystem::exists(dir.file("v1.2/res.xdmf")));
  EXPECT_TRUE(std::filesystem::exists(dir.file("v1.2/res_aux.h5")));
}

TEST_F(ExportFiles, TwoEntriesOfOneStemBothRunAndLeaveTheFilesOfOneRun) {
  writeResults(true, {"water_surface", "flow_velocity"});
  const auto single = run({"-o", "single.xdmf"});
  ASSERT_EQ(single.status, 0) << single.err;
  const auto twice = run({"-o", "twice.xdmf"}, {"xdmf", "xdmf"});
  ASSERT_EQ(twice.status, 0) << twice.err;
  EXPECT_EQ(twice.outLines(), single.outLines());

  std::string document = readFile(dir.file("twice.xdmf"));
  const std::string renamed = "twice_aux.h5:";
  for (auto at = document.find(renamed); at != std::string::npos; at = document.find(renamed))
    document.replace(at, renamed.size(), "single_aux.h5:");
  EXPECT_EQ(document, readFile(dir.file("single.xdmf")));
  EXPECT_EQ(readStoredDataset(dir.file("twice_aux.h5"), "flow_velocity/1").values,
            readStoredDataset(dir.file("single_aux.h5"), "flow_velocity/1").values);
  EXPECT_EQ(objectsInRoot(dir.file("twice_aux.h5")), 1u);
}

TEST_F(ExportFiles, ArchiveRestoreWritesTheStoredModelTextOnly) {
  writeResults(true, {"water_surface"});
  const auto result = run({"-a", "restored.json"});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(readFile(dir.file("restored.json")), hydraulicsModelText());
  auto expected = bannerLines();
  expected.push_back(" -> composing the model from archive");
  expected.push_back(" -> found aggregate <hydraulics_aggr>");
  expected.push_back(" -> restoring the model and simulation configuration to file <restored.json>");
  for (const auto& closing : closingLines()) expected.push_back(closing);
  EXPECT_EQ(result.outLines(), expected);
  EXPECT_FALSE(std::filesystem::exists(dir.file("results.xdmf")));
  EXPECT_FALSE(std::filesystem::exists(dir.file("results_aux.h5")));
}

TEST_F(ExportFiles, SuccessfulRunPrintsProgressThenTheClosingMessage) {
  writeResults(true, {"water_surface"});
  const auto result = run({});
  ASSERT_EQ(result.status, 0) << result.err;
  auto expected = bannerLines();
  expected.push_back(" -> composing the model from archive");
  expected.push_back(" -> found aggregate <hydraulics_aggr>");
  for (const auto& closing : closingLines()) expected.push_back(closing);
  EXPECT_EQ(result.outLines(), expected);
  EXPECT_EQ(result.err, "");
}

// Under `| head` the reader of the console goes before the run ends: the
// export still commits, and the lost report is a failure said on the error
// stream, not a death by SIGPIPE.
TEST_F(ExportFiles, AConsoleThatIsGoneIsAFailureSaidOnTheErrorStream) {
  writeResults(true, {"water_surface"});
  writeFile(dir.file("cfg.json"), configurationText({"xdmf"}));
  RunLimits limits;
  limits.outputPipeClosed = true;
  const auto result = runResults({"-f", "cfg.json", "-r", "run.h5"}, dir.path(), limits);
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.errLines(), (std::vector<std::string>{
                                   " -> the console's lines could not all be written to the standard output (a closed "
                                   "pipe or a full disk), so the run's report is incomplete"}));
  EXPECT_TRUE(std::filesystem::exists(dir.file("results.xdmf")));
  EXPECT_TRUE(std::filesystem::exists(dir.file("results_aux.h5")));
}

TEST_F(ExportFiles, ConfigurationWarningsLetTheRunGoOn) {
  writeResults(true, {"water_surface"});
  writeFile(dir.file("cfg.json"), R"({"RESULTS": {"EXPORT": [{"format": "xdmf"}]}, "SETUP": {}})");
  const auto result = runResults({"-f", "cfg.json", "-r", "run.h5", "-a", ""}, dir.path());
  ASSERT_EQ(result.status, 0) << result.err;
  auto expected = bannerLines();
  expected.push_back("/SETUP: Warning: The value of this item will not be used.");
  expected.push_back(" -> composing the model from archive");
  expected.push_back(" -> found aggregate <hydraulics_aggr>");
  for (const auto& closing : closingLines()) expected.push_back(closing);
  EXPECT_EQ(result.outLines(), expected);
  EXPECT_TRUE(std::filesystem::exists(dir.file("results.xdmf")));
}
