// Every way an export can fail through the binary: the exact lines, status 1,
// no closing message, and the results file left byte for byte as it was.

#include <gtest/gtest.h>
#include <hdf5.h>
#include <unistd.h>

#include <filesystem>
#include <regex>

#include "support/BinaryRun.hpp"
#include "support/ExportFolder.hpp"
#include "support/ResultsFileMaker.hpp"
#include "support/TempDir.hpp"

using namespace testing_support;

namespace {


std::vector<std::string> withBanner(const std::vector<std::string>& lines) {
  auto all = bannerLines();
  all.insert(all.end(), lines.begin(), lines.end());
  return all;
}

// The lines of the run cycle's report, after any diagnostics the HDF5 library
// printed on its own.
std::vector<std::string> lastLines(const std::vector<std::string>& lines, std::size_t n) {
  return std::vector<std::string>(lines.end() - std::min(n, lines.size()), lines.end());
}

bool matches(const std::string& text, const std::string& pattern) { return std::regex_match(text, std::regex(pattern)); }

}  // namespace

class ExportFailures : public ::testing::Test {
 protected:
  void SetUp() override { writeFile(dir.file("cfg.json"), configurationText({"xdmf"})); }

  // A hydraulics run with one stored step unless told otherwise.
  void writeResults(const std::vector<std::string>& outputs, bool withSteps = true, const std::string& name = "run.h5") {
    {
      ResultsFileMaker file(dir.file(name));
      file.archive(hydraulicsModelText(), outputs);
      file.unitSquareMesh();
      file.doubles("CellsAll/BottomEl", 2, 1, {1.0, 1.0});
      if (withSteps) file.step("RESULTS/CellsAll/HydState/0000000", 0.0, 2, 3, {2, 0, 0, 2, 0, 0});
    }
    resultsName = name;
    original = readFile(dir.file(name));
  }

  BinaryRun run(const std::vector<std::string>& extra) {
    std::vector<std::string> args{"-f", "cfg.json", "-r", resultsName};
    args.insert(args.end(), extra.begin(), extra.end());
    auto result = runResults(args, dir.path());
    EXPECT_EQ(result.status, 1) << result.out << result.err;
    EXPECT_EQ(result.out.find("successfully processed"), std::string::npos);
    return result;
  }

  void TearDown() override {
    if (!original.empty()) {
      EXPECT_EQ(readFile(dir.file(resultsName)), original) << "the results file changed";
    }
  }

  TempDir dir;
  std::string resultsName = "run.h5";
  std::string original;
  const std::vector<std::string> composed{" -> composing the model from archive",
                                          " -> found aggregate <hydraulics_aggr>"};
};

TEST_F(ExportFailures, NoTimeStepsWritesNoFile) {
  writeResults({"water_surface"}, false);
  const auto result = run({});
  EXPECT_EQ(result.outLines(), withBanner(composed));
  const auto errors = result.errLines();
  ASSERT_EQ(errors.size(), 2u) << result.err;
  EXPECT_TRUE(matches(errors[0], " -> no time varying data, therefore no output written, in file: "
                                 "src/results/xdmf/XdmfFormat\\.cpp on line [0-9]+, version v3\\.1\\.0"))
      << errors[0];
  EXPECT_EQ(errors[1], killedLine);
  EXPECT_FALSE(std::filesystem::exists(dir.file("results.xdmf")));
  EXPECT_FALSE(std::filesystem::exists(dir.file("results_aux.h5")));
}

TEST_F(ExportFailures, DisagreeingStepNumbersAreACorruptFile) {
  {
    ResultsFileMaker file(dir.file("run.h5"));
    file.archive(morphologyModelText(), {"water_depth"});
    file.unitSquareMesh();
    file.step("RESULTS/CellsAll/HydState/0000000", 0.0, 2, 3, {2, 0, 0, 2, 0, 0});
    file.step("RESULTS/CellsAll/HydState/0000001", 10.0, 2, 3, {2, 0, 0, 2, 0, 0});
    file.step("RESULTS/CellsAll/BottomEl/0000000", 0.0, 2, 1, {1, 1});
    file.step("RESULTS/CellsAll/BottomEl/0000001", 5.0, 2, 1, {1, 1});
    file.step("RESULTS/CellsAll/BottomEl/0000002", 10.0, 2, 1, {1, 1});
  }
  original = readFile(dir.file("run.h5"));
  const auto result = run({});
  EXPECT_EQ(result.errLines(),
            (std::vector<std::string>{" -> corrupt result file! the time t = 10 s belongs to step 1 and to step 2",
                                      killedLine}));
  EXPECT_FALSE(std::filesystem::exists(dir.file("results.xdmf")));
}

