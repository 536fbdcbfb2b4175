#include <gtest/gtest.h>

#include <cstdint>

#include "dataio/hdf5/H5Reader.hpp"
#include "h5/H5Exceptions.hpp"
#include "support/BinaryRun.hpp"
#include "support/ExceptionText.hpp"
#include "support/FailureReport.hpp"
#include "support/H5TestFile.hpp"
#include "support/TempDir.hpp"

namespace {

using testing_support::exceptionText;
using testing_support::failureReport;

class H5ReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing_support::H5TestFile input(name);
    input.doubles("one", {1}, {2.5});
    input.ints("oneInt", {1}, {7});
    input.doubles("square", {1, 1}, {1.0});
    input.doubles("vector", {5}, {1, 2, 3, 4, 5});
    input.doubles("table", {3, 3}, {1, 2, 3, 4, 5, 6, 7, 8, 9});
    input.ints("ints", {2, 3}, {1, 2, 3, 4, 5, 6});
    input.doubles("noRows", {0, 3}, {});
    input.doubles("cube", {2, 2, 2}, {1, 2, 3, 4, 5, 6, 7, 8});
    input.scalarDouble("scalar", 1.0);
    input.unwritten("tall", {(1ull << 32) + 2, 3});
    input.unwritten("long", {(1ull << 32) + 1});
    input.strings(".config/model", {"{", "}", ""});
  }

  testing_support::TempDir dir;
  std::string name = dir.file("reader.h5");
};

TEST_F(H5ReaderTest, OneValueDatasets) {
  dataio::H5Reader reader(name);
  EXPECT_EQ(reader.readDouble("one"), 2.5);
  EXPECT_EQ(reader.readInt("oneInt"), 7);
  EXPECT_EQ(reader.readDouble("oneInt"), 7.0);
  EXPECT_EQ(failureReport([&] { reader.readDouble("square"); }), " -> non-scalar dataset <square>!\n");
  EXPECT_EQ(failureReport([&] { reader.readInt("vector"); }), " -> non-scalar dataset <vector>!\n");
}

// Extents beyond the int shapes are given as stored: nothing is read.
TEST_F(H5ReaderTest, DatasetInfoGivesExtentsAndValueClass) {
  dataio::H5Reader reader(name);
  const api::DatasetInfo ints = reader.getDatasetInfo("ints");
  EXPECT_EQ(ints.extents, (std::vector<unsigned long long>{2, 3}));
  EXPECT_EQ(ints.valueClass, api::ValueClass::Integer);
  const api::DatasetInfo tall = reader.getDatasetInfo("tall");
  EXPECT_EQ(tall.extents, (std::vector<unsigned long long>{(1ull << 32) + 2, 3}));
  EXPECT_EQ(tall.valueClass, api::ValueClass::Float);
  EXPECT_EQ(reader.getDatasetInfo("scalar").extents, std::vector<unsigned long long>{});
  const api::DatasetInfo texts = reader.getDatasetInfo(".config/model");
  EXPECT_EQ(texts.extents, std::vector<unsigned long long>{3});
  EXPECT_EQ(texts.valueClass, api::ValueClass::String);
  EXPECT_EQ(exceptionText([&] { reader.getDatasetInfo("absent"); }).rfind("Unable to open the dataset \"absent\": ", 0),
            0u);
}

// Values that the file does not hold for a contiguous dataset (never written,
// or a dataspace that damage made larger) are refused before any room is
// made for them.
TEST_F(H5ReaderTest, DeclaredValuesTheFileDoesNotHoldAreDamage) {
  const std::string damaged = dir.file("damaged.h5");
  {
    testing_support::H5TestFile file(damaged);
    file.unwritten("declared", {4, 3});
    file.doubles("written", {4, 3}, std::vector<double>(12, 1.0));
    file.doubles("grown", {4951, 1}, std::vector<double>(4951, 1.0));
  }
  // Damage triples the rows that "grown" declares: its 39608 stored bytes
  // hold 4951 of the 14853 values, though more than 14853 bytes.
  std::string bytes = testing_support::readFile(damaged);
  const auto littleEndian = [](std::uint64_t value) {
    std::string text(8, '\0');
    for (int k = 0; k < 8; ++k) text[static_cast<std::size_t>(k)] = static_cast<char>((value >> (8 * k)) & 0xff);
    return text;
  };
  int patched = 0;
  for (std::size_t at = bytes.find(littleEndian(4951)); at != std::string::npos; at = bytes.find(littleEndian(4951), at)) {
    bytes.replace(at, 8, littleEndian(3 * 4951));
    ++patched;
  }
  ASSERT_GE(patched, 1);
  testing_support::writeFile(damaged, bytes);
  dataio::H5Reader reader(damaged);
  const std::string report = " -> the results file <" + damaged +
                             "> is damaged: dataset <declared> declares more values than the file holds for it\n";
  api::DoubleTable table;
  EXPECT_EQ(failureReport([&] { reader.readDoubleArray("declared"); }), report);
  EXPECT_EQ(failureReport([&] { reader.readIntArray("declared"); }), report);
  EXPECT_EQ(failureReport([&] { reader.readDoubleTable("declared", table); }), report);
  EXPECT_EQ(failureReport([&] { reader.readColumn("declared", 1); }), report);
  ASSERT_EQ(reader.getDatasetInfo("grown").extents, (std::vector<unsigned long long>{3 * 4951, 1}));
  EXPECT_EQ(failureReport([&] { reader.readDoubleTable("grown", table); }),
            " -> the results file <" + damaged + "> is damaged: dataset <grown> declares more values than the file "
            "holds for it\n");
  EXPECT_EQ(reader.readColumn("written", 1), std::vector<double>(4, 1.0));
}

