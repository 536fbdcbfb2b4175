#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>

#include "dataio/hdf5/H5Base.hpp"
#include "dataio/hdf5/H5Reader.hpp"
#include "dataio/hdf5/H5Writer.hpp"
#include "dataio/hdf5/ResultReader.hpp"
#include "h5/H5Exceptions.hpp"
#include "support/BinaryRun.hpp"
#include "support/ExceptionText.hpp"
#include "support/FailureReport.hpp"
#include "support/H5TestFile.hpp"
#include "support/StoredDatasets.hpp"
#include "support/TempDir.hpp"

namespace {

using dataio::resultStepPath;
using testing_support::exceptionText;
using testing_support::failureReport;
using testing_support::H5TestFile;
using testing_support::readStoredDataset;
using testing_support::storageOffset;

const std::string hyd = "CellsAll/HydState";
const std::string bed = "CellsAll/BedState";

class H5ReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    H5TestFile input(name);
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
    input.strings(".config/model", {"{", "}", ""});
    input.doubleAttribute("table", "t", 1.5, 2);
    input.stringAttribute("table", "size", "six");
    input.intAttribute("table", "count", 6);
    H5TestFile(run).group("/RESULTS");
  }
  std::unique_ptr<api::IResultReader> results() {
    return std::unique_ptr<api::IResultReader>(dataio::createResultReader(run));
  }
  // Step objects of one data path in the results file, each a 2 x 1 dataset
  // with its time "t".
  void steps(const std::string& dataPath, const std::vector<double>& times, int first = 0) {
    H5TestFile file(run, H5TestFile::Opening::Edit);
    for (std::size_t ii = 0; ii < times.size(); ++ii) {
      const std::string path = resultStepPath(dataPath, first + static_cast<int>(ii));
      file.doubles(path, {2, 1}, {1.0, 2.0});
      file.doubleAttribute(path, "t", times[ii]);
    }
  }

  testing_support::TempDir dir;
  std::string name = dir.file("reader.h5");
  std::string written = dir.file("aux.h5");
  std::unique_ptr<api::IH5Writer> writer{dataio::createH5Writer(written)};
  std::string run = dir.file("run.h5");
};

using H5BaseTest = H5ReaderTest;
using H5WriterTest = H5ReaderTest;
using ResultReaderTest = H5ReaderTest;

