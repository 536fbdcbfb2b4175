#pragma once
// One checked function per HDF5 C call: each calls the library and, only when
// the call fails, throws the exception of its kind with the failed action and
// the error stack text. No other code calls the C library.

#include <cstdint>
#include <string>
#include <vector>

#include "h5/H5Handle.hpp"

namespace h5 {

enum class Access { ReadOnly, ReadWrite };
enum class Predefined { NativeInt, NativeDouble, CString };
enum class CharacterSet { Ascii, Utf8 };
// The classes of stored values that the program tells apart.
enum class TypeClass { Integer, Float, String, Other };

// Files
FileHandle createFile(const std::string& name);  // truncates an existing file
FileHandle openFile(const std::string& name, Access access);
void flushFile(Id file, const std::string& name);
void closeFile(FileHandle& file, const std::string& name);

// Groups and links
GroupHandle openGroup(Id location, const std::string& path);
GroupHandle createGroup(Id location, const std::string& path, const PropertyListHandle& linkCreation);
Extent countLinks(const GroupHandle& group);
// A probe: false also when an intermediate group of path is missing, which
// the library reports as a failure.
bool linkExists(Id location, const std::string& path);

// Property lists
PropertyListHandle createLinkCreationList();
void createIntermediateGroups(const PropertyListHandle& linkCreation);

// Attributes
bool attributeExists(Id object, const std::string& name);
AttributeHandle openAttribute(Id object, const std::string& name);
AttributeHandle createAttribute(Id object, const std::string& name, const DataTypeHandle& type,
                                const DataSpaceHandle& space);
DataSpaceHandle attributeSpace(const AttributeHandle& attribute, const std::string& name);
DataTypeHandle attributeType(const AttributeHandle& attribute, const std::string& name);
void writeAttributeData(const AttributeHandle& attribute, const DataTypeHandle& memoryType, const void* buffer,
                    const std::string& name);
void readAttributeData(const AttributeHandle& attribute, const DataTypeHandle& memoryType, void* buffer,
                   const std::string& name);

// Datasets; a null space pointer stands for the whole dataset.
DataSetHandle openDataSet(Id location, const std::string& path);
DataSetHandle createDataSet(Id location, const std::string& path, const DataTypeHandle& type,
                            const DataSpaceHandle& space);
DataSpaceHandle dataSetSpace(const DataSetHandle& dataSet, const std::string& path);
DataTypeHandle dataSetType(const DataSetHandle& dataSet, const std::string& path);
// The bytes the file holds for the dataset's values; 0 also when none were written.
Extent storageSizeOf(const DataSetHandle& dataSet);
PropertyListHandle creationListOf(const DataSetHandle& dataSet, const std::string& path);
bool isContiguous(const PropertyListHandle& creation);
void readDataSet(const DataSetHandle& dataSet, const DataTypeHandle& memoryType, const DataSpaceHandle* memorySpace,
                 const DataSpaceHandle* fileSpace, void* buffer, const std::string& path);
void writeDataSet(const DataSetHandle& dataSet, const DataTypeHandle& memoryType, const DataSpaceHandle* memorySpace,
                  const DataSpaceHandle* fileSpace, const void* buffer, const std::string& path);
// The bytes that dataset reads have delivered so far, over all files.
std::uint64_t bytesRead();
void reclaimVariableLength(const DataTypeHandle& memoryType, const DataSpaceHandle& space, void* buffer);

// Dataspaces
DataSpaceHandle createSimpleSpace(const std::vector<Extent>& dimensions);
int rankOf(const DataSpaceHandle& space);
std::vector<Extent> extentOf(const DataSpaceHandle& space);
Extent pointCount(const DataSpaceHandle& space);
void selectHyperslab(const DataSpaceHandle& space, const std::vector<Extent>& offset,
                     const std::vector<Extent>& count);

// Data types
DataTypeHandle copyType(Predefined type);
void setVariableLength(const DataTypeHandle& stringType);
CharacterSet characterSetOf(const DataTypeHandle& stringType);
TypeClass typeClassOf(const DataTypeHandle& type);
std::size_t typeSizeOf(const DataTypeHandle& type);
void setCharacterSet(const DataTypeHandle& stringType, CharacterSet characterSet);

}  // namespace h5