TEST_F(H5ReaderTest, TwoDimensionalArrays) {
  dataio::H5Reader reader(name);
  EXPECT_EQ(reader.readIntArray("ints"), (std::vector<std::vector<int>>{{1, 2, 3}, {4, 5, 6}}));
  EXPECT_EQ(reader.readDoubleArray("ints"), (std::vector<std::vector<double>>{{1, 2, 3}, {4, 5, 6}}));
  EXPECT_EQ(reader.readDoubleArray("square"), (std::vector<std::vector<double>>{{1.0}}));
  EXPECT_EQ(failureReport([&] { reader.readDoubleArray("vector"); }), " -> dataset <vector> not 2-dimensional!\n");
  EXPECT_EQ(failureReport([&] { reader.readIntArray("noRows"); }), " -> dataset <noRows> not 2-dimensional!\n");
  EXPECT_THROW(reader.readDoubleArray("cube"), h5::DataSpaceException);
}

TEST_F(H5ReaderTest, DoubleTableInRowOrder) {
  dataio::H5Reader reader(name);
  api::DoubleTable table;
  reader.readDoubleTable("ints", table);
  EXPECT_EQ(table.rows, 2);
  EXPECT_EQ(table.columns, 3);
  EXPECT_EQ(table.values, (std::vector<double>{1, 2, 3, 4, 5, 6}));
  reader.readDoubleTable("one", table);
  EXPECT_EQ(table.columns, 0);
  EXPECT_TRUE(table.values.empty());
  EXPECT_EQ(failureReport([&] { reader.readDoubleTable("noRows", table); }), " -> dataset <noRows> not 2-dimensional!\n");
  EXPECT_THROW(reader.readDoubleTable("cube", table), h5::DataSpaceException);
}

