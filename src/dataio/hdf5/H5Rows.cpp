#include "dataio/hdf5/H5Rows.hpp"

#include <utility>

#include "h5/H5Calls.hpp"
#include "h5/H5Data.hpp"
#include "h5/H5ReadRecord.hpp"
#include "interfaces/Failure.hpp"

namespace dataio {
namespace {

void checkRange(int first, int count, int rows, const std::string& path) {
  RESULTS_CHECK(first >= 0 && count >= 0 && count <= rows - first, "rows ", first, " to ", first + count,
                " are not within the ", rows, " rows of dataset <", path, ">");
}

}  // namespace

H5RowReader::H5RowReader(h5::DataSetHandle dataSet_, const std::string& fileName_, const std::string& path_, int rows,
                         int columns, bool record_)
    : dataSet(std::move(dataSet_)),
      fileSpace(h5::dataSetSpace(dataSet, path_)),
      fileName(fileName_),
      path(path_),
      nrRows(rows),
      nrColumns(columns),
      record(record_) {}

void H5RowReader::read(int first, int count, double* values) {
  checkRange(first, count, nrRows, path);
  const h5::ReadScope scope(fileName, path, record);
  h5::readRows(dataSet, fileSpace, path, static_cast<h5::Extent>(first), static_cast<h5::Extent>(count),
               static_cast<h5::Extent>(nrColumns), values);
}

H5RowWriter::H5RowWriter(api::IH5Base& file_, h5::DataSetHandle dataSet_, const std::string& path_, int rows,
                         int columns)
    : file(file_),
      dataSet(std::move(dataSet_)),
      fileSpace(h5::dataSetSpace(dataSet, path_)),
      path(path_),
      nrRows(rows),
      nrColumns(columns),
      sized(rows == 0 || columns == 0) {
  // No write will come to a dataset without values.
  if (sized) file.writeAttribute(path, "size", 0);
}

void H5RowWriter::write(int first, int count, const double* values) {
  checkRange(first, count, nrRows, path);
  h5::writeRows(dataSet, fileSpace, path, static_cast<h5::Extent>(first), static_cast<h5::Extent>(count),
                static_cast<h5::Extent>(nrColumns), values);
  if (sized) return;
  file.writeAttribute(path, "size", nrRows * nrColumns);
  sized = true;
}

}  // namespace dataio
