#include "dataio/hdf5/H5Writer.hpp"

#include "dataio/hdf5/H5Rows.hpp"
#include "h5/H5Calls.hpp"
#include "h5/H5Data.hpp"
#include "h5/H5Types.hpp"
#include "interfaces/Failure.hpp"

namespace dataio {

H5Writer::H5Writer(const std::string& fileName) : H5Base(fileName, "w") {}

api::IH5Writer* createH5Writer(const std::string& fileName) { return new H5Writer(fileName); }

h5::DataSetHandle H5Writer::dataSetFor(const std::string& path, const std::vector<h5::Extent>& dims,
                                       const h5::DataTypeHandle& storedType) {
  createGroupOf(path);
  if (!exist(path)) return h5::createDataSet(fileId(), path, storedType, h5::createSimpleSpace(dims));
  h5::DataSetHandle dataSet = openDataSet(path);
  const std::vector<h5::Extent> d = h5::dimensionsOf(dataSet, path);
  RESULTS_CHECK(d.size() == dims.size(), "dimensions do not match");
  for (std::size_t ii = 0; ii < d.size(); ++ii) RESULTS_CHECK(d.at(ii) == dims.at(ii), "dimensions do not match");
  return dataSet;
}

template <typename T>
void H5Writer::writeBuffer(const std::string& path, int rows, int columns, const T* data) {
  // Negative extents would become huge unsigned ones and the write would run
  // far past the caller's buffer.
  RESULTS_CHECK(rows >= 0 && columns >= 0, "negative dimensions for dataset <", path, ">");
  const std::vector<h5::Extent> dims{static_cast<h5::Extent>(rows), static_cast<h5::Extent>(columns)};
  h5::writeValues(dataSetFor(path, dims, h5::nativeTypeOf<T>()), data, path);
  writeAttribute(path, "size", rows * columns);
}

// Packed before the dataset is made, so that ragged rows leave nothing behind.
template <typename T>
void H5Writer::writeNested(const std::string& path, const std::vector<std::vector<T>>& data) {
  const std::size_t columns = data.at(0).size();
  const std::vector<T> packed = h5::packRows(data, columns);
  writeBuffer(path, static_cast<int>(data.size()), static_cast<int>(columns), packed.data());
}

// A single value is a one-dimensional dataset of one element.
template <typename T>
void H5Writer::writeSingle(const std::string& path, const T& value) {
  h5::writeValues(dataSetFor(path, {1}, h5::nativeTypeOf<T>()), &value, path);
  writeAttribute(path, "size", 1);
}

void H5Writer::writeInt(const std::string& path, const int& value) { writeSingle(path, value); }

void H5Writer::writeDouble(const std::string& path, const double& value) { writeSingle(path, value); }

void H5Writer::writeIntArray(const std::string& path, const std::vector<std::vector<int>>& data) {
  writeNested(path, data);
}

void H5Writer::writeDoubleArray(const std::string& path, const std::vector<std::vector<double>>& data) {
  writeNested(path, data);
}

void H5Writer::writeIntBuffer(const std::string& path, const int& rows, const int& columns, const int* data) {
  writeBuffer(path, rows, columns, data);
}

void H5Writer::writeDoubleBuffer(const std::string& path, const int& rows, const int& columns,
                                 const double* data) {
  writeBuffer(path, rows, columns, data);
}

void H5Writer::writeStrings(const std::string& path, const std::string& /*tag*/,
                            const std::vector<std::string>& data) {
  h5::writeStrings(dataSetFor(path, {data.size()}, h5::utf8StringType()), data, path);
  writeAttribute(path, "size", static_cast<int>(data.size()));
}

std::unique_ptr<api::IRowWriter> H5Writer::createRows(const std::string& path, const int& rows, const int& columns) {
  RESULTS_CHECK(rows >= 0 && columns >= 0, "negative dimensions for dataset <", path, ">");
  const std::vector<h5::Extent> dims{static_cast<h5::Extent>(rows), static_cast<h5::Extent>(columns)};
  return std::make_unique<H5RowWriter>(*this, dataSetFor(path, dims, h5::nativeTypeOf<double>()), path, rows,
                                       columns);
}

void H5Writer::close() { closeFile(); }

}  // namespace dataio
