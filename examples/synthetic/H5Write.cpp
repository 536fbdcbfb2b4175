#include "synthetic/H5Write.hpp"

namespace synthetic {
namespace {

Handle intermediateGroups() {
  Handle list(H5Pcreate(H5P_LINK_CREATE), H5Pclose, "link creation list");
  checkStatus(H5Pset_create_intermediate_group(list.get(), 1), "intermediate groups");
  return list;
}

Handle simpleSpace(const std::vector<hsize_t>& dims) {
  return Handle(H5Screate_simple(static_cast<int>(dims.size()), dims.data(), nullptr), H5Sclose,
                "dataspace");
}

void writeScalarAttribute(hid_t object, const std::string& name, hid_t type, const void* value) {
  Handle space(H5Screate(H5S_SCALAR), H5Sclose, "scalar dataspace");
  Handle attribute(
      H5Acreate2(object, name.c_str(), type, space.get(), H5P_DEFAULT, H5P_DEFAULT), H5Aclose,
      "attribute " + name);
  checkStatus(H5Awrite(attribute.get(), type, value), "attribute " + name);
}

Handle writeDataset(hid_t file, const std::string& path, hid_t type,
                    const std::vector<hsize_t>& dims, const void* values) {
  Handle links = intermediateGroups();
  Handle space = simpleSpace(dims);
  Handle dataset(H5Dcreate2(file, path.c_str(), type, space.get(), links.get(), H5P_DEFAULT,
                            H5P_DEFAULT),
                 H5Dclose, "dataset " + path);
  checkStatus(H5Dwrite(dataset.get(), type, H5S_ALL, H5S_ALL, H5P_DEFAULT, values),
              "writing " + path);
  hsize_t total = 1;
  for (hsize_t extent : dims) {
    total *= extent;
  }
  const int size = static_cast<int>(total);
  writeScalarAttribute(dataset.get(), "size", H5T_NATIVE_INT, &size);
  return dataset;
}

std::vector<hsize_t> matrixDims(std::size_t values, int columns) {
  return {static_cast<hsize_t>(values / static_cast<std::size_t>(columns)),
          static_cast<hsize_t>(columns)};
}

}  // namespace

Handle createFile(const std::string& path) {
  return Handle(H5Fcreate(path.c_str(), H5F_ACC_TRUNC, H5P_DEFAULT, H5P_DEFAULT), H5Fclose,
                "creating " + path);
}

Handle writeDoubleMatrix(hid_t file, const std::string& path, const std::vector<double>& values,
                         int columns) {
  return writeDataset(file, path, H5T_NATIVE_DOUBLE, matrixDims(values.size(), columns),
                      values.data());
}

Handle writeIntMatrix(hid_t file, const std::string& path, const std::vector<int>& values,
                      int columns) {
  return writeDataset(file, path, H5T_NATIVE_INT, matrixDims(values.size(), columns),
                      values.data());
}

void writeText(hid_t file, const std::string& path, const std::string& text) {
  Handle type(H5Tcopy(H5T_C_S1), H5Tclose, "string type");
  checkStatus(H5Tset_size(type.get(), H5T_VARIABLE), "variable string size");
  checkStatus(H5Tset_cset(type.get(), H5T_CSET_UTF8), "UTF-8 character set");
  const char* element = text.c_str();
  writeDataset(file, path, type.get(), {1}, &element);
}

void writeOneValue(hid_t file, const std::string& path, double value) {
  writeDataset(file, path, H5T_NATIVE_DOUBLE, {1}, &value);
}

void writeDoubleAttribute(hid_t object, const std::string& name, double value) {
  writeScalarAttribute(object, name, H5T_NATIVE_DOUBLE, &value);
}

}  // namespace synthetic
