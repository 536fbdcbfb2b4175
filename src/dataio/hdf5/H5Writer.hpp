#pragma once
// Dataset writes into a file that the writer creates, or empties when it
// exists. Every dataset gets an integer attribute "size" with its total number
// of values.

#include <memory>
#include <string>
#include <vector>

#include "dataio/hdf5/H5Base.hpp"
#include "dataio/hdf5/H5Files.hpp"
#include "interfaces/IH5Writer.hpp"

namespace dataio {

class H5Writer : public H5Base, public api::IH5Writer {
 public:
  explicit H5Writer(const std::string& fileName);

  void writeInt(const std::string& path, const int& value) override;
  void writeDouble(const std::string& path, const double& value) override;
  // The column count is that of the first row; every row must have it.
  void writeIntArray(const std::string& path, const std::vector<std::vector<int>>& data) override;
  void writeDoubleArray(const std::string& path, const std::vector<std::vector<double>>& data) override;
  void writeIntBuffer(const std::string& path, const int& rows, const int& columns, const int* data) override;
  void writeDoubleBuffer(const std::string& path, const int& rows, const int& columns,
                         const double* data) override;
  // tag is not used.
  void writeStrings(const std::string& path, const std::string& tag, const std::vector<std::string>& data) override;
  std::unique_ptr<api::IRowWriter> createRows(const std::string& path, const int& rows, const int& columns) override;
  void close() override;

 private:
  // The dataset at path with these dimensions: the existing one when its
  // shape matches, otherwise a new one of storedType.
  h5::DataSetHandle dataSetFor(const std::string& path, const std::vector<h5::Extent>& dims,
                               const h5::DataTypeHandle& storedType);
  template <typename T>
  void writeSingle(const std::string& path, const T& value);
  template <typename T>
  void writeBuffer(const std::string& path, int rows, int columns, const T* data);
  template <typename T>
  void writeNested(const std::string& path, const std::vector<std::vector<T>>& data);
};

}  // namespace dataio
