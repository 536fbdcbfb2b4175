#include <gtest/gtest.h>

#include <memory>

#include "dataio/hdf5/ResultReader.hpp"
#include "results/stored/ReferenceCheck.hpp"
#include "support/FailureReport.hpp"
#include "support/H5TestFile.hpp"
#include "support/TempDir.hpp"

using testing_support::failureReport;

// A results file of two cells, whose step datasets each break one rule.
class ReferenceCheck : public ::testing::Test {
 protected:
  void SetUp() override {
    {
      testing_support::H5TestFile file(name);
      file.group("/RESULTS");
      file.doubles("/RESULTS/good", {2, 3}, {1, 2, 3, 4, 5, 6});
      file.doubles("/RESULTS/wide", {2, 4}, {1, 2, 3, 4, 5, 6, 7, 8});
      file.ints("/RESULTS/integers", {2, 1}, {1, 2});
      file.doubles("/RESULTS/rows", {10, 3}, std::vector<double>(30, 1.0));
      file.doubles("/RESULTS/flat", {2}, {1, 2});
    }
    reader.reset(dataio::createResultReader(name));
    check = std::make_unique<results::ReferenceCheck>(*reader, 2);
  }

  std::string reportOf(const std::string& path, int column) {
    return failureReport([&] { check->require(path, column, "water_surface", 12.5); });
  }

  testing_support::TempDir dir;
  const std::string name = dir.file("run.h5");
  std::unique_ptr<api::IResultReader> reader;
  std::unique_ptr<results::ReferenceCheck> check;
};

// The document declares each passed dataset as it is stored, and no other; a refused one is one line naming it.
TEST_F(ReferenceCheck, OnlyDatasetsWithTheColumnPass) {
  const std::pair<const char*, int> passing[] = {{"/RESULTS/good", 2}, {"/RESULTS/wide", 0}, {"/RESULTS/integers", 0}};
  for (const auto& [path, column] : passing) EXPECT_EQ(reportOf(path, column), "no BaseException") << path;
  EXPECT_EQ(check->columnsOf("/RESULTS/good"), 3);
  EXPECT_EQ(check->columnsOf("/RESULTS/wide"), 4);
  reportOf("/RESULTS/rows", 0);
  const std::string report = failureReport([&] { check->columnsOf("/RESULTS/rows"); });
  EXPECT_EQ(report.rfind(" -> a dataset is checked before the document declares it, in file: ", 0), 0u) << report;
  // Each broken rule is one line naming the dataset and the time.
  const auto refusal = [&](const std::string& path, const std::string& expected) {
    return " -> dataset <" + path + "> read by <water_surface> at t = 12.5 s in file <" + name + ">: expected " +
           expected + "\n";
  };
  EXPECT_EQ(reportOf("/RESULTS/good", 3), refusal("/RESULTS/good", "at least 4 columns, found 3 columns"));
  EXPECT_EQ(reportOf("/RESULTS/integers", 1), refusal("/RESULTS/integers", "at least 2 columns, found 1 column"));
  EXPECT_EQ(reportOf("/RESULTS/flat", 0), refusal("/RESULTS/flat", "a two-dimensional dataset, found one of rank 1"));
}
