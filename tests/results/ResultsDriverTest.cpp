// The driver's format list, which the configuration schema keeps the binary from reaching with other names.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "interfaces/Failure.hpp"
#include "results/Results.hpp"
#include "support/BinaryRun.hpp"
#include "support/CerrCapture.hpp"
#include "support/ResultsFileMaker.hpp"
#include "support/TempDir.hpp"

using namespace testing_support;

// A later invalid entry stops the run before the first entry's files are written.
TEST(ResultsDriver, AFormatNameOutsideTheListIsNotValid) {
  TempDir dir;
  {
    ResultsFileMaker file(dir.file("run.h5"));
    file.archive(hydraulicsModelText(), {"water_surface"});
    file.unitSquareMesh();
    file.step("RESULTS/CellsAll/HydState/0000000", 0.0, 2, 3, {2, 0, 0, 2, 0, 0});
  }
  writeFile(dir.file("cfg.json"), configurationText({"xdmf", "csv"}));
  std::unique_ptr<api::IResults> results;
  {
    StreamCapture out(std::cout);
    results.reset(createResults(dir.file("cfg.json"), dir.file("run.h5")));
  }
  StreamCapture err(std::cerr);
  EXPECT_THROW(results->exportResults(0, dir.file("out.xdmf")), BaseException);
  EXPECT_EQ(err.text(), " -> output format <csv> not valid\n");
  EXPECT_FALSE(std::filesystem::exists(dir.file("out_aux.h5")));
  EXPECT_FALSE(std::filesystem::exists(dir.file("out.xdmf")));
}
