#include "dataio/hdf5/H5Reader.hpp"

#include <limits>
#include <utility>

#include "dataio/hdf5/H5Rows.hpp"
#include "dataio/hdf5/HdfFileCheck.hpp"
#include "h5/H5Calls.hpp"
#include "h5/H5Data.hpp"
#include "interfaces/Failure.hpp"
#include "interfaces/InputFile.hpp"

namespace dataio {
namespace {

// rows: the first extent (0 for rank 0); columns: the second (0 below rank 2).
struct Shape {
  int rows = 0;
  int columns = 0;
};

// A larger extent would wrap in the int shapes: 2^32 + 2 rows would pass as 2.
int shapeExtent(h5::Extent extent, const std::string& path) {
  constexpr int largest = std::numeric_limits<int>::max();
  if (extent > static_cast<h5::Extent>(largest))
    throw h5::DataSpaceException("Impossible to use the dataset \"" + path + "\" of extent " +
                                 std::to_string(extent) + " beyond " + std::to_string(largest));
  return static_cast<int>(extent);
}

Shape shapeOf(const std::vector<h5::Extent>& dimensions, const std::string& path) {
  Shape shape;
  if (!dimensions.empty()) shape.rows = shapeExtent(dimensions[0], path);
  if (dimensions.size() >= 2) shape.columns = shapeExtent(dimensions[1], path);
  return shape;
}

template <typename T>
T readOneValue(const h5::DataSetHandle& dataSet, const std::string& path) {
  const std::vector<h5::Extent> dimensions = h5::dimensionsOf(dataSet, path);
  const Shape shape = shapeOf(dimensions, path);
  if (shape.rows != 1 || shape.columns != 0) failure::fail("non-scalar dataset <", path, ">!");
  h5::requireRank(dimensions, 1, path);
  return h5::readValues<T>(dataSet, path).front();
}

template <typename T>
struct Table {
  Shape shape;
  std::vector<T> values;  // row order
};

Shape twoDimensionalShape(const h5::DataSetHandle& dataSet, const std::string& path) {
  const std::vector<h5::Extent> dimensions = h5::dimensionsOf(dataSet, path);
  const Shape shape = shapeOf(dimensions, path);
  if (shape.rows < 1 || shape.columns < 1) failure::fail("dataset <", path, "> not 2-dimensional!");
  h5::requireRank(dimensions, 2, path);
  return shape;
}

// A dataset without columns is no failure here: the caller reports the column
// it misses, as a column read would.
Shape tableShape(const h5::DataSetHandle& dataSet, const std::string& path) {
  const Shape shape = shapeOf(h5::dimensionsOf(dataSet, path), path);
  if (shape.columns >= 1) twoDimensionalShape(dataSet, path);
  return shape;
}

// Checked before any buffer is made for the values.
void requireStoredValues(const h5::DataSetHandle& dataSet, const std::string& path, const std::string& fileName) {
  if (h5::declaresMoreThanStored(dataSet, path))
    failure::fail("the results file <", fileName, "> is damaged: dataset <", path,
                  "> declares more values than the file holds for it");
}

template <typename T>
Table<T> readTable(const h5::DataSetHandle& dataSet, const std::string& path, const std::string& fileName) {
  const Shape shape = twoDimensionalShape(dataSet, path);
  requireStoredValues(dataSet, path, fileName);
  return {shape, h5::readValues<T>(dataSet, path)};
}

template <typename T>
std::vector<std::vector<T>> rowsOf(const Table<T>& table) {
  std::vector<std::vector<T>> rows;
  rows.reserve(static_cast<std::size_t>(table.shape.rows));
  for (auto row = table.values.begin(); row != table.values.end(); row += table.shape.columns)
    rows.emplace_back(row, row + table.shape.columns);
  return rows;
}

// Checked before the base opens the file, which would wait on a FIFO.
const std::string& regularFile(const std::string& fileName) {
  requireReadableHdfFile(fileName);
  return fileName;
}

}  // namespace

H5Reader::H5Reader(const std::string& fileName) : H5Base(regularFile(fileName), "r") {}

api::IH5Reader* createH5Reader(const std::string& fileName) { return new H5Reader(fileName); }

int H5Reader::readInt(const std::string& path) {
  const h5::ReadScope scope = reading(path);
  return readOneValue<int>(openDataSet(path), path);
}

double H5Reader::readDouble(const std::string& path) {
  const h5::ReadScope scope = reading(path);
  return readOneValue<double>(openDataSet(path), path);
}

std::vector<std::vector<int>> H5Reader::readIntArray(const std::string& path) {
  const h5::ReadScope scope = reading(path);
  return rowsOf(readTable<int>(openDataSet(path), path, getFileName()));
}

std::vector<std::vector<double>> H5Reader::readDoubleArray(const std::string& path) {
  const h5::ReadScope scope = reading(path);
  return rowsOf(readTable<double>(openDataSet(path), path, getFileName()));
}

void H5Reader::readDoubleTable(const std::string& path, api::DoubleTable& table) {
  const h5::ReadScope scope = reading(path);
  const h5::DataSetHandle dataSet = openDataSet(path);
  const Shape shape = tableShape(dataSet, path);
  if (shape.columns < 1) {
    table.values.clear();
  } else {
    requireStoredValues(dataSet, path, getFileName());
    h5::readValues(dataSet, path, table.values);
  }
  table.rows = shape.rows;
  table.columns = shape.columns;
}

std::unique_ptr<api::IRowReader> H5Reader::openRows(const std::string& path) {
  const h5::ReadScope scope = reading(path);
  h5::DataSetHandle dataSet = openDataSet(path);
  const Shape shape = tableShape(dataSet, path);
  if (shape.columns >= 1) requireStoredValues(dataSet, path, getFileName());
  return std::make_unique<H5RowReader>(std::move(dataSet), getFileName(), path, shape.rows, shape.columns,
                                       isReadOnly());
}

std::uint64_t H5Reader::getBytesRead() const { return h5::bytesRead(); }

api::DatasetInfo H5Reader::getDatasetInfo(const std::string& path) {
  const h5::ReadScope scope = reading(path);
  const h5::DataSetHandle dataSet = openDataSet(path);
  const std::vector<h5::Extent> dimensions = h5::dimensionsOf(dataSet, path);
  return {std::vector<unsigned long long>(dimensions.begin(), dimensions.end()),
          valueClassOf(h5::typeClassOf(dataSet, path))};
}

std::vector<std::string> H5Reader::readStrings(const std::string& path) {
  const h5::ReadScope scope = reading(path);
  const h5::DataSetHandle dataSet = openDataSet(path);
  const std::vector<h5::Extent> dimensions = h5::dimensionsOf(dataSet, path);
  const Shape shape = shapeOf(dimensions, path);
  if (shape.rows + shape.columns < 1) failure::fail("dataset <", path, "> not a 1-d array!");
  h5::requireRank(dimensions, 1, path);
  if (h5::typeClassOf(h5::dataSetType(dataSet, path)) != h5::TypeClass::String)
    failure::fail("dataset <", path, "> in file <", getFileName(), "> holds no text but values of another type");
  requireStoredValues(dataSet, path, getFileName());
  return h5::readStrings(dataSet, path);
}

std::vector<double> H5Reader::readColumn(const std::string& path, int column) {
  const h5::ReadScope scope = reading(path);
  const h5::DataSetHandle dataSet = openDataSet(path);
  const Shape shape = shapeOf(h5::dimensionsOf(dataSet, path), path);
  const int n = shape.rows;
  if (column < 0 || column >= shape.columns)
    failure::fail("dataset <", path, "> does not contain column ", column, "!");
  requireStoredValues(dataSet, path, getFileName());
  const std::vector<std::vector<double>> slice = h5::readColumnSlice(
      dataSet, path, static_cast<h5::Extent>(n), static_cast<h5::Extent>(column));
  RESULTS_CHECK(static_cast<int>(slice.size()) == n, "the number of slice rows is incorrect");
  std::vector<double> values;
  values.reserve(slice.size());
  for (const std::vector<double>& x : slice) {
    RESULTS_CHECK(static_cast<int>(x.size()) == 1, "the number of slice columns is incorrect");
    values.push_back(x.front());
  }
  return values;
}

}  // namespace dataio
