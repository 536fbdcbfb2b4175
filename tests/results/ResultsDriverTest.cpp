// The driver's format list, which the configuration schema keeps the binary
// from reaching with other names.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <sstream>

#include "interfaces/Failure.hpp"
#include "results/Results.hpp"
#include "support/BinaryRun.hpp"
#include "support/CerrCapture.hpp"
#include "support/ResultsFileMaker.hpp"
#include "support/TempDir.hpp"

using namespace testing_support;

class ResultsDriver : public ::testing::Test {
 protected:
  void SetUp() override {
    ResultsFileMaker file(dir.file("run.h5"));
    file.archive(hydraulicsModelText(), {"water_surface"});
    file.unitSquareMesh();
    file.step("RESULTS/CellsAll/HydState/0000000", 0.0, 2, 3, {2, 0, 0, 2, 0, 0});
  }

  std::unique_ptr<api::IResults> driver(const std::vector<std::string>& formats) {
    writeFile(dir.file("cfg.json"), configurationText(formats));
    StreamCapture out(std::cout);
    return std::unique_ptr<api::IResults>(createResults(dir.file("cfg.json"), dir.file("run.h5")));
  }

  TempDir dir;
};

TEST_F(ResultsDriver, UnknownFormatNameIsNotValid) {
  auto results = driver({"vtk"});
  StreamCapture err(std::cerr);
  EXPECT_THROW(results->exportResults(0, dir.file("out.xdmf")), BaseException);
  EXPECT_EQ(err.text(), " -> output format <vtk> not valid\n");
  EXPECT_FALSE(std::filesystem::exists(dir.file("out_aux.h5")));
}

TEST_F(ResultsDriver, FormatLookupIsCaseSensitive) {
  auto results = driver({"XDMF"});
  StreamCapture err(std::cerr);
  EXPECT_THROW(results->exportResults(0, dir.file("out.xdmf")), BaseException);
  EXPECT_EQ(err.text(), " -> output format <XDMF> not valid\n");
}

TEST_F(ResultsDriver, LaterInvalidEntryStopsBeforeAnyFileIsWritten) {
  auto results = driver({"xdmf", "csv"});
  StreamCapture err(std::cerr);
  EXPECT_THROW(results->exportResults(0, dir.file("out.xdmf")), BaseException);
  EXPECT_EQ(err.text(), " -> output format <csv> not valid\n");
  EXPECT_FALSE(std::filesystem::exists(dir.file("out_aux.h5")));
  EXPECT_FALSE(std::filesystem::exists(dir.file("out.xdmf")));
}

TEST_F(ResultsDriver, EntryWithoutFormatReportsTheItemThenAnEmptyName) {
  writeFile(dir.file("cfg.json"), R"({"RESULTS": {"EXPORT": [{"kind": "xdmf"}]}})");
  StreamCapture out(std::cout);
  std::unique_ptr<api::IResults> results(createResults(dir.file("cfg.json"), dir.file("run.h5")));
  StreamCapture err(std::cerr);
  EXPECT_THROW(results->exportResults(0, dir.file("out.xdmf")), BaseException);
  EXPECT_EQ(err.text(), " -> path <RESULTS/EXPORT[0]/format> not found.\n -> output format <> not valid\n");
}
