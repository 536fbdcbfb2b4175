#pragma once
// Datasets of a written HDF5 file as the HDF5 library reads them, with the C
// library directly, so that checks of written files do not depend on the
// code under test.

#include <hdf5.h>

#include <string>
#include <vector>

namespace testing_support {

struct StoredDataset {
  bool found = false;         // the file and the dataset opened and read
  std::vector<hsize_t> dims;  // the dataset's extents, none when not found
  std::vector<double> values; // row by row
  int size = -1;              // its "size" attribute, -1 without one
};

inline StoredDataset readStoredDataset(hid_t file, const std::string& path) {
  StoredDataset read;
  H5E_BEGIN_TRY {
    const hid_t dataset = file < 0 ? -1 : H5Dopen2(file, path.c_str(), H5P_DEFAULT);
    if (dataset >= 0) {
      const hid_t space = H5Dget_space(dataset);
      read.dims.resize(static_cast<std::size_t>(H5Sget_simple_extent_ndims(space)));
      H5Sget_simple_extent_dims(space, read.dims.data(), nullptr);
      read.values.resize(static_cast<std::size_t>(H5Sget_simple_extent_npoints(space)));
      read.found = H5Dread(dataset, H5T_NATIVE_DOUBLE, H5S_ALL, H5S_ALL, H5P_DEFAULT, read.values.data()) >= 0;
      const hid_t attribute = H5Aopen(dataset, "size", H5P_DEFAULT);
      if (attribute >= 0) {
        H5Aread(attribute, H5T_NATIVE_INT, &read.size);
        H5Aclose(attribute);
      }
      H5Sclose(space);
      H5Dclose(dataset);
    }
  }
  H5E_END_TRY;
  return read;
}

inline StoredDataset readStoredDataset(const std::string& fileName, const std::string& path) {
  hid_t file = -1;
  H5E_BEGIN_TRY { file = H5Fopen(fileName.c_str(), H5F_ACC_RDONLY, H5P_DEFAULT); }
  H5E_END_TRY;
  StoredDataset read = readStoredDataset(file, path);
  if (file >= 0) H5Fclose(file);
  return read;
}

inline std::vector<double> storedDoubles(hid_t file, const std::string& path) {
  return readStoredDataset(file, path).values;
}
inline std::vector<double> storedDoubles(const std::string& fileName, const std::string& path) {
  return readStoredDataset(fileName, path).values;
}

// The number of links in a group; 0 when it does not exist.
inline hsize_t groupMembers(const std::string& fileName, const std::string& group) {
  const hid_t file = H5Fopen(fileName.c_str(), H5F_ACC_RDONLY, H5P_DEFAULT);
  H5G_info_t info{};
  if (H5Lexists(file, group.c_str(), H5P_DEFAULT) > 0) H5Gget_info_by_name(file, group.c_str(), &info, H5P_DEFAULT);
  H5Fclose(file);
  return info.nlinks;
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
