#include "dataio/hdf5/H5Base.hpp"

#include <iostream>
#include <limits>

#include "h5/H5Attributes.hpp"
#include "h5/H5Calls.hpp"
#include "h5/H5Groups.hpp"
#include "interfaces/Failure.hpp"

namespace dataio {

api::ValueClass valueClassOf(h5::TypeClass typeClass) {
  switch (typeClass) {
    case h5::TypeClass::Integer: return api::ValueClass::Integer;
    case h5::TypeClass::Float: return api::ValueClass::Float;
    case h5::TypeClass::String: return api::ValueClass::String;
    case h5::TypeClass::Other: break;
  }
  return api::ValueClass::Other;
}

H5Base::H5Base(const std::string& fileName, const std::string& mode)
    : storedName(fileName), readOnly(mode != "w" && mode != "rw"), f5(fileName, mode) {}

H5Base::~H5Base() {
  if (!f5.isOpen()) return;
  // Closing a damaged file can crash the library as reading it can.
  const h5::ReadScope scope = reading("/");
  try {
    f5.close();
  } catch (const std::exception& failure) {
    std::cerr << " -> " << failure.what() << std::endl;
  }
}

std::string H5Base::getFileName() const { return storedName; }

template <typename T>
void H5Base::attachAttribute(const std::string& path, const std::string& name, T value) {
  RESULTS_CHECK(this->f5.exist(path), "cannot attach attribute to dataset <", path, "> in file <", storedName, ">");
  h5::writeAttribute(openDataSet(path), name, value);
  f5.flush();
}

void H5Base::requireObjectToRead(const std::string& path) const {
  RESULTS_CHECK(this->f5.exist(path), "cannot read attribute to dataset <", path, "> in file <", storedName, ">");
}

template <typename T>
std::optional<T> H5Base::findAttribute(const std::string& path, const std::string& name) {
  const h5::ReadScope scope = reading(path);
  requireObjectToRead(path);
  const h5::DataSetHandle dataSet = openDataSet(path);
  if (!h5::hasAttribute(dataSet, name)) return std::nullopt;
  return h5::readAttribute<T>(dataSet, name);
}

void H5Base::writeAttribute(const std::string& path, const std::string& name, const int& value) {
  attachAttribute(path, name, value);
}

void H5Base::writeAttribute(const std::string& path, const std::string& name, const double& value) {
  attachAttribute(path, name, value);
}

int H5Base::readIntAttribute(const std::string& path, const std::string& name) {
  return findAttribute<int>(path, name).value_or(0);
}

double H5Base::readDoubleAttribute(const std::string& path, const std::string& name) {
  return findDoubleAttribute(path, name).value_or(std::numeric_limits<double>::min());
}

std::optional<double> H5Base::findDoubleAttribute(const std::string& path, const std::string& name) {
  return findAttribute<double>(path, name);
}

std::optional<api::AttributeInfo> H5Base::getAttributeInfo(const std::string& path, const std::string& name) {
  const h5::ReadScope scope = reading(path);
  requireObjectToRead(path);
  const h5::DataSetHandle dataSet = openDataSet(path);
  if (!h5::hasAttribute(dataSet, name)) return std::nullopt;
  const h5::AttributeLayout layout = h5::describeAttribute(dataSet, name);
  return api::AttributeInfo{valueClassOf(layout.typeClass), layout.values};
}

int H5Base::getNrObjects(const std::string& groupPath) {
  const h5::ReadScope scope = reading(groupPath);
  if (!exist(groupPath)) return -1;
  return static_cast<int>(h5::countObjects(f5.id(), groupPath));
}

bool H5Base::exist(const std::string& path) {
  const h5::ReadScope scope = reading(path);
  return f5.exist(path);
}

h5::DataSetHandle H5Base::openDataSet(const std::string& path) const { return h5::openDataSet(f5.id(), path); }

// The group part ends at the last '/', so that deeper paths get all their
// parents and a path without '/' needs none.
void H5Base::createGroupOf(const std::string& path) {
  const std::size_t end = path.rfind('/');
  if (end == std::string::npos || end == 0) return;
  const std::string group = path.substr(0, end);
  if (!exist(group)) h5::createGroupWithParents(f5.id(), group);
}

void H5Base::closeFile() { f5.close(); }

}  // namespace dataio
