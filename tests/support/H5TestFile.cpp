#include "support/H5TestFile.hpp"

#include <stdexcept>

namespace testing_support {

namespace {

template <typename Status>
Status checked(Status status, const std::string& what) {
  if (status < 0) throw std::runtime_error("HDF5 test file: cannot " + what);
  return status;
}

hid_t stringType(std::size_t size, H5T_cset_t characters) {
  const hid_t type = H5Tcopy(H5T_C_S1);
  H5Tset_size(type, size);
  H5Tset_cset(type, characters);
  return type;
}

hid_t simpleSpace(const std::vector<hsize_t>& dims) {
  return H5Screate_simple(static_cast<int>(dims.size()), dims.data(), nullptr);
}

}  // namespace

H5TestFile::H5TestFile(const std::string& name, Opening opening)
    : file(checked(opening == Opening::Create ? H5Fcreate(name.c_str(), H5F_ACC_TRUNC, H5P_DEFAULT, H5P_DEFAULT)
                                              : H5Fopen(name.c_str(), H5F_ACC_RDWR, H5P_DEFAULT),
                   "open " + name)),
      links(H5Pcreate(H5P_LINK_CREATE)) {
  H5Pset_create_intermediate_group(links, 1);
}

H5TestFile::~H5TestFile() {
  H5Pclose(links);
  H5Fclose(file);
}

void H5TestFile::write(const std::string& path, const std::vector<hsize_t>& dims, hid_t type, const void* data) {
  const hid_t space = dims.empty() ? H5Screate(H5S_SCALAR) : simpleSpace(dims);
  const hid_t set = checked(H5Dcreate2(file, path.c_str(), type, space, links, H5P_DEFAULT, H5P_DEFAULT),
                            "create " + path);
  if (data != nullptr) checked(H5Dwrite(set, type, H5S_ALL, H5S_ALL, H5P_DEFAULT, data), "write " + path);
  H5Dclose(set);
  H5Sclose(space);
}

void H5TestFile::doubles(const std::string& path, const std::vector<hsize_t>& dims, const std::vector<double>& v) {
  write(path, dims, H5T_NATIVE_DOUBLE, v.data());
}

void H5TestFile::ints(const std::string& path, const std::vector<hsize_t>& dims, const std::vector<int>& v) {
  write(path, dims, H5T_NATIVE_INT, v.data());
}

void H5TestFile::strings(const std::string& path, const std::vector<std::string>& texts) {
  std::vector<const char*> pointers;
  for (const std::string& text : texts) pointers.push_back(text.c_str());
  const hid_t type = stringType(H5T_VARIABLE, H5T_CSET_ASCII);
  write(path, {texts.size()}, type, pointers.data());
  H5Tclose(type);
}

void H5TestFile::text(const std::string& path, const std::string& value) {
  const char* data[1] = {value.c_str()};
  const hid_t type = stringType(H5T_VARIABLE, H5T_CSET_UTF8);
  write(path, {1}, type, data);
  H5Tclose(type);
}

void H5TestFile::unwritten(const std::string& path, const std::vector<hsize_t>& dims) {
  write(path, dims, H5T_NATIVE_DOUBLE, nullptr);
}

void H5TestFile::unwrittenStrings(const std::string& path, hsize_t count) {
  const hid_t type = stringType(H5T_VARIABLE, H5T_CSET_ASCII);
  write(path, {count}, type, nullptr);
  H5Tclose(type);
}

void H5TestFile::scalarDouble(const std::string& path, double value) { write(path, {}, H5T_NATIVE_DOUBLE, &value); }

void H5TestFile::group(const std::string& path) {
  H5Gclose(checked(H5Gcreate2(file, path.c_str(), links, H5P_DEFAULT, H5P_DEFAULT), "create " + path));
}

void H5TestFile::remove(const std::string& path) {
  checked(H5Ldelete(file, path.c_str(), H5P_DEFAULT), "remove " + path);
}

void H5TestFile::attribute(const std::string& path, const std::string& name, hid_t type, hid_t space,
                           const void* data) {
  const hid_t object = checked(H5Oopen(file, path.c_str(), H5P_DEFAULT), "open " + path);
  if (H5Aexists(object, name.c_str()) > 0) checked(H5Adelete(object, name.c_str()), "delete " + name);
  const hid_t created = checked(H5Acreate2(object, name.c_str(), type, space, H5P_DEFAULT, H5P_DEFAULT), name);
  if (data != nullptr) checked(H5Awrite(created, type, data), "write " + name);
  H5Aclose(created);
  H5Sclose(space);
  H5Oclose(object);
}

void H5TestFile::intAttribute(const std::string& path, const std::string& name, int value) {
  attribute(path, name, H5T_NATIVE_INT, H5Screate(H5S_SCALAR), &value);
}

void H5TestFile::doubleAttribute(const std::string& path, const std::string& name, double value) {
  attribute(path, name, H5T_NATIVE_DOUBLE, H5Screate(H5S_SCALAR), &value);
}

void H5TestFile::doubleAttribute(const std::string& path, const std::string& name, double value, hsize_t count) {
  const std::vector<double> values(count, value);
  attribute(path, name, H5T_NATIVE_DOUBLE, simpleSpace({count}), count == 0 ? nullptr : values.data());
}

void H5TestFile::stringAttribute(const std::string& path, const std::string& name, const std::string& value) {
  const hid_t type = stringType(value.size() + 1, H5T_CSET_ASCII);
  attribute(path, name, type, H5Screate(H5S_SCALAR), value.c_str());
  H5Tclose(type);
}

void H5TestFile::removeAttribute(const std::string& path, const std::string& name) {
  const hid_t object = checked(H5Oopen(file, path.c_str(), H5P_DEFAULT), "open " + path);
  checked(H5Adelete(object, name.c_str()), "delete " + name);
  H5Oclose(object);
}

}  // namespace testing_support