TEST_F(ExportFailures, UnknownOutputIsRefusedWithTheValidOnes) {
  writeResults({"water_depth", "theta"});
  const auto result = run({});
  EXPECT_EQ(result.errLines(),
            (std::vector<std::string>{" -> output <theta> cannot be defined within the this model setup, valid are:",
                                      " -> water_surface", " -> water_depth", " -> bottom_elevation",
                                      " -> spec_discharge", " -> delta_z", " -> flow_velocity",
                                      " -> flow_velocity_abs", " -> ", killedLine}));
  EXPECT_FALSE(std::filesystem::exists(dir.file("results_aux.h5")));
}

TEST_F(ExportFailures, MissingArchiveIsALibraryError) {
  {
    ResultsFileMaker file(dir.file("run.h5"));
    file.unitSquareMesh();
  }
  original = readFile(dir.file("run.h5"));
  const auto result = run({});
  EXPECT_EQ(result.outLines(), withBanner({" -> composing the model from archive"}));
  const auto errors = lastLines(result.errLines(), 3);
  ASSERT_EQ(errors.size(), 3u) << result.err;
  EXPECT_EQ(errors[0], " -> unhandled exception (actually, this should never happen)");
  EXPECT_EQ(errors[1], " -> Unable to open the dataset \".config/model\": (Symbol table) Object not found");
  EXPECT_EQ(errors[2], killedLine);
}

TEST_F(ExportFailures, ResultsFileThatIsNotHdf5OrMissingEndsCleanly) {
  writeFile(dir.file("run.h5"), "this is not an HDF5 file\n");
  original = readFile(dir.file("run.h5"));
  auto result = run({});
  EXPECT_EQ(result.errLines(), (std::vector<std::string>{
                                   " -> HDF5 file <run.h5> is not an HDF5 file: it holds no HDF5 signature", killedLine}));

  original.clear();
  resultsName = "absent.h5";
  result = run({});
  EXPECT_EQ(result.errLines(), (std::vector<std::string>{" -> HDF5 file <absent.h5> does not exist", killedLine}));
  EXPECT_FALSE(std::filesystem::exists(dir.file("absent.h5")));
}

TEST_F(ExportFailures, EmptyExportListDefinesNoOutputs) {
  writeResults({"water_surface"});
  writeFile(dir.file("cfg.json"), R"({"RESULTS": {"EXPORT": []}})");
  const auto result = run({});
  EXPECT_EQ(result.errLines(),
            (std::vector<std::string>{" -> path <RESULTS/EXPORT> not found.", " -> no outputs defined", killedLine}));
}

TEST_F(ExportFailures, NeverOverwritesTheResultsFile) {
  writeResults({"water_surface"}, true, "res_aux.h5");
  auto result = run({"-o", "res.xdmf"});
  EXPECT_EQ(result.errLines(),
            (std::vector<std::string>{" -> refusing to overwrite the results file <res_aux.h5> with <res_aux.h5>",
                                      killedLine}));

  result = run({"-a", "res_aux.h5"});
  EXPECT_EQ(result.errLines(),
            (std::vector<std::string>{" -> refusing to overwrite the results file <res_aux.h5> with <res_aux.h5>",
                                      killedLine}));

  ASSERT_EQ(link(dir.file("res_aux.h5").c_str(), dir.file("linked.xdmf").c_str()), 0);
  result = run({"-o", "linked.xdmf"});
  EXPECT_EQ(result.errLines(),
            (std::vector<std::string>{" -> refusing to overwrite the results file <res_aux.h5> with <linked.xdmf>",
                                      killedLine}));
}

// The configuration named as the auxiliary file of the export, under another
// spelling or through a link: refused before anything is written.
TEST_F(ExportFailures, NeverOverwritesTheConfigurationFile) {
  writeResults({"water_surface"});
  const std::string configuration = configurationText({"xdmf"});
  writeFile(dir.file("out_aux.h5"), configuration);
  std::filesystem::create_directory(dir.file("sub"));
  std::filesystem::create_symlink("../out_aux.h5", dir.file("sub/linked_aux.h5"));
  struct Case {
    std::string configurationName;
    std::string output;
    std::string target;
  };
  const std::vector<Case> cases = {{"out_aux.h5", "out.xdmf", "out_aux.h5"},
                                   {"./sub/../out_aux.h5", "out.xdmf", "out_aux.h5"},
                                   {"out_aux.h5", "sub/linked.xdmf", "sub/linked_aux.h5"}};
  for (const Case& c : cases) {
    const auto result = runResults({"-f", c.configurationName, "-r", "run.h5", "-o", c.output}, dir.path());
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.errLines(), (std::vector<std::string>{" -> refusing to overwrite the configuration file <" +
                                                               c.configurationName + "> with <" + c.target + ">",
                                                           killedLine}));
  }
  EXPECT_EQ(readFile(dir.file("out_aux.h5")), configuration);
  EXPECT_FALSE(std::filesystem::exists(dir.file("out.xdmf")));
  EXPECT_FALSE(std::filesystem::exists(dir.file("sub/linked.xdmf")));
}

