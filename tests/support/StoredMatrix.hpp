#pragma once
// Datasets of a written HDF5 file as the HDF5 library reads them, so that
// checks of written files do not depend on the code under test.

#include <hdf5.h>

#include <string>
#include <vector>

namespace testing_support {

struct StoredMatrix {
  std::vector<hsize_t> dims;
  std::vector<double> values;
  int size = -1;  // the "size" attribute
};

// Empty dims when the dataset does not exist.
inline StoredMatrix readMatrix(const std::string& fileName, const std::string& path) {
  StoredMatrix matrix;
  const hid_t file = H5Fopen(fileName.c_str(), H5F_ACC_RDONLY, H5P_DEFAULT);
  const hid_t dataset = H5Dopen2(file, path.c_str(), H5P_DEFAULT);
  if (dataset < 0) {
    H5Fclose(file);
    return matrix;
  }
  const hid_t space = H5Dget_space(dataset);
  matrix.dims.resize(static_cast<std::size_t>(H5Sget_simple_extent_ndims(space)));
  H5Sget_simple_extent_dims(space, matrix.dims.data(), nullptr);
  matrix.values.resize(static_cast<std::size_t>(H5Sget_simple_extent_npoints(space)));
  H5Dread(dataset, H5T_NATIVE_DOUBLE, H5S_ALL, H5S_ALL, H5P_DEFAULT, matrix.values.data());
  const hid_t attribute = H5Aopen(dataset, "size", H5P_DEFAULT);
  H5Aread(attribute, H5T_NATIVE_INT, &matrix.size);
  H5Aclose(attribute);
  H5Sclose(space);
  H5Dclose(dataset);
  H5Fclose(file);
  return matrix;
}

// The number of links in a group; 0 when it does not exist.
inline hsize_t groupMembers(const std::string& fileName, const std::string& group) {
  const hid_t file = H5Fopen(fileName.c_str(), H5F_ACC_RDONLY, H5P_DEFAULT);
  H5G_info_t info{};
  if (H5Lexists(file, group.c_str(), H5P_DEFAULT) > 0) H5Gget_info_by_name(file, group.c_str(), &info, H5P_DEFAULT);
  H5Fclose(file);
  return info.nlinks;
}

}  // namespace testing_support
