#pragma once
// Groups: creation with missing parents, and the count of their members.

#include <string>

#include "h5/H5Handle.hpp"

namespace h5 {

void createGroupWithParents(Id location, const std::string& path);

// The number of objects directly inside the group at path.
Extent countObjects(Id location, const std::string& path);

}  // namespace h5
