// Inputs that are not regular files: a FIFO would make the binary wait for a
// writer for ever, a device read without end. Every run has a time limit, so
// that a wait fails the test instead of stopping it.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "support/BinaryRun.hpp"
#include "support/ExportFolder.hpp"
#include "support/ResultsFileMaker.hpp"
#include "support/TempDir.hpp"

using namespace testing_support;

namespace {


}  // namespace

class InputFiles : public ::testing::Test {
 protected:
  void SetUp() override { writeFile(dir.file("cfg.json"), configurationText({"xdmf"})); }

  void writeResults(const std::string& modelText) {
    ResultsFileMaker file(dir.file("run.h5"));
    file.archive(modelText, {"water_surface"});
    file.unitSquareMesh();
    file.step("RESULTS/CellsAll/HydState/0000000", 0.0, 2, 3, {2, 0, 0, 2, 0, 0});
  }

  BinaryRun run(const std::string& configuration, const std::string& results) {
    const auto result = runResults({"-f", configuration, "-r", results}, dir.path(), RunLimits{30, {}});
    EXPECT_FALSE(result.timedOut) << configuration << " " << results;
    EXPECT_EQ(result.status, 1);
    EXPECT_FALSE(std::filesystem::exists(dir.file("results.xdmf")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("results_aux.h5")));
    return result;
  }

  TempDir dir;
};

TEST_F(InputFiles, ConfigurationThatIsAFifoOrADeviceIsRefused) {
  writeResults(hydraulicsModelText());
  ASSERT_EQ(mkfifo(dir.file("pipe.json").c_str(), 0644), 0);
  std::filesystem::create_symlink("/dev/zero", dir.file("zero.json"));
  for (const std::string name : {"pipe.json", "zero.json"}) {
    const auto result = run(name, "run.h5");
    EXPECT_EQ(result.errLines(),
              (std::vector<std::string>{" -> configuration file <" + name + "> is not a regular file", killedLine}));
    EXPECT_EQ(result.outLines(), bannerLines());
  }
}

TEST_F(InputFiles, ResultsFileThatIsAFifoOrADeviceIsRefused) {
  ASSERT_EQ(mkfifo(dir.file("pipe.h5").c_str(), 0644), 0);
  std::filesystem::create_symlink("/dev/zero", dir.file("zero.h5"));
  for (const std::string name : {"pipe.h5", "zero.h5"}) {
    const auto result = run("cfg.json", name);
    EXPECT_EQ(result.errLines(),
              (std::vector<std::string>{" -> HDF5 file <" + name + "> is not a regular file", killedLine}));
  }
}

// An archived text that is not JSON is no name of a file: the FIFO it names
// is never opened.
TEST_F(InputFiles, ArchivedTextNamingAFifoIsRefused) {
  writeResults("pipe");
  ASSERT_EQ(mkfifo(dir.file("pipe").c_str(), 0644), 0);
  const std::string before = readFile(dir.file("run.h5"));
  const auto result = run("cfg.json", "run.h5");
  EXPECT_EQ(result.errLines(),
            (std::vector<std::string>{" -> the archived text <.config/model> of <run.h5> is not valid JSON: <pipe>",
                                      killedLine}));
  EXPECT_EQ(readFile(dir.file("run.h5")), before);
}