TEST_F(H5ReaderTest, DoubleTableReusesItsStorageAndTakesTheNewShape) {
  dataio::H5Reader reader(name);
  api::DoubleTable table{7, 7, std::vector<double>(100, -1.0)};
  const double* storage = table.values.data();
  reader.readDoubleTable("table", table);
  EXPECT_EQ(table.values.data(), storage);
  EXPECT_EQ(table.rows, 3);
  EXPECT_EQ(table.columns, 3);
  EXPECT_EQ(table.values, (std::vector<double>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
}

TEST_F(H5ReaderTest, RowsAreReadInRunsWithEveryColumn) {
  dataio::H5Reader reader(name);
  const auto rows = reader.openRows("table");
  EXPECT_EQ(rows->rows(), 3);
  EXPECT_EQ(rows->columns(), 3);
  std::vector<double> values(6, -1.0);
  rows->read(1, 2, values.data());
  EXPECT_EQ(values, (std::vector<double>{4, 5, 6, 7, 8, 9}));
  rows->read(0, 1, values.data());
  EXPECT_EQ(values, (std::vector<double>{1, 2, 3, 7, 8, 9}));
  rows->read(3, 0, values.data());
  EXPECT_EQ(values, (std::vector<double>{1, 2, 3, 7, 8, 9}));
}

// The checks of a table read, before any value is read.
TEST_F(H5ReaderTest, RowsOpenWithTheChecksOfATableRead) {
  dataio::H5Reader reader(name);
  EXPECT_EQ(reader.openRows("ints")->columns(), 3);
  const auto vector = reader.openRows("vector");
  EXPECT_EQ(vector->rows(), 5);
  EXPECT_EQ(vector->columns(), 0);
  EXPECT_EQ(failureReport([&] { reader.openRows("noRows"); }), " -> dataset <noRows> not 2-dimensional!\n");
  EXPECT_THROW(reader.openRows("cube"), h5::DataSpaceException);
  EXPECT_THROW(reader.openRows("tall"), h5::DataSpaceException);
  EXPECT_EQ(exceptionText([&] { reader.openRows("none"); }).rfind("Unable to open the dataset \"none\": (", 0), 0u);
}

TEST_F(H5ReaderTest, RowsBeyondTheDatasetAreRefused) {
  dataio::H5Reader reader(name);
  const auto rows = reader.openRows("table");
  std::vector<double> values(12);
  for (const auto& [first, count] : std::vector<std::pair<int, int>>{{2, 2}, {-1, 1}, {0, -1}, {4, 0}}) {
    EXPECT_EQ(failureReport([&] { rows->read(first, count, values.data()); })
                  .rfind(" -> rows " + std::to_string(first) + " to " + std::to_string(first + count) +
                             " are not within the 3 rows of dataset <table>, in file: src/dataio/hdf5/H5Rows.cpp on line ",
                         0),
              0u)
        << first << " " << count;
  }
}

TEST_F(H5ReaderTest, Columns) {
  dataio::H5Reader reader(name);
  EXPECT_EQ(reader.readColumn("table", 0), (std::vector<double>{1, 4, 7}));
  EXPECT_EQ(reader.readColumn("table", 2), (std::vector<double>{3, 6, 9}));
  EXPECT_TRUE(reader.readColumn("noRows", 1).empty());
  EXPECT_EQ(failureReport([&] { reader.readColumn("table", 3); }), " -> dataset <table> does not contain column 3!\n");
  EXPECT_EQ(failureReport([&] { reader.readColumn("table", -1); }), " -> dataset <table> does not contain column -1!\n");
  EXPECT_EQ(failureReport([&] { reader.readColumn("vector", 0); }), " -> dataset <vector> does not contain column 0!\n");
  EXPECT_THROW(reader.readColumn("cube", 1), h5::DataSpaceException);
}

TEST_F(H5ReaderTest, Strings) {
  dataio::H5Reader reader(name);
  EXPECT_EQ(reader.readStrings(".config/model"), (std::vector<std::string>{"{", "}", ""}));
  EXPECT_EQ(failureReport([&] { reader.readStrings("vector"); }),
            " -> dataset <vector> in file <" + name + "> holds no text but values of another type\n");
  EXPECT_THROW(reader.readStrings("table"), h5::DataSpaceException);
}

TEST_F(H5ReaderTest, RankZeroFailsEveryShapeCheck) {
  dataio::H5Reader reader(name);
  EXPECT_EQ(failureReport([&] { reader.readDouble("scalar"); }), " -> non-scalar dataset <scalar>!\n");
  EXPECT_EQ(failureReport([&] { reader.readIntArray("scalar"); }), " -> dataset <scalar> not 2-dimensional!\n");
  EXPECT_EQ(failureReport([&] { reader.readStrings("scalar"); }), " -> dataset <scalar> not a 1-d array!\n");
  EXPECT_EQ(failureReport([&] { reader.readColumn("scalar", 0); }), " -> dataset <scalar> does not contain column 0!\n");
}

// Extents beyond the int shapes would wrap: 2^32 + 2 rows would read as 2.
TEST_F(H5ReaderTest, ExtentsBeyondIntAreRefused) {
  dataio::H5Reader reader(name);
  EXPECT_EQ(exceptionText([&] { reader.readColumn("tall", 0); }),
            "Impossible to use the dataset \"tall\" of extent 4294967298 beyond 2147483647");
  api::DoubleTable table;
  EXPECT_THROW(reader.readDoubleTable("tall", table), h5::DataSpaceException);
  EXPECT_THROW(reader.readDouble("long"), h5::DataSpaceException);
  EXPECT_THROW(reader.readStrings("long"), h5::DataSpaceException);
}

TEST_F(H5ReaderTest, MissingDatasetIsALibraryFailure) {
  dataio::H5Reader reader(name);
  EXPECT_EQ(exceptionText([&] { reader.readDouble("none"); }).rfind("Unable to open the dataset \"none\": (", 0), 0u);
  EXPECT_THROW(reader.readColumn("/missing/group/x", 0), h5::DataSetException);
}

TEST_F(H5ReaderTest, OpensReadOnly) {
  dataio::H5Reader reader(name);
  EXPECT_THROW(reader.writeAttribute("one", "size", 1), h5::AttributeException);
}

}  // namespace
