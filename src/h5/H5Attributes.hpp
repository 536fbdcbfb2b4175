#pragma once
// One-value attributes of datasets.

#include <string>

#include "h5/H5Calls.hpp"
#include "h5/H5Handle.hpp"

namespace h5 {

bool hasAttribute(const DataSetHandle& dataSet, const std::string& name);

// What an existing attribute stores, before any conversion.
struct AttributeLayout {
  TypeClass typeClass = TypeClass::Other;
  Extent values = 0;
};
AttributeLayout describeAttribute(const DataSetHandle& dataSet, const std::string& name);

// Creates the attribute, or overwrites the one of that name.
void writeAttribute(const DataSetHandle& dataSet, const std::string& name, int value);
void writeAttribute(const DataSetHandle& dataSet, const std::string& name, double value);

// The attribute (int or double) must exist and hold one value.
template <typename T>
T readAttribute(const DataSetHandle& dataSet, const std::string& name);

}  // namespace h5
