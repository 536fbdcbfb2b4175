#include <gtest/gtest.h>

#include <memory>

#include "dataio/hdf5/ResultReader.hpp"
#include "results/stored/ReferenceCheck.hpp"
#include "support/FailureReport.hpp"
#include "support/H5TestFile.hpp"
#include "support/TempDir.hpp"

using testing_support::failureReport;
using testing_support::H5TestFile;

// A results file of two cells, whose step datasets each break one rule.
class ReferenceCheck : public ::testing::Test {
 protected:
  void SetUp() override {
    {
      H5TestFile file(name);
      file.group("/RESULTS");
      file.doubles("/RESULTS/good", {2, 3}, {1, 2, 3, 4, 5, 6});
      file.doubles("/RESULTS/wide", {2, 4}, {1, 2, 3, 4, 5, 6, 7, 8});
      file.ints("/RESULTS/integers", {2, 1}, {1, 2});
      file.doubles("/RESULTS/rows", {10, 3}, std::vector<double>(30, 1.0));
      file.doubles("/RESULTS/flat", {2}, {1, 2});
      const char* texts[2] = {"a", "b"};
      const hid_t type = H5Tcopy(H5T_C_S1);
      H5Tset_size(type, H5T_VARIABLE);
      const hsize_t dims[2] = {2, 1};
      const hid_t space = H5Screate_simple(2, dims, nullptr);
      const hid_t set = H5Dcreate2(file.id(), "/RESULTS/texts", type, space, H5P_DEFAULT, H5P_DEFAULT, H5P_DEFAULT);
      H5Dwrite(set, type, H5S_ALL, H5S_ALL, H5P_DEFAULT, texts);
      H5Dclose(set);
      H5Sclose(space);
      H5Tclose(type);
    }
    reader.reset(dataio::createResultReader(name));
    check = std::make_unique<results::ReferenceCheck>(*reader, 2);
  }

  std::string reportOf(const std::string& path, int column) {
    return failureReport([&] { check->require(path, column, "water_surface", 12.5); });
  }
  std::string line(const std::string& path, const std::string& rest) const {
    return " -> dataset <" + path + "> read by <water_surface> at t = 12.5 s" + rest + "\n";
  }

  testing_support::TempDir dir;
  const std::string name = dir.file("run.h5");
  std::unique_ptr<api::IResultReader> reader;
  std::unique_ptr<results::ReferenceCheck> check;
};

TEST_F(ReferenceCheck, DatasetsOfOneRowPerCellWithTheColumnPass) {
  EXPECT_EQ(reportOf("/RESULTS/good", 2), "no BaseException");
  EXPECT_EQ(reportOf("/RESULTS/wide", 0), "no BaseException");
  EXPECT_EQ(reportOf("/RESULTS/integers", 0), "no BaseException");
  // The document declares each as it is stored.
  EXPECT_EQ(check->columnsOf("/RESULTS/good"), 3);
  EXPECT_EQ(check->columnsOf("/RESULTS/wide"), 4);
}

TEST_F(ReferenceCheck, EachBrokenRuleIsOneLineNamingTheDatasetAndTheTime) {
  EXPECT_EQ(reportOf("/RESULTS/absent/0000003", 0),
            line("/RESULTS/absent/0000003", " is not in the results file <" + name + ">"));
  const std::string inFile = " in file <" + name + ">: ";
  EXPECT_EQ(reportOf("/RESULTS/rows", 0), line("/RESULTS/rows", inFile + "expected 2 rows (one per cell), found 10 rows"));
  EXPECT_EQ(reportOf("/RESULTS/good", 3), line("/RESULTS/good", inFile + "expected at least 4 columns, found 3 columns"));
  EXPECT_EQ(reportOf("/RESULTS/integers", 1),
            line("/RESULTS/integers", inFile + "expected at least 2 columns, found 1 column"));
  EXPECT_EQ(reportOf("/RESULTS/flat", 0),
            line("/RESULTS/flat", inFile + "expected a two-dimensional dataset, found one of rank 1"));
  EXPECT_EQ(reportOf("/RESULTS/texts", 0), line("/RESULTS/texts", inFile + "expected numbers, found strings"));
}

TEST_F(ReferenceCheck, OnlyPassedDatasetsHaveADeclaredShape) {
  reportOf("/RESULTS/rows", 0);
  const std::string report = failureReport([&] { check->columnsOf("/RESULTS/rows"); });
  EXPECT_EQ(report.rfind(" -> a dataset is checked before the document declares it, in file: ", 0), 0u) << report;
}
