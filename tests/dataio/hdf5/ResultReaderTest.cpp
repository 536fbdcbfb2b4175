#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "dataio/hdf5/ResultReader.hpp"
#include "h5/H5Exceptions.hpp"
#include "support/BinaryRun.hpp"
#include "support/ExceptionText.hpp"
#include "support/FailureReport.hpp"
#include "support/H5TestFile.hpp"
#include "support/TempDir.hpp"

namespace {

using testing_support::checkedSourceLine;
using testing_support::failureReport;
using testing_support::H5TestFile;
using dataio::resultStepPath;

const std::string hyd = "CellsAll/HydState";
const std::string bed = "CellsAll/BedState";

// Step objects of one data path, each a 2 x 1 dataset with its time "t".
void addSteps(H5TestFile& file, const std::string& dataPath, const std::vector<double>& times, int first = 0) {
  for (std::size_t ii = 0; ii < times.size(); ++ii) {
    const std::string path = resultStepPath(dataPath, first + static_cast<int>(ii));
    file.doubles(path, {2, 1}, {1.0, 2.0});
    file.doubleAttribute(path, "t", times[ii]);
  }
}

class ResultReaderTest : public ::testing::Test {
 protected:
  testing_support::TempDir dir;
  std::string name = dir.file("run.h5");

