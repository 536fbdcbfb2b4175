#pragma once
// Dataset writes into a file created (or emptied) by the writer. Every dataset
// carries an integer attribute "size" with its total number of values.

#include <memory>
#include <string>
#include <vector>

#include "interfaces/IH5Base.hpp"

namespace api {

// A two-dimensional double dataset created at its full size and written in
// runs of rows, so that an export can stream a time step through slices.
class IRowWriter {
 public:
  virtual ~IRowWriter() = default;
  // Rows [first, first + count) from count * columns values in row order; the
  // rows must lie within the dataset. The "size" attribute follows the first
  // write, as it follows a whole-dataset write, so that the file is laid out
  // as if the dataset had been written at once.
  virtual void write(int first, int count, const double* values) = 0;
};

class IH5Writer : public virtual IH5Base {
 public:
  virtual void writeInt(const std::string& path, const int& value) = 0;
  virtual void writeDouble(const std::string& path, const double& value) = 0;
  virtual void writeIntArray(const std::string& path, const std::vector<std::vector<int>>& data) = 0;
  virtual void writeDoubleArray(const std::string& path, const std::vector<std::vector<double>>& data) = 0;
  virtual void writeIntBuffer(const std::string& path, const int& rows, const int& columns, const int* data) = 0;
  virtual void writeDoubleBuffer(const std::string& path, const int& rows, const int& columns,
                                 const double* data) = 0;
  virtual void writeStrings(const std::string& path, const std::string& tag,
                            const std::vector<std::string>& data) = 0;
  // The dataset of rows x columns doubles at path, made with its missing
  // groups unless one of that shape is there (as writeDoubleBuffer finds or
  // makes it); nothing is written until the first write.
  virtual std::unique_ptr<IRowWriter> createRows(const std::string& path, const int& rows, const int& columns) = 0;
  // Flushes and closes the file, throwing when that fails; callers use it
  // before they report success so that no failed write goes unnoticed.
  virtual void close() = 0;
};

}  // namespace api
