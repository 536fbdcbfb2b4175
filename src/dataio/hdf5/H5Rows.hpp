#pragma once
// Row-range access to one two-dimensional double dataset that stays open
// while an export streams a time step through it.

#include <string>

#include "h5/H5Handle.hpp"
#include "interfaces/IH5Base.hpp"
#include "interfaces/IH5Reader.hpp"
#include "interfaces/IH5Writer.hpp"

namespace dataio {

class H5RowReader : public api::IRowReader {
 public:
  // rows and columns as the caller checked them; a reader of no columns
  // reads nothing. Reads are recorded as reads of fileName when record is
  // set, so that a crash inside one names the damaged file.
  H5RowReader(h5::DataSetHandle dataSet, const std::string& fileName, const std::string& path, int rows, int columns,
              bool record);

  int rows() const override { return nrRows; }
  int columns() const override { return nrColumns; }
  void read(int first, int count, double* values) override;

 private:
  h5::DataSetHandle dataSet;
  h5::DataSpaceHandle fileSpace;
  std::string fileName;
  std::string path;
  int nrRows;
  int nrColumns;
  bool record;
};

class H5RowWriter : public api::IRowWriter {
 public:
  // file holds the dataset and writes its "size" attribute: after the first
  // write, or at once when the dataset holds no values.
  H5RowWriter(api::IH5Base& file, h5::DataSetHandle dataSet, const std::string& path, int rows, int columns);

  void write(int first, int count, const double* values) override;

 private:
  api::IH5Base& file;
  h5::DataSetHandle dataSet;
  h5::DataSpaceHandle fileSpace;
  std::string path;
  int nrRows;
  int nrColumns;
  bool sized;
};

}  // namespace dataio