  std::unique_ptr<api::IResultReader> reader() {
    return std::unique_ptr<api::IResultReader>(dataio::createResultReader(name));
  }
};

TEST(ResultPaths, GroupAndZeroPaddedStep) {
  EXPECT_EQ(dataio::resultGroupPath(hyd), "/RESULTS/CellsAll/HydState");
  EXPECT_EQ(resultStepPath(hyd, 0), "/RESULTS/CellsAll/HydState/0000000");
  EXPECT_EQ(resultStepPath(hyd, 42), "/RESULTS/CellsAll/HydState/0000042");
  EXPECT_EQ(resultStepPath(hyd, 12345678), "/RESULTS/CellsAll/HydState/12345678");
  EXPECT_EQ(resultStepPath(hyd, -5), "/RESULTS/CellsAll/HydState/-000005");
  const std::string longPath(300, 'x');
  EXPECT_EQ(resultStepPath(longPath, 3), "/RESULTS/" + longPath + "/0000003");
}

TEST_F(ResultReaderTest, OnePathGivesItsTimesInOrder) {
  {
    H5TestFile file(name);
    addSteps(file, hyd, {10.0, 0.0, 20.0});
  }
  EXPECT_EQ(reader()->getTimes({hyd}, true), (api::TimeTable{{0.0, 1}, {10.0, 0}, {20.0, 2}}));
  EXPECT_EQ(reader()->collectTimes({hyd, hyd}), (api::TimeIndex{{0.0, {1, 1}}, {10.0, {0, 0}}, {20.0, {2, 2}}}));
}

TEST_F(ResultReaderTest, AgreeingPathsShareTheStep) {
  {
    H5TestFile file(name);
    addSteps(file, hyd, {0.0, 10.0});
    addSteps(file, bed, {-0.0, 10.0});
  }
  EXPECT_EQ(reader()->getTimes({hyd, bed}, true), (api::TimeTable{{0.0, 0}, {10.0, 1}}));
}

TEST_F(ResultReaderTest, DisagreeingStepsAreACorruptFile) {
  {
    H5TestFile file(name);
    addSteps(file, hyd, {0.0, 10.0});
    addSteps(file, bed, {0.0, 5.0, 10.0});
  }
  EXPECT_EQ(failureReport([&] { reader()->getTimes({hyd, bed}, false); }),
            " -> corrupt result file! the time t = 10 s belongs to step 1 and to step 2\n");
}

TEST_F(ResultReaderTest, CheckRequiresEveryPathToHoldEveryTime) {
  {
    H5TestFile file(name);
    addSteps(file, hyd, {0.0, 10.0, 30.0});
    addSteps(file, bed, {0.0, 10.0});
  }
  const std::string report = failureReport([&] { reader()->getTimes({hyd, bed}, true); });
  EXPECT_EQ(report.rfind(" -> not all needed results are found for t=30s, in file: src/dataio/hdf5/ResultReader.cpp on line ", 0),
            0u)
      << report;
  EXPECT_NE(checkedSourceLine(report).find("RESULTS_CHECK(it.second.size() == paths.size(), "), std::string::npos);
  EXPECT_EQ(reader()->getTimes({hyd, bed}, false), (api::TimeTable{{0.0, 0}, {10.0, 1}, {30.0, 2}}));
  EXPECT_NE(failureReport([&] { reader()->getTimes({hyd, "Missing/Path"}, true); })
                .find("not all needed results are found for t=0s"),
            std::string::npos);
}

TEST_F(ResultReaderTest, NoPathsOrMissingGroupsGiveAnEmptyTable) {
  H5TestFile(name).group("/RESULTS");
  EXPECT_TRUE(reader()->getTimes({}, true).empty());
  EXPECT_TRUE(reader()->getTimes({"Missing/Path", "Other"}, true).empty());
  EXPECT_TRUE(reader()->collectTimes({"Missing/Path"}).empty());
}

TEST_F(ResultReaderTest, FindTimeIndexRoundsToThePrecision) {
  {
    H5TestFile file(name);
    addSteps(file, hyd, {0.0, 10.0, 20.0});
  }
  const auto results = reader();
  EXPECT_EQ(results->findTimeIndex({hyd}, 10.004, 2), 1);
  EXPECT_EQ(results->findTimeIndex({hyd}, 10.006, 2), -1);
  EXPECT_EQ(results->findTimeIndex({hyd}, 10.4, 0), 1);
  EXPECT_EQ(results->findTimeIndex({hyd}, 19.6, 0), 2);
  EXPECT_EQ(results->findTimeIndex({hyd}, 15.0, 0), -1);
  EXPECT_EQ(results->findTimeIndex({hyd}, 10.0, -1), -1);
  EXPECT_EQ(results->findTimeIndex({hyd}, 10.0, 9), 1);
}

TEST_F(ResultReaderTest, FindTimeIndexRefusesPrecisionsBeyondNine) {
  {
    H5TestFile file(name);
    addSteps(file, hyd, {10.0});
  }
  EXPECT_EQ(failureReport([&] { reader()->findTimeIndex({hyd}, 10.0, 10); }),
            " -> time precision of 10 decimal places is beyond the supported 9!\n");
}

TEST_F(ResultReaderTest, PrintTimesSkipsNegativeTimes) {
  {
    H5TestFile file(name);
    addSteps(file, hyd, {-1.0, 0.0, 12.5, 3600.0});
  }
  testing::internal::CaptureStdout();
  reader()->printTimes({hyd});
  EXPECT_EQ(testing::internal::GetCapturedStdout(), " -> t[s]: 0\n -> t[s]: 12.5\n -> t[s]: 3600\n");
}

TEST_F(ResultReaderTest, GapInTheNumberingFailsTheAttributeCheck) {
  {
    H5TestFile file(name);
    addSteps(file, hyd, {0.0});
    addSteps(file, hyd, {20.0}, 2);
  }
  EXPECT_EQ(failureReport([&] { reader()->getTimes({hyd}, false); })
                .rfind(" -> cannot read attribute to dataset <" + resultStepPath(hyd, 1) + "> in file <" + name +
                           ">, in file: src/dataio/hdf5/H5Base.cpp on line ",
                       0),
            0u);
}

TEST_F(ResultReaderTest, StepsWithoutAValidTimeAreRefused) {
  {
    H5TestFile file(name);
    file.doubles(resultStepPath(hyd, 0), {1}, {0.0});
    addSteps(file, bed, {std::nan("")});
    addSteps(file, "CellsAll/Rising", {0.0, HUGE_VAL});
    addSteps(file, "CellsAll/Falling", {-HUGE_VAL});
  }
  EXPECT_EQ(failureReport([&] { reader()->collectTimes({hyd}); }),
            " -> time step <" + resultStepPath(hyd, 0) + "> in file <" + name + "> has no attribute t!\n");
  EXPECT_EQ(failureReport([&] { reader()->collectTimes({bed}); }),
            " -> time step <" + resultStepPath(bed, 0) + "> in file <" + name + "> has no valid time!\n");
  // An infinite time would be written as "inf", which no reader takes for a time.
  EXPECT_EQ(failureReport([&] { reader()->collectTimes({"CellsAll/Rising"}); }),
            " -> time step <" + resultStepPath("CellsAll/Rising", 1) + "> in file <" + name +
                "> has no valid time!\n");
  EXPECT_EQ(failureReport([&] { reader()->collectTimes({"CellsAll/Falling"}); }),
            " -> time step <" + resultStepPath("CellsAll/Falling", 0) + "> in file <" + name +
                "> has no valid time!\n");
}

TEST_F(ResultReaderTest, LongDataPathsWork) {
  const std::string longPath = std::string(200, 'g') + "/" + std::string(100, 'd');
  {
    H5TestFile file(name);
    addSteps(file, longPath, {0.5, 1.5});
  }
  EXPECT_EQ(reader()->getTimes({longPath}, true), (api::TimeTable{{0.5, 0}, {1.5, 1}}));
}

TEST_F(ResultReaderTest, ResultsFileIsNeverModified) {
  {
    H5TestFile file(name);
    addSteps(file, hyd, {0.0, 10.0});
  }
  const std::string before = testing_support::readFile(name);
  {
    const auto results = reader();
    results->getTimes({hyd}, true);
    results->findTimeIndex({hyd}, 10.0, 2);
    testing::internal::CaptureStdout();
    results->printTimes({hyd});
    testing::internal::GetCapturedStdout();
    results->readColumn(resultStepPath(hyd, 1), 0);
    api::DoubleTable table;
    results->readDoubleTable(resultStepPath(hyd, 1), table);
    results->readDoubleAttribute(resultStepPath(hyd, 0), "t");
    results->readIntAttribute(resultStepPath(hyd, 0), "size");
    results->getNrObjects("/RESULTS");
    results->exist("/RESULTS/none");
    EXPECT_THROW(results->writeAttribute(resultStepPath(hyd, 0), "t", 5.0), h5::AttributeException);
    EXPECT_THROW(results->writeAttribute(resultStepPath(hyd, 0), "new", 5), h5::AttributeException);
  }
  EXPECT_EQ(testing_support::readFile(name), before);
}

// Told in the user's words before the library opens the file; a file cut
// short by a third is told by its size against its superblock's.
TEST_F(ResultReaderTest, FilesThatAreNoResultsFilesFailCleanly) {
  const std::string file = "HDF5 file <" + name + "> ";
  EXPECT_EQ(failureReport([&] { reader(); }), " -> " + file + "does not exist\n");
  testing_support::writeFile(name, "plain text");
  EXPECT_EQ(failureReport([&] { reader(); }), " -> " + file + "is not an HDF5 file: it holds no HDF5 signature\n");
  EXPECT_EQ(failureReport([&] { dataio::createResultReader(dir.path()); }),
            " -> HDF5 file <" + dir.path() + "> is a folder\n");
  {
    H5TestFile h5(name);
    addSteps(h5, hyd, std::vector<double>(50, 1.0));
  }
  const std::string whole = testing_support::readFile(name);
  const std::string held = std::to_string(whole.size() / 3);
  testing_support::writeFile(name, whole.substr(0, whole.size() / 3));
  EXPECT_EQ(failureReport([&] { reader(); }), " -> " + file + "is cut short: it holds " + held + " bytes of the " +
                                                  std::to_string(whole.size()) + " its HDF5 superblock declares\n");
  // Behind a user block of 512 bytes the signature and the addresses count
  // from the block's end.
  testing_support::writeFile(name, std::string(512, 'u') + whole);
  EXPECT_EQ(failureReport([&] { std::unique_ptr<api::IResultReader>(dataio::createResultReader(name)); }),
            "no BaseException");
}

TEST_F(ResultReaderTest, ResultGroupThatIsADatasetIsALibraryFailure) {
  H5TestFile(name).doubles(dataio::resultGroupPath(hyd), {1}, {0.0});
  EXPECT_THROW(reader()->getTimes({hyd}, true), h5::GroupException);
}

}  // namespace