TEST_F(ExportFailures, UnwritableArchiveTargetIsReported) {
  writeResults({"water_surface"});
  std::filesystem::create_directory(dir.file("folder"));
  const auto result = run({"-a", "folder"});
  EXPECT_EQ(result.errLines(),
            (std::vector<std::string>{" -> cannot write the archive to file <folder>", killedLine}));
}

TEST_F(ExportFailures, UnwritableDocumentFolderIsReported) {
  writeResults({"water_surface"});
  const auto result = run({"-o", "missing/out.xdmf"});
  const auto errors = result.errLines();
  ASSERT_GE(errors.size(), 2u) << result.err;
  EXPECT_EQ(errors.back(), killedLine);
}

TEST_F(ExportFailures, EmptyOutputListHasNoTimeVaryingData) {
  writeResults({});
  const auto result = run({});
  const auto errors = result.errLines();
  ASSERT_EQ(errors.size(), 2u) << result.err;
  EXPECT_TRUE(matches(errors[0], " -> no time varying data, therefore no output written, in file: "
                                 "src/results/xdmf/XdmfFormat\\.cpp on line [0-9]+, version v3\\.1\\.0"))
      << errors[0];
  EXPECT_FALSE(std::filesystem::exists(dir.file("results_aux.h5")));
}

// A transformed output reads single columns: a one-dimensional input dataset
// has none.
TEST_F(ExportFailures, OneDimensionalInputHasNoColumnToTransform) {
  writeResults({"flow_velocity"});
  {
    const hid_t file = H5Fopen(dir.file("run.h5").c_str(), H5F_ACC_RDWR, H5P_DEFAULT);
    H5Ldelete(file, "CellsAll/BottomEl", H5P_DEFAULT);
    const hsize_t cells = 2;
    const double bed[2] = {1.0, 1.0};
    const hid_t space = H5Screate_simple(1, &cells, nullptr);
    const hid_t dataset = H5Dcreate2(file, "CellsAll/BottomEl", H5T_NATIVE_DOUBLE, space, H5P_DEFAULT, H5P_DEFAULT,
                                     H5P_DEFAULT);
    H5Dwrite(dataset, H5T_NATIVE_DOUBLE, H5S_ALL, H5S_ALL, H5P_DEFAULT, bed);
    H5Dclose(dataset);
    H5Sclose(space);
    H5Fclose(file);
  }
  original = readFile(dir.file("run.h5"));
  const auto result = run({});
  EXPECT_EQ(result.errLines(),
            (std::vector<std::string>{" -> dataset <CellsAll/BottomEl> does not contain column 0!", killedLine}));
  EXPECT_FALSE(std::filesystem::exists(dir.file("results.xdmf")));
}

// The second step lacks the transport capacity: everything computed before
// the failure goes with the run, and the export that was there stays.
TEST_F(ExportFailures, AStepThatFailsLeavesTheEarlierExportAsItWas) {
  writeFile(dir.file("results.xdmf"), "the earlier document");
  writeFile(dir.file("results_aux.h5"), "the earlier auxiliary file");
  {
    ResultsFileMaker file(dir.file("run.h5"));
    file.archive(morphologyModelText(), {"flow_velocity", "trsp_capacity_abs"});
    file.unitSquareMesh();
    file.step("RESULTS/CellsAll/HydState/0000000", 0.0, 2, 3, {2, 0.5, 0, 3, 0, 1});
    file.step("RESULTS/CellsAll/HydState/0000001", 10.0, 2, 3, {3, 1, 0, 2, 0, 0.5});
    file.step("RESULTS/CellsAll/BottomEl/0000000", 0.0, 2, 1, {1, 1});
    file.step("RESULTS/CellsAll/BottomEl/0000001", 10.0, 2, 1, {1, 1});
    file.step("RESULTS/CellsAll/BedTrCap/0000000", 0.0, 2, 2, {3, 4, 0, 0});
    // The second step's capacity lacks a column: found when that step is computed.
    file.step("RESULTS/CellsAll/BedTrCap/0000001", 10.0, 2, 1, {3, 4});
  }
  original = readFile(dir.file("run.h5"));
  const auto result = run({});
  EXPECT_EQ(result.errLines(),
            (std::vector<std::string>{" -> dataset </RESULTS/CellsAll/BedTrCap/0000001> does not contain column 1!",
                                      killedLine}));
  EXPECT_EQ(readFile(dir.file("results.xdmf")), "the earlier document");
  EXPECT_EQ(readFile(dir.file("results_aux.h5")), "the earlier auxiliary file");
  std::vector<std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) files.push_back(entry.path().filename());
  std::sort(files.begin(), files.end());
  EXPECT_EQ(files, (std::vector<std::string>{"cfg.json", "results.xdmf", "results_aux.h5", "run.h5"}));
}
