#pragma once
// Writes HDF5 input files for tests with the C library directly, so that the
// files do not depend on the code under test.

#include <hdf5.h>

#include <string>
#include <vector>

namespace testing_support {

class H5TestFile {
 public:
  explicit H5TestFile(const std::string& name)
      : file(H5Fcreate(name.c_str(), H5F_ACC_TRUNC, H5P_DEFAULT, H5P_DEFAULT)) {}
  ~H5TestFile() {
    if (links >= 0) H5Pclose(links);
    H5Fclose(file);
  }
  H5TestFile(const H5TestFile&) = delete;
  H5TestFile& operator=(const H5TestFile&) = delete;

  // For what the helpers below do not write.
  hid_t id() const { return file; }

  void doubles(const std::string& path, const std::vector<hsize_t>& dims, const std::vector<double>& values) {
    write(path, dims, H5T_NATIVE_DOUBLE, values.data());
  }
  void ints(const std::string& path, const std::vector<hsize_t>& dims, const std::vector<int>& values) {
    write(path, dims, H5T_NATIVE_INT, values.data());
  }
  // Variable-length strings in the library's default (ASCII) character set.
  void strings(const std::string& path, const std::vector<std::string>& texts) {
    std::vector<const char*> pointers;
    for (const std::string& text : texts) pointers.push_back(text.c_str());
    const hid_t type = H5Tcopy(H5T_C_S1);
    H5Tset_size(type, H5T_VARIABLE);
    write(path, {texts.size()}, type, pointers.data());
    H5Tclose(type);
  }
  // A double attribute of `count` equal values.
  void doubleAttribute(const std::string& path, const std::string& name, double value, hsize_t count = 1) {
    const std::vector<double> values(count, value);
    const hid_t object = H5Oopen(file, path.c_str(), H5P_DEFAULT);
    const hid_t space = H5Screate_simple(1, &count, nullptr);
    const hid_t attribute = H5Acreate2(object, name.c_str(), H5T_NATIVE_DOUBLE, space, H5P_DEFAULT, H5P_DEFAULT);
    H5Awrite(attribute, H5T_NATIVE_DOUBLE, values.data());
    H5Aclose(attribute);
    H5Sclose(space);
    H5Oclose(object);
  }
  void intAttribute(const std::string& path, const std::string& name, int value) {
    const hid_t object = H5Oopen(file, path.c_str(), H5P_DEFAULT);
    const hid_t space = H5Screate(H5S_SCALAR);
    const hid_t attribute = H5Acreate2(object, name.c_str(), H5T_NATIVE_INT, space, H5P_DEFAULT, H5P_DEFAULT);
    H5Awrite(attribute, H5T_NATIVE_INT, &value);
    H5Aclose(attribute);
    H5Sclose(space);
    H5Oclose(object);
  }
  // A double dataset whose storage is never allocated: any extent costs nothing.
  void unwritten(const std::string& path, const std::vector<hsize_t>& dims) {
    const hid_t space = H5Screate_simple(static_cast<int>(dims.size()), dims.data(), nullptr);
    H5Dclose(H5Dcreate2(file, path.c_str(), H5T_NATIVE_DOUBLE, space, linkCreation(), H5P_DEFAULT, H5P_DEFAULT));
    H5Sclose(space);
  }
  void group(const std::string& path) { H5Gclose(H5Gcreate2(file, path.c_str(), linkCreation(), H5P_DEFAULT, H5P_DEFAULT)); }
  // A dataset of rank 0 (one value, no extents).
  void scalarDouble(const std::string& path, double value) {
    const hid_t space = H5Screate(H5S_SCALAR);
    const hid_t set = H5Dcreate2(file, path.c_str(), H5T_NATIVE_DOUBLE, space, linkCreation(), H5P_DEFAULT, H5P_DEFAULT);
    H5Dwrite(set, H5T_NATIVE_DOUBLE, H5S_ALL, H5S_ALL, H5P_DEFAULT, &value);
    H5Dclose(set);
    H5Sclose(space);
  }

 private:
  hid_t linkCreation() {
    if (links < 0) {
      links = H5Pcreate(H5P_LINK_CREATE);
      H5Pset_create_intermediate_group(links, 1);
    }
    return links;
  }
  void write(const std::string& path, const std::vector<hsize_t>& dims, hid_t type, const void* data) {
    const hid_t space = H5Screate_simple(static_cast<int>(dims.size()), dims.data(), nullptr);
    const hid_t set = H5Dcreate2(file, path.c_str(), type, space, linkCreation(), H5P_DEFAULT, H5P_DEFAULT);
    H5Dwrite(set, type, H5S_ALL, H5S_ALL, H5P_DEFAULT, data);
    H5Dclose(set);
    H5Sclose(space);
  }

  hid_t file;
  hid_t links = -1;
};

}  // namespace testing_support
