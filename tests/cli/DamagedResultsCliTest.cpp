// A results file whose damage crashes the HDF5 library inside a read: the run
// ends like a failure of its own, with one line, status 1, nothing changed.

#include <gtest/gtest.h>

#include <filesystem>

#include "BinaryRun.hpp"
#include "HostileResults.hpp"
#include "ResultsFileMaker.hpp"
#include "TempDir.hpp"

using namespace testing_support;

TEST(DamagedResults, LibraryCrashInTheArchivedTextIsOneLineAndStatusOne) {
  TempDir dir;
  {
    ResultsFileMaker file(dir.file("run.h5"));
    file.archive(hydraulicsModelText(), {"water_surface"});
    file.unitSquareMesh();
    file.step("RESULTS/CellsAll/HydState/0000000", 0.0, 2, 3, {2, 0, 0, 2, 0, 0});
  }
  corruptArchivedModelText(dir.file("run.h5"));
  writeFile(dir.file("cfg.json"), configurationText({"xdmf"}));
  const std::string damaged = readFile(dir.file("run.h5"));

  const auto run = runResults({"-f", "cfg.json", "-r", "run.h5"}, dir.path(),
                              RunLimits{60, {sanitizerSettingForLibraryCrashes()}});
  EXPECT_FALSE(run.timedOut);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, " -> the results file <run.h5> is damaged: reading <.config/model> crashed the HDF5 library\n");
  EXPECT_EQ(run.outLines().back(), " -> composing the model from archive");
  EXPECT_EQ(readFile(dir.file("run.h5")), damaged);
  std::vector<std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
    files.push_back(entry.path().filename().string());
  std::sort(files.begin(), files.end());
  EXPECT_EQ(files, (std::vector<std::string>{"cfg.json", "run.h5"}));
}
