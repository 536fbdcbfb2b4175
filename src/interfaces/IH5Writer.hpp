#pragma once
// Dataset writes into a file created (or emptied) by the writer. Every dataset
// carries an integer attribute "size" with its total number of values.

#include <string>
#include <vector>

#include "IH5Base.hpp"

namespace api {

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
  // Flushes and closes the file, throwing when that fails; callers use it
  // before they report success so that no failed write goes unnoticed.
  virtual void close() = 0;
};

}  // namespace api
