#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <stdexcept>

#include "dataio/hdf5/H5Reader.hpp"
#include "dataio/hdf5/H5Writer.hpp"
#include "h5/H5Exceptions.hpp"
#include "support/ExceptionText.hpp"
#include "support/FailureReport.hpp"
#include "support/H5TestFile.hpp"
#include "support/StoredDatasets.hpp"
#include "support/TempDir.hpp"

namespace {

using testing_support::checkedSourceLine;
using testing_support::exceptionText;
using testing_support::failureReport;
using testing_support::storageOffset;

class H5WriterTest : public ::testing::Test {
 protected:

  testing_support::TempDir dir;
  std::string name = dir.file("aux.h5");
  std::unique_ptr<api::IH5Writer> writer{dataio::createH5Writer(name)};

  // Closes the writer and opens the file for reading.
  std::unique_ptr<dataio::H5Reader> written() {
    writer->close();
    return std::make_unique<dataio::H5Reader>(name);
  }
};

TEST_F(H5WriterTest, DoubleArrayCreatesGroupDatasetAndSize) {
  writer->writeDoubleArray("velocity/0", {{1, 2}, {3, 4}, {5, 6}});
  const auto reader = written();
  EXPECT_EQ(reader->getNrObjects("velocity"), 1);
  EXPECT_EQ(reader->readDoubleArray("velocity/0"), (std::vector<std::vector<double>>{{1, 2}, {3, 4}, {5, 6}}));
  EXPECT_EQ(reader->readIntAttribute("velocity/0", "size"), 6);
}

TEST_F(H5WriterTest, SameShapeOverwrites) {
  writer->writeDoubleArray("velocity/0", {{1, 2}, {3, 4}, {5, 6}});
  writer->writeDoubleArray("velocity/0", {{6, 5}, {4, 3}, {2, 1}});
  EXPECT_EQ(written()->readColumn("velocity/0", 0), (std::vector<double>{6, 4, 2}));
}

TEST_F(H5WriterTest, OtherExtentDoesNotMatch) {
  writer->writeDoubleArray("velocity/0", {{1, 2}, {3, 4}, {5, 6}});
  const std::string report = failureReport([&] { writer->writeDoubleArray("velocity/0", {{1, 2}, {3, 4}, {5, 6}, {7, 8}}); });
  EXPECT_EQ(report.rfind(" -> dimensions do not match, in file: src/dataio/hdf5/H5Writer.cpp on line ", 0), 0u) << report;
  EXPECT_NE(checkedSourceLine(report).find("RESULTS_CHECK(d.at(ii) == dims.at(ii), "), std::string::npos);
}

TEST_F(H5WriterTest, OtherRankDoesNotMatch) {
  writer->writeDoubleArray("velocity/0", {{1, 2}, {3, 4}, {5, 6}});
  const std::string report = failureReport([&] { writer->writeDouble("velocity/0", 1.0); });
  EXPECT_EQ(report.rfind(" -> dimensions do not match, in file: src/dataio/hdf5/H5Writer.cpp on line ", 0), 0u) << report;
  EXPECT_NE(checkedSourceLine(report).find("RESULTS_CHECK(d.size() == dims.size(), "), std::string::npos);
}

TEST_F(H5WriterTest, SingleValuesAreOneValueDatasets) {
  writer->writeDouble("Parameters/MinWaterDepth", 0.001);
  writer->writeInt("count", 42);
  const auto reader = written();
  EXPECT_EQ(reader->readDouble("Parameters/MinWaterDepth"), 0.001);
  EXPECT_EQ(reader->readInt("count"), 42);
  EXPECT_EQ(reader->readIntAttribute("count", "size"), 1);
  EXPECT_EQ(reader->readIntAttribute("Parameters/MinWaterDepth", "size"), 1);
}

TEST_F(H5WriterTest, BuffersAndIntArrays) {
  const std::vector<double> values{1, 2, 3, 4, 5, 6};
  writer->writeDoubleBuffer("a/b/c", 2, 3, values.data());
  const std::vector<int> ints{1, 2, 3, 4};
  writer->writeIntBuffer("ints", 4, 1, ints.data());
  writer->writeIntArray("Topology", {{0, 1, 2}, {2, 1, 3}});
  const auto reader = written();
  api::DoubleTable table;
  reader->readDoubleTable("a/b/c", table);
  EXPECT_EQ(table.values, values);
  EXPECT_EQ(reader->readIntAttribute("a/b/c", "size"), 6);
  EXPECT_EQ(reader->readIntArray("ints"), (std::vector<std::vector<int>>{{1}, {2}, {3}, {4}}));
  EXPECT_EQ(reader->readIntArray("Topology"), (std::vector<std::vector<int>>{{0, 1, 2}, {2, 1, 3}}));
  EXPECT_EQ(reader->readIntAttribute("Topology", "size"), 6);
}

TEST_F(H5WriterTest, RaggedRowsAreRefusedBeforeAnythingIsWritten) {
  EXPECT_EQ(exceptionText([&] { writer->writeIntArray("t", {{1, 2}, {3}}); }),
            "Mismatch between vector size (1) and dataset size (2) on dimension 1");
  EXPECT_THROW(writer->writeDoubleArray("t", {{1.0}, {2.0, 3.0}}), h5::DataSetException);
  EXPECT_THROW(writer->writeDoubleArray("t", {}), std::out_of_range);
  EXPECT_FALSE(writer->exist("t"));
}

TEST_F(H5WriterTest, NegativeBufferDimensionsAreRefused) {
  const int value = 1;
  EXPECT_EQ(failureReport([&] { writer->writeIntBuffer("n", -2, 1, &value); })
                .rfind(" -> negative dimensions for dataset <n>, in file: src/dataio/hdf5/H5Writer.cpp on line ", 0),
            0u);
  EXPECT_FALSE(writer->exist("n"));
}

TEST_F(H5WriterTest, RowsAreWrittenInRunsIntoADatasetOfFullSize) {
  const std::vector<double> first{1, 2, 3, 4};
  const std::vector<double> last{5, 6};
  {
    const auto rows = writer->createRows("velocity/3", 3, 2);
    EXPECT_TRUE(writer->exist("velocity/3"));
    rows->write(0, 2, first.data());
    rows->write(2, 1, last.data());
  }
  const auto reader = written();
  EXPECT_EQ(reader->readDoubleArray("velocity/3"), (std::vector<std::vector<double>>{{1, 2}, {3, 4}, {5, 6}}));
  EXPECT_EQ(reader->readIntAttribute("velocity/3", "size"), 6);
}

// The attribute comes with the first write, as with a whole-dataset write;
// a dataset without values gets it at once.
TEST_F(H5WriterTest, RowsGetTheirSizeWithTheFirstWrite) {
  const std::vector<double> values{1, 2, 3};
  const auto rows = writer->createRows("speed/0", 3, 1);
  EXPECT_EQ(writer->readIntAttribute("speed/0", "size"), 0);  // a missing attribute reads as 0
  rows->write(1, 2, values.data());
  EXPECT_EQ(writer->readIntAttribute("speed/0", "size"), 3);
  rows->write(0, 1, values.data());
  EXPECT_EQ(writer->readIntAttribute("speed/0", "size"), 3);
  writer->createRows("empty/0", 0, 2);
  EXPECT_EQ(writer->readIntAttribute("empty/0", "size"), 0);
}

TEST_F(H5WriterTest, RowsReuseADatasetOfTheSameShapeOnly) {
  writer->writeDoubleArray("velocity/0", {{1, 2}, {3, 4}});
  const std::vector<double> values{9, 8};
  writer->createRows("velocity/0", 2, 2)->write(1, 1, values.data());
  const std::string report = failureReport([&] { writer->createRows("velocity/0", 3, 2); });
  EXPECT_EQ(report.rfind(" -> dimensions do not match, in file: src/dataio/hdf5/H5Writer.cpp on line ", 0), 0u) << report;
  EXPECT_EQ(failureReport([&] { writer->createRows("n", 1, -2); })
                .rfind(" -> negative dimensions for dataset <n>, in file: src/dataio/hdf5/H5Writer.cpp on line ", 0),
            0u);
  EXPECT_FALSE(writer->exist("n"));
  EXPECT_EQ(written()->readDoubleArray("velocity/0"), (std::vector<std::vector<double>>{{1, 2}, {9, 8}}));
}

// Two datasets written slice by slice, the first slice of each in turn, lie
// where writing each whole, one after the other, puts them.
TEST_F(H5WriterTest, RowsWrittenInSlicesTakeTheLayoutOfWholeWrites) {
  const std::vector<double> a{1, 2, 3, 4, 5, 6, 7, 8};
  const std::vector<double> b{8, 7, 6, 5};
  writer->writeDoubleBuffer("a/0", 4, 2, a.data());
  writer->writeDoubleBuffer("b/0", 4, 1, b.data());
  writer->close();
  const std::string sliced = dir.file("sliced.h5");
  {
    std::unique_ptr<api::IH5Writer> other(dataio::createH5Writer(sliced));
    const auto rowsA = other->createRows("a/0", 4, 2);
    rowsA->write(0, 3, a.data());
    const auto rowsB = other->createRows("b/0", 4, 1);
    rowsB->write(0, 3, b.data());
    rowsA->write(3, 1, a.data() + 6);
    rowsB->write(3, 1, b.data() + 3);
  }
  for (const char* path : {"a/0", "b/0"}) EXPECT_EQ(storageOffset(name, path), storageOffset(sliced, path)) << path;
  EXPECT_EQ(std::filesystem::file_size(name), std::filesystem::file_size(sliced));
  EXPECT_EQ(dataio::H5Reader(sliced).readDoubleArray("a/0"), dataio::H5Reader(name).readDoubleArray("a/0"));
}

TEST_F(H5WriterTest, Strings) {
  writer->writeStrings("names", "ignored", {"water_depth", "velocity", "bed"});
  writer->writeStrings("none", "", {});
  const auto reader = written();
  EXPECT_EQ(reader->readStrings("names"), (std::vector<std::string>{"water_depth", "velocity", "bed"}));
  EXPECT_EQ(reader->readIntAttribute("names", "size"), 3);
  EXPECT_EQ(reader->readIntAttribute("none", "size"), 0);
}

TEST_F(H5WriterTest, ConstructionEmptiesAnExistingFile) {
  writer->close();
  testing_support::H5TestFile(name).doubles("old", {1}, {1.0});
  writer.reset(dataio::createH5Writer(name));
  EXPECT_FALSE(writer->exist("old"));
}

TEST_F(H5WriterTest, WritesAfterCloseFailCleanly) {
  writer->writeInt("kept", 1);
  writer->close();
  EXPECT_EQ(exceptionText([&] { writer->writeInt("late", 2); }), "Unable to use the closed file " + name);
  EXPECT_THROW(writer->close(), h5::FileException);
  writer.reset();
  EXPECT_EQ(dataio::H5Reader(name).readInt("kept"), 1);
}

}  // namespace
