#pragma once
// Whole-dataset reads with the program's shape checks, from a file opened
// read-only.

#include <memory>
#include <string>
#include <vector>

#include "dataio/hdf5/H5Base.hpp"
#include "dataio/hdf5/H5Files.hpp"
#include "interfaces/IH5Reader.hpp"

namespace dataio {

class H5Reader : public H5Base, public virtual api::IH5Reader {
 public:
  explicit H5Reader(const std::string& fileName);

  int readInt(const std::string& path) override;
  double readDouble(const std::string& path) override;
  std::vector<std::vector<int>> readIntArray(const std::string& path) override;
  std::vector<double> readColumn(const std::string& path, int column) override;
  std::vector<std::vector<double>> readDoubleArray(const std::string& path) override;
  std::vector<std::string> readStrings(const std::string& path) override;
  void readDoubleTable(const std::string& path, api::DoubleTable& table) override;
  std::uint64_t getBytesRead() const override;
  std::unique_ptr<api::IRowReader> openRows(const std::string& path) override;
  api::DatasetInfo getDatasetInfo(const std::string& path) override;
};

}  // namespace dataio
