#pragma once
// The few writes a results file needs, each one HDF5 call per dataset.

#include <string>
#include <vector>

#include "synthetic/Handle.hpp"

namespace synthetic {

Handle createFile(const std::string& path);

// Missing intermediate groups are created; every dataset gets the integer
// attribute "size" with its number of values. The open dataset is returned
// for further attributes.
Handle writeDoubleMatrix(hid_t file, const std::string& path, const std::vector<double>& values,
                         int columns);
Handle writeIntMatrix(hid_t file, const std::string& path, const std::vector<int>& values,
                      int columns);
// A one-dimensional dataset of one variable-length UTF-8 string.
void writeText(hid_t file, const std::string& path, const std::string& text);
void writeOneValue(hid_t file, const std::string& path, double value);

// A scalar attribute, such as the simulation time "t" of a step.
void writeDoubleAttribute(hid_t object, const std::string& name, double value);

}  // namespace synthetic
