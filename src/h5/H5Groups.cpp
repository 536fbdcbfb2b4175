#include "h5/H5Groups.hpp"

#include "h5/H5Calls.hpp"

namespace h5 {

void createGroupWithParents(Id location, const std::string& path) {
  const PropertyListHandle linkCreation = createLinkCreationList();
  createIntermediateGroups(linkCreation);
  createGroup(location, path, linkCreation);
}

Extent countObjects(Id location, const std::string& path) { return countLinks(openGroup(location, path)); }

}  // namespace h5
