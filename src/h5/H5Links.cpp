#include "h5/H5Links.hpp"

#include <hdf5.h>

#include "h5/H5ReadRecord.hpp"

namespace h5 {

namespace {

LinkedObject probeLink(Id location, const std::string& path) {
  if (H5Lexists(location, path.c_str(), H5P_DEFAULT) <= 0) return LinkedObject::none;
  H5L_info_t link{};
  if (H5Lget_info(location, path.c_str(), &link, H5P_DEFAULT) < 0) return LinkedObject::other;
  if (link.type == H5L_TYPE_EXTERNAL) return LinkedObject::externalLink;
  // A soft link that leads nowhere is no object.
  if (H5Oexists_by_name(location, path.c_str(), H5P_DEFAULT) <= 0) return LinkedObject::none;
  const hid_t object = H5Oopen(location, path.c_str(), H5P_DEFAULT);
  if (object < 0) return LinkedObject::other;
  const H5I_type_t type = H5Iget_type(object);
  H5Oclose(object);
  if (type == H5I_DATASET) return LinkedObject::dataset;
  if (type == H5I_GROUP) return LinkedObject::group;
  return LinkedObject::other;
}

}  // namespace

// A probe: a missing intermediate group is a failure to the library.
LinkedObject linkedObject(Id location, const std::string& path) {
  const LibraryCall call;
  LinkedObject found = LinkedObject::other;
  H5E_BEGIN_TRY { found = probeLink(location, path); }
  H5E_END_TRY;
  return found;
}

namespace {

herr_t collectName(hid_t, const char* name, const H5L_info_t*, void* names) {
  static_cast<std::vector<std::string>*>(names)->emplace_back(name);
  return 0;
}

}  // namespace

std::vector<std::string> memberNames(Id location, const std::string& groupPath) {
  const LibraryCall call;
  std::vector<std::string> names;
  H5E_BEGIN_TRY {
    H5Literate_by_name(location, groupPath.c_str(), H5_INDEX_NAME, H5_ITER_INC, nullptr, collectName, &names,
                       H5P_DEFAULT);
  }
  H5E_END_TRY;
  return names;
}

}  // namespace h5
