#pragma once
// What the links of a file lead to, asked without following a link into
// another file: a results file names its steps, and a step that is a group or
// a link elsewhere is no step.

#include <string>
#include <vector>

#include "h5/H5Handle.hpp"

namespace h5 {

enum class LinkedObject { none, dataset, group, externalLink, other };
LinkedObject linkedObject(Id location, const std::string& path);

// The names a group holds, in the order of their names; none for a group
// that is not there.
std::vector<std::string> memberNames(Id location, const std::string& groupPath);

}  // namespace h5
