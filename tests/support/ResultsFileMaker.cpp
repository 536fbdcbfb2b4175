#include "support/ResultsFileMaker.hpp"

#include <hdf5.h>

#include <stdexcept>

namespace testing_support {

namespace {

hid_t checked(hid_t id, const std::string& what) {
  if (id < 0) throw std::runtime_error("HDF5 test file: cannot " + what);
  return id;
}

void checked(herr_t status, const std::string& what) {
  if (status < 0) throw std::runtime_error("HDF5 test file: cannot " + what);
}

hid_t linkCreation() {
  const hid_t list = H5Pcreate(H5P_LINK_CREATE);
  H5Pset_create_intermediate_group(list, 1);
  return list;
}

// A scalar attribute of the type, replacing one of the same name.
void scalarAttribute(hid_t object, const char* name, hid_t type, const void* value) {
  if (H5Aexists(object, name) > 0) checked(H5Adelete(object, name), std::string("delete ") + name);
  const hid_t space = H5Screate(H5S_SCALAR);
  const hid_t attribute = checked(H5Acreate2(object, name, type, space, H5P_DEFAULT, H5P_DEFAULT), name);
  checked(H5Awrite(attribute, type, value), name);
  H5Aclose(attribute);
  H5Sclose(space);
}

void writeIntAttribute(hid_t object, const char* name, int value) {
  scalarAttribute(object, name, H5T_NATIVE_INT, &value);
}

void writeDoubleAttribute(hid_t object, const char* name, double value) {
  scalarAttribute(object, name, H5T_NATIVE_DOUBLE, &value);
}

// Runs `change` on the object at path.
template <typename Change>
void onObject(hid_t file, const std::string& path, Change change) {
  const hid_t object = checked(H5Oopen(file, path.c_str(), H5P_DEFAULT), "open " + path);
  change(object);
  H5Oclose(object);
}

hid_t createDataset(hid_t file, const std::string& path, hid_t type, int rank, const hsize_t* dims) {
  const hid_t space = H5Screate_simple(rank, dims, nullptr);
  const hid_t links = linkCreation();
  const hid_t dataset =
      checked(H5Dcreate2(file, path.c_str(), type, space, links, H5P_DEFAULT, H5P_DEFAULT), "create " + path);
  H5Pclose(links);
  H5Sclose(space);
  return dataset;
}

template <typename Value>
void matrix(hid_t file, const std::string& path, hid_t type, int rows, int columns,
            const std::vector<Value>& values) {
  if (values.size() != static_cast<std::size_t>(rows) * columns) throw std::runtime_error("bad test matrix " + path);
  const hsize_t dims[2] = {static_cast<hsize_t>(rows), static_cast<hsize_t>(columns)};
  const hid_t dataset = createDataset(file, path, type, 2, dims);
  checked(H5Dwrite(dataset, type, H5S_ALL, H5S_ALL, H5P_DEFAULT, values.data()), "write " + path);
  writeIntAttribute(dataset, "size", rows * columns);
  H5Dclose(dataset);
}

std::string quotedList(const std::vector<std::string>& names) {
  std::string list;
  for (const auto& name : names) list += (list.empty() ? "\"" : ", \"") + name + "\"";
  return list;
}

}  // namespace

ResultsFileMaker::ResultsFileMaker(const std::string& fileName, Opening opening)
    : file(checked(opening == Opening::Create ? H5Fcreate(fileName.c_str(), H5F_ACC_TRUNC, H5P_DEFAULT, H5P_DEFAULT)
                                              : H5Fopen(fileName.c_str(), H5F_ACC_RDWR, H5P_DEFAULT),
                   "open " + fileName)) {}

ResultsFileMaker::~ResultsFileMaker() { H5Fclose(file); }

void ResultsFileMaker::text(const std::string& path, const std::string& value) {
  const hid_t type = H5Tcopy(H5T_C_S1);
  H5Tset_size(type, H5T_VARIABLE);
  H5Tset_cset(type, H5T_CSET_UTF8);
  const hsize_t dims[1] = {1};
  const hid_t dataset = createDataset(file, path, type, 1, dims);
  const char* data[1] = {value.c_str()};
  checked(H5Dwrite(dataset, type, H5S_ALL, H5S_ALL, H5P_DEFAULT, data), "write " + path);
  H5Dclose(dataset);
  H5Tclose(type);
}

void ResultsFileMaker::ints(const std::string& path, int rows, int columns, const std::vector<int>& values) {
  matrix(file, path, H5T_NATIVE_INT, rows, columns, values);
}

void ResultsFileMaker::doubles(const std::string& path, int rows, int columns, const std::vector<double>& values) {
  matrix(file, path, H5T_NATIVE_DOUBLE, rows, columns, values);
}

void ResultsFileMaker::step(const std::string& path, double time, int rows, int columns,
                            const std::vector<double>& values) {
  doubles(path, rows, columns, values);
  const hid_t dataset = checked(H5Dopen2(file, path.c_str(), H5P_DEFAULT), "open " + path);
  writeDoubleAttribute(dataset, "t", time);
  H5Dclose(dataset);
}

void ResultsFileMaker::scalar(const std::string& path, double value) {
  const hsize_t dims[1] = {1};
  const hid_t dataset = createDataset(file, path, H5T_NATIVE_DOUBLE, 1, dims);
  checked(H5Dwrite(dataset, H5T_NATIVE_DOUBLE, H5S_ALL, H5S_ALL, H5P_DEFAULT, &value), "write " + path);
  writeIntAttribute(dataset, "size", 1);
  H5Dclose(dataset);
}

void ResultsFileMaker::group(const std::string& path) {
  const hid_t links = linkCreation();
  H5Gclose(checked(H5Gcreate2(file, path.c_str(), links, H5P_DEFAULT, H5P_DEFAULT), "create " + path));
  H5Pclose(links);
}

void ResultsFileMaker::remove(const std::string& path) {
  checked(H5Ldelete(file, path.c_str(), H5P_DEFAULT), "remove " + path);
}

void ResultsFileMaker::intAttribute(const std::string& path, const std::string& name, int value) {
  onObject(file, path, [&](hid_t object) { writeIntAttribute(object, name.c_str(), value); });
}

void ResultsFileMaker::doubleAttribute(const std::string& path, const std::string& name, double value) {
  onObject(file, path, [&](hid_t object) { writeDoubleAttribute(object, name.c_str(), value); });
}

void ResultsFileMaker::stringAttribute(const std::string& path, const std::string& name, const std::string& value) {
  onObject(file, path, [&](hid_t object) {
    const hid_t type = H5Tcopy(H5T_C_S1);
    H5Tset_size(type, value.size() + 1);
    scalarAttribute(object, name.c_str(), type, value.c_str());
    H5Tclose(type);
  });
}

void ResultsFileMaker::removeAttribute(const std::string& path, const std::string& name) {
  onObject(file, path, [&](hid_t object) { checked(H5Adelete(object, name.c_str()), "delete " + name); });
}

void ResultsFileMaker::unitSquareMesh() {
  ints("CellsAll/Topology", 2, 3, {0, 1, 2, 0, 2, 3});
  doubles("NodesAll/Coordnts", 4, 3, {0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0});
}

void ResultsFileMaker::archive(const std::string& modelText, const std::vector<std::string>& outputs) {
  text(".config/model", modelText);
  text(".config/simulation", "{\"SIMULATION\": {\"OUTPUT\": [" + quotedList(outputs) + "], \"END\": 100.0}}");
}

std::string hydraulicsModelText() {
  return R"({"SETUP": {"DOMAIN": {"VELDRIX_2D": {"HYDRAULICS": {"SCHEME": "HLLC"}}}}})";
}

std::string morphologyModelText() {
  return R"({"SETUP": {"DOMAIN": {"VELDRIX_2D": {"HYDRAULICS": {"SCHEME": "HLLC"}, "MORPHOLOGY": {"D50": 0.002}}}}})";
}

std::string floodModelText() {
  return R"({"SETUP": {"DOMAIN": {"VELDRIX_2D": {"HYDRAULICS": {"FLOOD": {"TRACK": true}}}}}})";
}

std::string configurationText(const std::vector<std::string>& formats) {
  std::string entries;
  for (const auto& format : formats) entries += (entries.empty() ? "" : ", ") + std::string("{\"format\": \"") + format + "\"}";
  return "{\"RESULTS\": {\"EXPORT\": [" + entries + "]}}";
}

std::string xdmfEntriesText(const std::vector<std::string>& entries) {
  std::string list;
  for (const auto& members : entries)
    list += (list.empty() ? "" : ", ") + std::string(R"({"format": "xdmf")") + (members.empty() ? "" : ", ") +
            members + "}";
  return R"({"RESULTS": {"EXPORT": [)" + list + "]}}";
}

}  // namespace testing_support
