#pragma once
// Looks into HDF5 files that the code under test wrote, with the C library
// directly.

#include <hdf5.h>

#include <string>
#include <vector>

namespace testing_support {

// Every value of a dataset as doubles, in row order, from an open file.
inline std::vector<double> storedDoubles(hid_t file, const std::string& path) {
  const hid_t dataset = H5Dopen2(file, path.c_str(), H5P_DEFAULT);
  const hid_t space = H5Dget_space(dataset);
  std::vector<double> values(static_cast<std::size_t>(H5Sget_simple_extent_npoints(space)));
  H5Dread(dataset, H5T_NATIVE_DOUBLE, H5S_ALL, H5S_ALL, H5P_DEFAULT, values.data());
  H5Sclose(space);
  H5Dclose(dataset);
  return values;
}

inline std::vector<double> storedDoubles(const std::string& fileName, const std::string& path) {
  const hid_t file = H5Fopen(fileName.c_str(), H5F_ACC_RDONLY, H5P_DEFAULT);
  std::vector<double> values = storedDoubles(file, path);
  H5Fclose(file);
  return values;
}

// Where the library put a dataset's values in the file.
inline haddr_t storageOffset(const std::string& fileName, const std::string& path) {
  const hid_t file = H5Fopen(fileName.c_str(), H5F_ACC_RDONLY, H5P_DEFAULT);
  const hid_t dataset = H5Dopen2(file, path.c_str(), H5P_DEFAULT);
  const haddr_t offset = H5Dget_offset(dataset);
  H5Dclose(dataset);
  H5Fclose(file);
  return offset;
}

}  // namespace testing_support
