#pragma once
// Reads a numeric dataset of a written file back as doubles with the C
// library directly, so that tests check files without the code under test.

#include <hdf5.h>

#include <string>
#include <vector>

namespace testing_support {

struct H5Values {
  bool found = false;         // the file and the dataset opened
  std::vector<hsize_t> dims;  // the dataset's extents
  std::vector<double> values; // row by row
};

inline H5Values readH5Values(const std::string& file, const std::string& dataset) {
  H5Values read;
  H5E_BEGIN_TRY {
    const hid_t handle = H5Fopen(file.c_str(), H5F_ACC_RDONLY, H5P_DEFAULT);
    const hid_t set = handle < 0 ? -1 : H5Dopen2(handle, dataset.c_str(), H5P_DEFAULT);
    if (set >= 0) {
      const hid_t space = H5Dget_space(set);
      read.dims.resize(static_cast<std::size_t>(H5Sget_simple_extent_ndims(space)));
      H5Sget_simple_extent_dims(space, read.dims.data(), nullptr);
      read.values.resize(static_cast<std::size_t>(H5Sget_simple_extent_npoints(space)));
      read.found = H5Dread(set, H5T_NATIVE_DOUBLE, H5S_ALL, H5S_ALL, H5P_DEFAULT, read.values.data()) >= 0;
      H5Sclose(space);
      H5Dclose(set);
    }
    if (handle >= 0) H5Fclose(handle);
  }
  H5E_END_TRY;
  return read;
}

}  // namespace testing_support