// A table read reuses the storage it is given and takes the new shape.
TEST_F(H5ReaderTest, ValuesInRowOrder) {
  dataio::H5Reader reader(name);
  EXPECT_EQ(reader.readDouble("one"), 2.5);
  EXPECT_EQ(reader.readInt("oneInt"), 7);
  EXPECT_EQ(reader.readIntArray("ints"), (std::vector<std::vector<int>>{{1, 2, 3}, {4, 5, 6}}));
  EXPECT_EQ(reader.readDoubleArray("square"), (std::vector<std::vector<double>>{{1.0}}));
  EXPECT_EQ(reader.readColumn("table", 0), (std::vector<double>{1, 4, 7}));
  EXPECT_EQ(reader.readColumn("table", 2), (std::vector<double>{3, 6, 9}));
  EXPECT_TRUE(reader.readColumn("noRows", 1).empty());
  EXPECT_EQ(reader.readStrings(".config/model"), (std::vector<std::string>{"{", "}", ""}));
  api::DoubleTable table{7, 7, std::vector<double>(100, -1.0)};
  const double* storage = table.values.data();
  reader.readDoubleTable("table", table);
  EXPECT_EQ(table.values.data(), storage);
  EXPECT_EQ(std::make_pair(table.rows, table.columns), std::make_pair(3, 3));
  EXPECT_EQ(table.values, (std::vector<double>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
  reader.readDoubleTable("one", table);
  EXPECT_EQ(table.columns, 0);
  EXPECT_TRUE(table.values.empty());
}

// A 1 x 1 table is not one value, a column index equal to the column count
// is beyond the table, and rank 0 fits no shape.
TEST_F(H5ReaderTest, ShapesThatDoNotFitTheReadAreRefused) {
  dataio::H5Reader reader(name);
  api::DoubleTable table;
  const struct {
    std::function<void()> read;
    std::string report;
  } cases[] = {
      {[&] { reader.readDouble("square"); }, "non-scalar dataset <square>!"},
      {[&] { reader.readInt("vector"); }, "non-scalar dataset <vector>!"},
      {[&] { reader.readDouble("scalar"); }, "non-scalar dataset <scalar>!"},
      {[&] { reader.readDoubleArray("vector"); }, "dataset <vector> not 2-dimensional!"},
      {[&] { reader.readDoubleTable("noRows", table); }, "dataset <noRows> not 2-dimensional!"},
      {[&] { reader.readColumn("table", 3); }, "dataset <table> does not contain column 3!"},
      {[&] { reader.readColumn("table", -1); }, "dataset <table> does not contain column -1!"},
      {[&] { reader.readStrings("scalar"); }, "dataset <scalar> not a 1-d array!"},
      {[&] { reader.readStrings("vector"); },
       "dataset <vector> in file <" + name + "> holds no text but values of another type"},
  };
  for (const auto& c : cases) EXPECT_EQ(failureReport(c.read), " -> " + c.report + "\n");
}

// Extents beyond the int shapes would wrap: 2^32 + 2 rows would read as 2;
// they are given as stored by the dataset's info, which reads nothing.
TEST_F(H5ReaderTest, ExtentsBeyondIntAreRefusedToReads) {
  dataio::H5Reader reader(name);
  EXPECT_EQ(exceptionText([&] { reader.readColumn("tall", 0); }),
            "Impossible to use the dataset \"tall\" of extent 4294967298 beyond 2147483647");
  EXPECT_THROW(reader.openRows("cube"), h5::DataSpaceException);
  EXPECT_EQ(reader.getDatasetInfo("ints").valueClass, api::ValueClass::Integer);
  const api::DatasetInfo tall = reader.getDatasetInfo("tall");
  EXPECT_EQ(tall.extents, (std::vector<unsigned long long>{(1ull << 32) + 2, 3}));
  EXPECT_EQ(tall.valueClass, api::ValueClass::Float);
  EXPECT_EQ(reader.getDatasetInfo("scalar").extents, std::vector<unsigned long long>{});
  EXPECT_EQ(reader.getDatasetInfo(".config/model").valueClass, api::ValueClass::String);
}

// Values that the file does not hold for a contiguous dataset (never written,
// or a dataspace that damage made larger) are refused before any room is
// made for them.
TEST_F(H5ReaderTest, DeclaredValuesTheFileDoesNotHoldAreDamage) {
  const std::string damaged = dir.file("damaged.h5");
  {
    H5TestFile file(damaged);
    file.unwritten("declared", {4, 3});
    file.doubles("written", {4, 3}, std::vector<double>(12, 1.0));
    file.doubles("grown", {4951, 1}, std::vector<double>(4951, 1.0));
  }
  // Damage triples the rows that "grown" declares: its 39608 stored bytes
  // hold 4951 of the 14853 values, though more than 14853 bytes. The file
  // stores extents little-endian, as this host does.
  const auto bytesOf = [](std::uint64_t value) { return std::string(reinterpret_cast<const char*>(&value), 8); };
  std::string bytes = testing_support::readFile(damaged);
  for (auto at = bytes.find(bytesOf(4951)); at != std::string::npos; at = bytes.find(bytesOf(4951), at))
    bytes.replace(at, 8, bytesOf(3 * 4951));
  testing_support::writeFile(damaged, bytes);
  dataio::H5Reader reader(damaged);
  const auto report = [&](const std::string& dataset) {
    return " -> the results file <" + damaged + "> is damaged: dataset <" + dataset +
           "> declares more values than the file holds for it\n";
  };
  EXPECT_EQ(failureReport([&] { reader.readDoubleArray("declared"); }), report("declared"));
  EXPECT_EQ(failureReport([&] { reader.readColumn("declared", 1); }), report("declared"));
  api::DoubleTable table;
  ASSERT_EQ(reader.getDatasetInfo("grown").extents, (std::vector<unsigned long long>{3 * 4951, 1}));
  EXPECT_EQ(failureReport([&] { reader.readDoubleTable("grown", table); }), report("grown"));
  EXPECT_EQ(reader.readColumn("written", 1), std::vector<double>(4, 1.0));
}

TEST_F(H5ReaderTest, RowsAreReadInRunsWithEveryColumn) {
  dataio::H5Reader reader(name);
  EXPECT_EQ(reader.openRows("vector")->columns(), 0);
  const auto rows = reader.openRows("table");
  EXPECT_EQ(std::make_pair(rows->rows(), rows->columns()), std::make_pair(3, 3));
  std::vector<double> values(6, -1.0);
  rows->read(1, 2, values.data());
  EXPECT_EQ(values, (std::vector<double>{4, 5, 6, 7, 8, 9}));
  rows->read(0, 1, values.data());
  rows->read(3, 0, values.data());
  EXPECT_EQ(values, (std::vector<double>{1, 2, 3, 7, 8, 9}));
  const std::string report = failureReport([&] { rows->read(2, 2, values.data()); });
  EXPECT_EQ(report.rfind(" -> rows 2 to 4 are not within the 3 rows of dataset <table>, in file: ", 0), 0u) << report;
}

// The attribute calls that the reader and the writer share. A missing
// attribute reads as a default; a string "size" or a "t" of two values is
// seen for what it is, without a conversion that would fail or pick one value.
TEST_F(H5BaseTest, AttributesReadAsDefaultsWhenMissingAndAsStored) {
  {
    dataio::H5Base base(name, "rw");
    EXPECT_EQ(base.readIntAttribute("/one", "size"), 0);
    EXPECT_EQ(base.readDoubleAttribute("/one", "t"), 2.2250738585072014e-308);
    base.writeAttribute("one", "size", 6);
    base.writeAttribute("/one", "t", 12.5);
  }
  dataio::H5Base base(name, "r");
  EXPECT_EQ(base.readIntAttribute("/one", "size"), 6);
  EXPECT_EQ(base.readDoubleAttribute("one", "t"), 12.5);
  EXPECT_EQ(base.getNrObjects("/none/deeper"), -1);
  EXPECT_EQ(base.getNrObjects("/.config"), 1);
  const struct {
    const char* attribute;
    api::ValueClass valueClass;
    unsigned long long values;
  } cases[] = {
      {"size", api::ValueClass::String, 1}, {"t", api::ValueClass::Float, 2}, {"count", api::ValueClass::Integer, 1}};
  for (const auto& c : cases) {
    const auto info = base.getAttributeInfo("table", c.attribute);
    ASSERT_TRUE(info) << c.attribute;
    EXPECT_EQ(std::make_pair(info->valueClass, info->values), std::make_pair(c.valueClass, c.values)) << c.attribute;
  }
  EXPECT_FALSE(base.getAttributeInfo("/table", "absent"));
}

// Every dataset carries its number of values as "size"; the stored extents
// and values are read back with the HDF5 library itself.
TEST_F(H5WriterTest, EveryFormCreatesItsGroupsTheDatasetAndItsSize) {
  writer->writeDoubleArray("velocity/0", {{1, 2}, {3, 4}, {5, 6}});
  writer->writeDouble("Parameters/MinWaterDepth", 0.001);
  writer->writeInt("count", 42);
  const std::vector<double> values{1, 2, 3, 4, 5, 6};
  writer->writeDoubleBuffer("a/b/c", 2, 3, values.data());
  writer->writeIntBuffer("ints", 4, 1, std::vector<int>{1, 2, 3, 4}.data());
  writer->writeIntArray("Topology", {{0, 1, 2}, {2, 1, 3}});
  writer->writeStrings("names", "ignored", {"water_depth", "velocity", "bed"});
  writer->writeStrings("none", "", {});
  writer->close();
  const struct {
    const char* path;
    std::vector<hsize_t> dims;
    std::vector<double> values;
  } cases[] = {{"velocity/0", {3, 2}, values}, {"Parameters/MinWaterDepth", {1}, {0.001}},
               {"count", {1}, {42}},           {"a/b/c", {2, 3}, values},
               {"ints", {4, 1}, {1, 2, 3, 4}}, {"Topology", {2, 3}, {0, 1, 2, 2, 1, 3}}};
  for (const auto& c : cases) {
    const testing_support::StoredDataset stored = readStoredDataset(written, c.path);
    EXPECT_EQ(stored.dims, c.dims) << c.path;
    EXPECT_EQ(stored.values, c.values) << c.path;
    EXPECT_EQ(stored.size, static_cast<int>(c.values.size())) << c.path;
  }
  dataio::H5Reader reader(written);
  EXPECT_EQ(reader.readStrings("names"), (std::vector<std::string>{"water_depth", "velocity", "bed"}));
  EXPECT_EQ(reader.readIntAttribute("names", "size"), 3);
  EXPECT_EQ(reader.readIntAttribute("none", "size"), 0);
}

// A dataset of the same shape is overwritten, whole or by rows; any other
// shape is a failure.
TEST_F(H5WriterTest, SameShapeOverwritesAndOtherShapesAreRefused) {
  writer->writeDoubleArray("velocity/0", {{1, 2}, {3, 4}, {5, 6}});
  const std::string mismatch = " -> dimensions do not match, in file: src/dataio/hdf5/H5Writer.cpp on line ";
  EXPECT_EQ(failureReport([&] { writer->writeDouble("velocity/0", 1.0); }).rfind(mismatch, 0), 0u);
  EXPECT_EQ(failureReport([&] { writer->createRows("velocity/0", 4, 2); }).rfind(mismatch, 0), 0u);
  writer->writeDoubleArray("velocity/0", {{6, 5}, {4, 3}, {2, 1}});
  const std::vector<double> row{9, 8};
  writer->createRows("velocity/0", 3, 2)->write(1, 1, row.data());
  writer->close();
  EXPECT_EQ(readStoredDataset(written, "velocity/0").values, (std::vector<double>{6, 5, 9, 8, 2, 1}));
}

// The "size" comes with the first write, as with a whole-dataset write; a
// dataset without values gets it at once.
TEST_F(H5WriterTest, RowsAreWrittenInRunsIntoADatasetOfFullSize) {
  const std::vector<double> values{1, 2, 3, 4, 5, 6};
  {
    const auto rows = writer->createRows("velocity/3", 3, 2);
    EXPECT_EQ(writer->readIntAttribute("velocity/3", "size"), 0);  // a missing attribute reads as 0
    rows->write(2, 1, values.data() + 4);
    EXPECT_EQ(writer->readIntAttribute("velocity/3", "size"), 6);
    rows->write(0, 2, values.data());
  }
  writer->createRows("empty/0", 0, 2);
  EXPECT_EQ(writer->readIntAttribute("empty/0", "size"), 0);
  writer->close();
  EXPECT_EQ(readStoredDataset(written, "velocity/3").values, values);
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
  for (const char* path : {"a/0", "b/0"}) EXPECT_EQ(storageOffset(written, path), storageOffset(sliced, path)) << path;
  EXPECT_EQ(std::filesystem::file_size(written), std::filesystem::file_size(sliced));
}

TEST_F(H5WriterTest, ConstructionEmptiesAnExistingFile) {
  writer->close();
  H5TestFile(written).doubles("old", {1}, {1.0});
  writer.reset(dataio::createH5Writer(written));
  EXPECT_FALSE(writer->exist("old"));
}

// Negative times are no times of the run: they are not listed.
TEST_F(ResultReaderTest, StepTimesAreListedInOrderFromStepZero) {
  EXPECT_EQ(dataio::resultGroupPath(hyd), "/RESULTS/CellsAll/HydState");
  EXPECT_EQ(resultStepPath(hyd, 12345678), "/RESULTS/CellsAll/HydState/12345678");
  const std::string longPath(300, 'x');
  EXPECT_EQ(resultStepPath(longPath, 3), "/RESULTS/" + longPath + "/0000003");
  steps(hyd, {10.0, 0.0, 20.0});
  steps(bed, {10.0, -0.0, 20.0});
  EXPECT_EQ(results()->getTimes({hyd, bed}, true), (api::TimeTable{{0.0, 1}, {10.0, 0}, {20.0, 2}}));
  EXPECT_EQ(results()->collectTimes({hyd, hyd}), (api::TimeIndex{{0.0, {1, 1}}, {10.0, {0, 0}}, {20.0, {2, 2}}}));
  EXPECT_TRUE(results()->getTimes({}, true).empty());
  EXPECT_TRUE(results()->getTimes({"Missing/Path", "Other"}, true).empty());
  EXPECT_TRUE(results()->collectTimes({"Missing/Path"}).empty());
  steps("CellsAll/Listed", {-1.0, 0.0, 12.5, 3600.0});
  testing::internal::CaptureStdout();
  results()->printTimes({"CellsAll/Listed"});
  EXPECT_EQ(testing::internal::GetCapturedStdout(), " -> t[s]: 0\n -> t[s]: 12.5\n -> t[s]: 3600\n");
}

TEST_F(ResultReaderTest, PathsMustAgreeOnTheirStepsAndTheCheckOnEveryTime) {
  steps(hyd, {0.0, 10.0, 30.0});
  steps(bed, {0.0, 10.0});
  steps("CellsAll/Other", {0.0, 5.0, 10.0});
  const std::string report = failureReport([&] { results()->getTimes({hyd, bed}, true); });
  EXPECT_EQ(
      report.rfind(" -> not all needed results are found for t=30s, in file: src/dataio/hdf5/ResultReader.cpp", 0), 0u)
      << report;
  EXPECT_EQ(results()->getTimes({hyd, bed}, false), (api::TimeTable{{0.0, 0}, {10.0, 1}, {30.0, 2}}));
  const std::string corrupt = failureReport([&] { results()->getTimes({hyd, "CellsAll/Other"}, false); });
  EXPECT_EQ(corrupt, " -> corrupt result file! the time t = 10 s belongs to step 1 and to step 2\n");
}

TEST_F(ResultReaderTest, FindTimeIndexRoundsToThePrecision) {
  steps(hyd, {0.0, 10.0, 20.0});
  const auto timeline = results();
  const struct {
    double time;
    int precision;
    int index;
  } cases[] = {{10.004, 2, 1}, {10.006, 2, -1}, {10.4, 0, 1}, {19.6, 0, 2},
               {15.0, 0, -1},  {10.0, -1, -1},  {10.0, 9, 1}};
  for (const auto& c : cases)
    EXPECT_EQ(timeline->findTimeIndex({hyd}, c.time, c.precision), c.index) << c.time << " " << c.precision;
  EXPECT_EQ(failureReport([&] { timeline->findTimeIndex({hyd}, 10.0, 10); }),
            " -> time precision of 10 decimal places is beyond the supported 9!\n");
}

// An infinite time would be written as "inf", which no reader takes for a time.
TEST_F(ResultReaderTest, BrokenStepsAreRefusedByName) {
  H5TestFile(run, H5TestFile::Opening::Edit).doubles(resultStepPath(hyd, 0), {1}, {0.0});
  steps(bed, {std::nan("")});
  steps("CellsAll/Rising", {0.0, HUGE_VAL});
  steps("CellsAll/Gap", {0.0});
  steps("CellsAll/Gap", {20.0}, 2);
  const auto refusal = [&](const std::string& path, int step, const std::string& what) {
    EXPECT_EQ(failureReport([&] { results()->collectTimes({path}); }),
              " -> time step <" + resultStepPath(path, step) + "> in file <" + run + "> has " + what + "!\n");
  };
  refusal(hyd, 0, "no attribute t");
  refusal(bed, 0, "no valid time");
  refusal("CellsAll/Rising", 1, "no valid time");
  EXPECT_EQ(failureReport([&] { results()->getTimes({"CellsAll/Gap"}, false); })
                .rfind(" -> cannot read attribute to dataset <" + resultStepPath("CellsAll/Gap", 1) + "> in file <" +
                           run + ">, in file: src/dataio/hdf5/H5Base.cpp on line ",
                       0),
            0u);
}

// Told in the user's words before the library opens the file; a file cut
// short by a third is told by its size against its superblock's. A missing
// file or a folder is the binary's tests' matter.
TEST_F(ResultReaderTest, FilesThatAreNoResultsFilesFailCleanly) {
  const std::string file = " -> HDF5 file <" + run + "> ";
  steps(hyd, std::vector<double>(50, 1.0));
  const std::string whole = testing_support::readFile(run);
  testing_support::writeFile(run, "plain text");
  EXPECT_EQ(failureReport([&] { results(); }), file + "is not an HDF5 file: it holds no HDF5 signature\n");
  testing_support::writeFile(run, whole.substr(0, whole.size() / 3));
  EXPECT_EQ(failureReport([&] { results(); }), file + "is cut short: it holds " + std::to_string(whole.size() / 3) +
                                                   " bytes of the " + std::to_string(whole.size()) +
                                                   " its HDF5 superblock declares\n");
  // Behind a user block of 512 bytes the signature and the addresses count
  // from the block's end.
  testing_support::writeFile(run, std::string(512, 'u') + whole);
  EXPECT_EQ(failureReport([&] { results(); }), "no BaseException");
}

TEST_F(ResultReaderTest, ResultsFileIsReadAsTheLibraryStoresItAndNeverWritten) {
  steps(hyd, {0.0});
  EXPECT_THROW(results()->writeAttribute(resultStepPath(hyd, 0), "new", 5), h5::AttributeException);
  H5TestFile(run).doubles(dataio::resultGroupPath(hyd), {1}, {0.0});
  EXPECT_THROW(results()->getTimes({hyd}, true), h5::GroupException);
}

}  // namespace
