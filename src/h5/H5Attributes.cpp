#include "h5/H5Attributes.hpp"

#include "h5/H5Calls.hpp"
#include "h5/H5Exceptions.hpp"
#include "h5/H5Types.hpp"

namespace h5 {
namespace {

// A stored attribute of several values would overrun the one-value buffer.
void requireOneValue(const AttributeHandle& attribute, const std::string& name) {
  const Extent values = pointCount(attributeSpace(attribute, name));
  if (values != 1)
    throw DataSpaceException("Unable to use the attribute \"" + name + "\" as one value: it holds " +
                             std::to_string(values));
}

AttributeHandle openOrCreate(const DataSetHandle& dataSet, const std::string& name, const DataTypeHandle& type) {
  if (attributeExists(dataSet.id(), name)) return openAttribute(dataSet.id(), name);
  return createAttribute(dataSet.id(), name, type, createSimpleSpace({1}));
}

template <typename T>
void writeOne(const DataSetHandle& dataSet, const std::string& name, T value) {
  const DataTypeHandle type = nativeTypeOf<T>();
  const AttributeHandle attribute = openOrCreate(dataSet, name, type);
  requireOneValue(attribute, name);
  writeAttributeData(attribute, type, &value, name);
}

}  // namespace

bool hasAttribute(const DataSetHandle& dataSet, const std::string& name) {
  return attributeExists(dataSet.id(), name);
}

AttributeLayout describeAttribute(const DataSetHandle& dataSet, const std::string& name) {
  const AttributeHandle attribute = openAttribute(dataSet.id(), name);
  return {typeClassOf(attributeType(attribute, name)), pointCount(attributeSpace(attribute, name))};
}

void writeAttribute(const DataSetHandle& dataSet, const std::string& name, int value) {
  writeOne(dataSet, name, value);
}

void writeAttribute(const DataSetHandle& dataSet, const std::string& name, double value) {
  writeOne(dataSet, name, value);
}

template <typename T>
T readAttribute(const DataSetHandle& dataSet, const std::string& name) {
  const AttributeHandle attribute = openAttribute(dataSet.id(), name);
  requireOneValue(attribute, name);
  T value{};
  readAttributeData(attribute, nativeTypeOf<T>(), &value, name);
  return value;
}
template int readAttribute<int>(const DataSetHandle&, const std::string&);
template double readAttribute<double>(const DataSetHandle&, const std::string&);

}  // namespace h5
