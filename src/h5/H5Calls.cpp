#include "h5/H5Calls.hpp"

#include <hdf5.h>

#include <type_traits>

#include "h5/H5ErrorStack.hpp"
#include "h5/H5Exceptions.hpp"
#include "h5/H5ReadRecord.hpp"

namespace h5 {

static_assert(std::is_same_v<hid_t, Id>, "hid_t is no longer a 64-bit integer");
static_assert(std::is_same_v<hsize_t, Extent>, "hsize_t changed");

namespace {

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

// The failed action is described only when a call fails: the calls of a
// large export run by the million, and their names and paths would otherwise
// be joined into texts for each of them. A description is a text, or a
// function that writes one.
std::string described(const char* failedAction) { return failedAction; }
template <typename Describe>
std::string described(const Describe& describe) {
  return describe();
}

template <typename Failure, typename Describe>
void check(herr_t status, const Describe& failedAction) {
  if (status < 0) throwFailure<Failure>(described(failedAction));
}

template <typename Failure, Kind kind, typename Describe>
Handle<kind> owned(hid_t id, const Describe& failedAction) {
  if (id < 0) throwFailure<Failure>(described(failedAction));
  return Handle<kind>(id);
}

hid_t spaceOrAll(const DataSpaceHandle* space) { return space == nullptr ? H5S_ALL : space->id(); }

std::uint64_t bytesReadSoFar = 0;

}  // namespace

// The calls that may read a file are marked (LibraryCall): when the library
// crashes inside one of them, a damaged file is the cause.

void closeQuietly(Kind kind, Id id) noexcept {
  const LibraryCall call;
  switch (kind) {
    case Kind::File: H5Fclose(id); break;
    case Kind::Group: H5Gclose(id); break;
    case Kind::DataSet: H5Dclose(id); break;
    case Kind::DataSpace: H5Sclose(id); break;
    case Kind::Attribute: H5Aclose(id); break;
    case Kind::DataType: H5Tclose(id); break;
    case Kind::PropertyList: H5Pclose(id); break;
  }
}

FileHandle createFile(const std::string& name) {
  return owned<FileException, Kind::File>(H5Fcreate(name.c_str(), H5F_ACC_TRUNC, H5P_DEFAULT, H5P_DEFAULT),
                                          [&] { return "Unable to create file " + name; });
}

FileHandle openFile(const std::string& name, Access access) {
  const LibraryCall call;
  const unsigned flags = access == Access::ReadWrite ? H5F_ACC_RDWR : H5F_ACC_RDONLY;
  return owned<FileException, Kind::File>(H5Fopen(name.c_str(), flags, H5P_DEFAULT), [&] { return "Unable to open file " + name; });
}

void flushFile(Id file, const std::string& name) {
  const LibraryCall call;
  check<FileException>(H5Fflush(file, H5F_SCOPE_GLOBAL), [&] { return "Unable to flush file " + name; });
}

void closeFile(FileHandle& file, const std::string& name) {
  const LibraryCall call;
  check<FileException>(H5Fclose(file.release()), [&] { return "Unable to close file " + name; });
}

GroupHandle openGroup(Id location, const std::string& path) {
  const LibraryCall call;
  return owned<GroupException, Kind::Group>(H5Gopen2(location, path.c_str(), H5P_DEFAULT),
                                            [&] { return "Unable to open the group " + quoted(path); });
}

GroupHandle createGroup(Id location, const std::string& path, const PropertyListHandle& linkCreation) {
  return owned<GroupException, Kind::Group>(
      H5Gcreate2(location, path.c_str(), linkCreation.id(), H5P_DEFAULT, H5P_DEFAULT),
      [&] { return "Unable to create the group " + quoted(path); });
}

Extent countLinks(const GroupHandle& group) {
  const LibraryCall call;
  H5G_info_t info;
  check<GroupException>(H5Gget_info(group.id(), &info), "Unable to count objects in existing group or file");
  return info.nlinks;
}

bool linkExists(Id location, const std::string& path) {
  const LibraryCall call;
  return H5Lexists(location, path.c_str(), H5P_DEFAULT) > 0;
}

PropertyListHandle createLinkCreationList() {
  return owned<PropertyException, Kind::PropertyList>(H5Pcreate(H5P_LINK_CREATE),
                                                      "Unable to create the link creation property list");
}

void createIntermediateGroups(const PropertyListHandle& linkCreation) {
  check<PropertyException>(H5Pset_create_intermediate_group(linkCreation.id(), 1),
                           "Unable to switch on the creation of intermediate groups");
}

bool attributeExists(Id object, const std::string& name) {
  const LibraryCall call;
  const htri_t found = H5Aexists(object, name.c_str());
  check<AttributeException>(found, [&] { return "Unable to check for the attribute " + quoted(name); });
  return found > 0;
}

AttributeHandle openAttribute(Id object, const std::string& name) {
  const LibraryCall call;
  return owned<AttributeException, Kind::Attribute>(H5Aopen(object, name.c_str(), H5P_DEFAULT),
                                                    [&] { return "Unable to open the attribute " + quoted(name); });
}

AttributeHandle createAttribute(Id object, const std::string& name, const DataTypeHandle& type,
                                const DataSpaceHandle& space) {
  return owned<AttributeException, Kind::Attribute>(
      H5Acreate2(object, name.c_str(), type.id(), space.id(), H5P_DEFAULT, H5P_DEFAULT),
      [&] { return "Unable to create the attribute " + quoted(name); });
}

DataSpaceHandle attributeSpace(const AttributeHandle& attribute, const std::string& name) {
  const LibraryCall call;
  return owned<AttributeException, Kind::DataSpace>(H5Aget_space(attribute.id()),
                                                    [&] { return "Unable to get the dataspace of the attribute " + quoted(name); });
}

DataTypeHandle attributeType(const AttributeHandle& attribute, const std::string& name) {
  const LibraryCall call;
  return owned<AttributeException, Kind::DataType>(H5Aget_type(attribute.id()),
                                                   [&] { return "Unable to get the data type of the attribute " + quoted(name); });
}

void writeAttributeData(const AttributeHandle& attribute, const DataTypeHandle& memoryType, const void* buffer,
                    const std::string& name) {
  check<AttributeException>(H5Awrite(attribute.id(), memoryType.id(), buffer),
                            [&] { return "Unable to write the attribute " + quoted(name); });
}

void readAttributeData(const AttributeHandle& attribute, const DataTypeHandle& memoryType, void* buffer,
                   const std::string& name) {
  const LibraryCall call;
  check<AttributeException>(H5Aread(attribute.id(), memoryType.id(), buffer),
                            [&] { return "Unable to read the attribute " + quoted(name); });
}

DataSetHandle openDataSet(Id location, const std::string& path) {
  const LibraryCall call;
  return owned<DataSetException, Kind::DataSet>(H5Dopen2(location, path.c_str(), H5P_DEFAULT),
                                                [&] { return "Unable to open the dataset " + quoted(path); });
}

DataSetHandle createDataSet(Id location, const std::string& path, const DataTypeHandle& type,
                            const DataSpaceHandle& space) {
  return owned<DataSetException, Kind::DataSet>(
      H5Dcreate2(location, path.c_str(), type.id(), space.id(), H5P_DEFAULT, H5P_DEFAULT, H5P_DEFAULT),
      [&] { return "Unable to create the dataset " + quoted(path); });
}

DataSpaceHandle dataSetSpace(const DataSetHandle& dataSet, const std::string& path) {
  const LibraryCall call;
  return owned<DataSetException, Kind::DataSpace>(H5Dget_space(dataSet.id()),
                                                  [&] { return "Unable to get the dataspace of the dataset " + quoted(path); });
}

DataTypeHandle dataSetType(const DataSetHandle& dataSet, const std::string& path) {
  const LibraryCall call;
  return owned<DataSetException, Kind::DataType>(H5Dget_type(dataSet.id()),
                                                 [&] { return "Unable to get the data type of the dataset " + quoted(path); });
}

Extent storageSizeOf(const DataSetHandle& dataSet) {
  const LibraryCall call;
  return H5Dget_storage_size(dataSet.id());
}

PropertyListHandle creationListOf(const DataSetHandle& dataSet, const std::string& path) {
  const LibraryCall call;
  return owned<DataSetException, Kind::PropertyList>(
      H5Dget_create_plist(dataSet.id()), [&] { return "Unable to get the creation property list of the dataset " + quoted(path); });
}

bool isContiguous(const PropertyListHandle& creation) {
  const LibraryCall call;
  const H5D_layout_t layout = H5Pget_layout(creation.id());
  if (layout == H5D_LAYOUT_ERROR) throwFailure<PropertyException>("Unable to get the layout of a dataset");
  return layout == H5D_CONTIGUOUS;
}

void readDataSet(const DataSetHandle& dataSet, const DataTypeHandle& memoryType, const DataSpaceHandle* memorySpace,
                 const DataSpaceHandle* fileSpace, void* buffer, const std::string& path) {
  const LibraryCall call;
  check<DataSetException>(
      H5Dread(dataSet.id(), memoryType.id(), spaceOrAll(memorySpace), spaceOrAll(fileSpace), H5P_DEFAULT, buffer),
      [&] { return "Unable to read the dataset " + quoted(path); });
  const DataSpaceHandle whole = memorySpace || fileSpace ? DataSpaceHandle() : dataSetSpace(dataSet, path);
  const hid_t read = memorySpace ? memorySpace->id() : fileSpace ? fileSpace->id() : whole.id();
  const hssize_t points = H5Sget_select_npoints(read);
  if (points > 0) bytesReadSoFar += static_cast<std::uint64_t>(points) * H5Tget_size(memoryType.id());
}

std::uint64_t bytesRead() { return bytesReadSoFar; }

void writeDataSet(const DataSetHandle& dataSet, const DataTypeHandle& memoryType, const DataSpaceHandle* memorySpace,
                  const DataSpaceHandle* fileSpace, const void* buffer, const std::string& path) {
  check<DataSetException>(
      H5Dwrite(dataSet.id(), memoryType.id(), spaceOrAll(memorySpace), spaceOrAll(fileSpace), H5P_DEFAULT, buffer),
      [&] { return "Unable to write the dataset " + quoted(path); });
}

void reclaimVariableLength(const DataTypeHandle& memoryType, const DataSpaceHandle& space, void* buffer) {
  const LibraryCall call;
  check<DataSetException>(H5Dvlen_reclaim(memoryType.id(), space.id(), H5P_DEFAULT, buffer),
                          "Unable to release the variable-length data read");
}

DataSpaceHandle createSimpleSpace(const std::vector<Extent>& dimensions) {
  return owned<DataSpaceException, Kind::DataSpace>(
      H5Screate_simple(static_cast<int>(dimensions.size()), dimensions.data(), nullptr),
      "Unable to create the dataspace");
}

int rankOf(const DataSpaceHandle& space) {
  const LibraryCall call;
  const int rank = H5Sget_simple_extent_ndims(space.id());
  check<DataSpaceException>(rank, "Unable to get the rank of the dataspace");
  return rank;
}

std::vector<Extent> extentOf(const DataSpaceHandle& space) {
  const LibraryCall call;
  std::vector<Extent> dimensions(static_cast<std::size_t>(rankOf(space)));
  check<DataSpaceException>(H5Sget_simple_extent_dims(space.id(), dimensions.data(), nullptr),
                            "Unable to get the dimensions of the dataspace");
  return dimensions;
}

Extent pointCount(const DataSpaceHandle& space) {
  const LibraryCall call;
  const hssize_t points = H5Sget_simple_extent_npoints(space.id());
  if (points < 0) throwFailure<DataSpaceException>("Unable to count the points of the dataspace");
  return static_cast<Extent>(points);
}

void selectHyperslab(const DataSpaceHandle& space, const std::vector<Extent>& offset,
                     const std::vector<Extent>& count) {
  const LibraryCall call;
  check<DataSpaceException>(
      H5Sselect_hyperslab(space.id(), H5S_SELECT_SET, offset.data(), nullptr, count.data(), nullptr),
      "Unable to select the hyperslab");
}

DataTypeHandle copyType(Predefined type) {
  const hid_t source = type == Predefined::NativeInt      ? H5T_NATIVE_INT
                       : type == Predefined::NativeDouble ? H5T_NATIVE_DOUBLE
                                                          : H5T_C_S1;
  return owned<DataTypeException, Kind::DataType>(H5Tcopy(source), "Unable to copy the data type");
}

void setVariableLength(const DataTypeHandle& stringType) {
  check<DataTypeException>(H5Tset_size(stringType.id(), H5T_VARIABLE),
                           "Unable to make the string type variable-length");
}

CharacterSet characterSetOf(const DataTypeHandle& stringType) {
  const LibraryCall call;
  const H5T_cset_t characterSet = H5Tget_cset(stringType.id());
  check<DataTypeException>(characterSet, "Unable to get the character set of a string type");
  return characterSet == H5T_CSET_UTF8 ? CharacterSet::Utf8 : CharacterSet::Ascii;
}

TypeClass typeClassOf(const DataTypeHandle& type) {
  const LibraryCall call;
  const H5T_class_t typeClass = H5Tget_class(type.id());
  if (typeClass == H5T_NO_CLASS) throwFailure<DataTypeException>("Unable to get the class of a data type");
  switch (typeClass) {
    case H5T_INTEGER: return TypeClass::Integer;
    case H5T_FLOAT: return TypeClass::Float;
    case H5T_STRING: return TypeClass::String;
    default: return TypeClass::Other;
  }
}

std::size_t typeSizeOf(const DataTypeHandle& type) {
  const LibraryCall call;
  const std::size_t size = H5Tget_size(type.id());
  if (size == 0) throwFailure<DataTypeException>("Unable to get the size of a data type");
  return size;
}

void setCharacterSet(const DataTypeHandle& stringType, CharacterSet characterSet) {
  check<DataTypeException>(
      H5Tset_cset(stringType.id(), characterSet == CharacterSet::Utf8 ? H5T_CSET_UTF8 : H5T_CSET_ASCII),
      "Unable to set the character set of a string type");
}

}  // namespace h5
