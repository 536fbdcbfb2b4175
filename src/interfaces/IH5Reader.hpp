#pragma once
// Whole-dataset reads with shape checks from a file opened read-only.

#include <memory>
#include <cstdint>
#include <string>
#include <vector>

#include "interfaces/IH5Base.hpp"

namespace api {

// A two-dimensional double dataset in row order: value (r, c) is at
// values[r * columns + c].
struct DoubleTable {
  int rows = 0;
  int columns = 0;
  std::vector<double> values;
};

// One two-dimensional double dataset held open for reads of runs of rows, so
// that an export can stream a time step through slices that stay in cache.
class IRowReader {
 public:
  virtual ~IRowReader() = default;
  virtual int rows() const = 0;
  virtual int columns() const = 0;
  // Rows [first, first + count), every column, in row order: count * columns()
  // values. The rows must lie within the dataset.
  virtual void read(int first, int count, double* values) = 0;
};

// A dataset as it is stored: its extents (one per dimension) and the class of
// its values, for checks made before anything is read or written.
struct DatasetInfo {
  std::vector<unsigned long long> extents;
  ValueClass valueClass = ValueClass::Other;
};

class IH5Reader : public virtual IH5Base {
 public:
  virtual int readInt(const std::string& path) = 0;
  virtual double readDouble(const std::string& path) = 0;
  virtual std::vector<std::vector<int>> readIntArray(const std::string& path) = 0;
  virtual std::vector<double> readColumn(const std::string& path, int column) = 0;
  virtual std::vector<std::vector<double>> readDoubleArray(const std::string& path) = 0;
  virtual std::vector<std::string> readStrings(const std::string& path) = 0;
  // The whole two-dimensional dataset in one read, for exports that need
  // several of its columns at one time step. The table's storage is reused,
  // as every step reads datasets of the same shape again. A dataset without
  // columns gives a table of none, for the caller to name the missing column.
  virtual void readDoubleTable(const std::string& path, DoubleTable& table) = 0;
  // The bytes that reads of datasets have delivered so far, in this process.
  virtual std::uint64_t getBytesRead() const = 0;
  // The dataset checked as readDoubleTable checks it, held open without
  // reading any value; a dataset without columns gives a reader of none.
  virtual std::unique_ptr<IRowReader> openRows(const std::string& path) = 0;
  virtual DatasetInfo getDatasetInfo(const std::string& path) = 0;
};

}  // namespace api
