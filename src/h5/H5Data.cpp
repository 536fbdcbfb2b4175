#include "h5/H5Data.hpp"

#include "h5/H5Calls.hpp"
#include "h5/H5Types.hpp"

namespace h5 {
namespace {

// Returns the strings that a variable-length read allocated to the library.
class ReadStrings {
 public:
  ReadStrings(const DataTypeHandle& memoryType, const DataSpaceHandle& space, std::size_t count)
      : type(memoryType), extent(space), pointers(count, nullptr) {}
  ~ReadStrings() {
    try {
      reclaimVariableLength(type, extent, pointers.data());
    } catch (const Exception&) {
      // Only memory is lost; the strings were already copied or never read.
    }
  }
  ReadStrings(const ReadStrings&) = delete;
  ReadStrings& operator=(const ReadStrings&) = delete;

  void* buffer() { return pointers.data(); }
  std::vector<std::string> copies() const {
    std::vector<std::string> texts;
    texts.reserve(pointers.size());
    for (const char* text : pointers) texts.emplace_back(text == nullptr ? "" : text);
    return texts;
  }

 private:
  const DataTypeHandle& type;
  const DataSpaceHandle& extent;
  std::vector<char*> pointers;
};

}  // namespace

std::vector<Extent> dimensionsOf(const DataSetHandle& dataSet, const std::string& path) {
  return extentOf(dataSetSpace(dataSet, path));
}

TypeClass typeClassOf(const DataSetHandle& dataSet, const std::string& path) {
  return typeClassOf(dataSetType(dataSet, path));
}

bool declaresMoreThanStored(const DataSetHandle& dataSet, const std::string& path) {
  if (!isContiguous(creationListOf(dataSet, path))) return false;
  const Extent points = pointCount(dataSetSpace(dataSet, path));
  const Extent valueSize = typeSizeOf(dataSetType(dataSet, path));
  const Extent stored = storageSizeOf(dataSet);
  return points > stored / valueSize;
}

void requireRank(const std::vector<Extent>& dimensions, std::size_t rank, const std::string& path) {
  if (dimensions.size() != rank)
    throw DataSpaceException("Impossible to read the dataset \"" + path + "\" of rank " +
                             std::to_string(dimensions.size()) + " into arrays of rank " + std::to_string(rank));
}

template <typename T>
std::vector<T> readValues(const DataSetHandle& dataSet, const std::string& path) {
  std::vector<T> values(static_cast<std::size_t>(pointCount(dataSetSpace(dataSet, path))));
  readDataSet(dataSet, nativeTypeOf<T>(), nullptr, nullptr, values.data(), path);
  return values;
}
template std::vector<int> readValues<int>(const DataSetHandle&, const std::string&);
template std::vector<double> readValues<double>(const DataSetHandle&, const std::string&);

void readValues(const DataSetHandle& dataSet, const std::string& path, std::vector<double>& values) {
  values.resize(static_cast<std::size_t>(pointCount(dataSetSpace(dataSet, path))));
  readDataSet(dataSet, nativeTypeOf<double>(), nullptr, nullptr, values.data(), path);
}

std::vector<std::string> readStrings(const DataSetHandle& dataSet, const std::string& path) {
  const DataSpaceHandle space = dataSetSpace(dataSet, path);
  // The library converts variable-length strings only within one character set.
  const DataTypeHandle type = variableStringType(characterSetOf(dataSetType(dataSet, path)));
  ReadStrings strings(type, space, static_cast<std::size_t>(pointCount(space)));
  readDataSet(dataSet, type, nullptr, nullptr, strings.buffer(), path);
  return strings.copies();
}

std::vector<std::vector<double>> readColumnSlice(const DataSetHandle& dataSet, const std::string& path,
                                                 Extent rows, Extent column) {
  const DataSpaceHandle fileSpace = dataSetSpace(dataSet, path);
  requireRank(extentOf(fileSpace), 2, path);
  if (rows == 0) return {};
  selectHyperslab(fileSpace, {0, column}, {rows, 1});
  const DataSpaceHandle memorySpace = createSimpleSpace({rows, 1});
  std::vector<double> values(static_cast<std::size_t>(rows));
  readDataSet(dataSet, nativeTypeOf<double>(), &memorySpace, &fileSpace, values.data(), path);
  std::vector<std::vector<double>> slice;
  slice.reserve(values.size());
  for (double value : values) slice.push_back({value});
  return slice;
}

void readRows(const DataSetHandle& dataSet, const DataSpaceHandle& fileSpace, const std::string& path, Extent first,
              Extent count, Extent columns, double* values) {
  if (count == 0 || columns == 0) return;
  selectHyperslab(fileSpace, {first, 0}, {count, columns});
  const DataSpaceHandle memorySpace = createSimpleSpace({count, columns});
  readDataSet(dataSet, nativeTypeOf<double>(), &memorySpace, &fileSpace, values, path);
}

void writeRows(const DataSetHandle& dataSet, const DataSpaceHandle& fileSpace, const std::string& path, Extent first,
               Extent count, Extent columns, const double* values) {
  if (count == 0 || columns == 0) return;
  selectHyperslab(fileSpace, {first, 0}, {count, columns});
  const DataSpaceHandle memorySpace = createSimpleSpace({count, columns});
  writeDataSet(dataSet, nativeTypeOf<double>(), &memorySpace, &fileSpace, values, path);
}

template <typename T>
void writeValues(const DataSetHandle& dataSet, const T* data, const std::string& path) {
  writeDataSet(dataSet, nativeTypeOf<T>(), nullptr, nullptr, data, path);
}
template void writeValues<int>(const DataSetHandle&, const int*, const std::string&);
template void writeValues<double>(const DataSetHandle&, const double*, const std::string&);

void writeStrings(const DataSetHandle& dataSet, const std::vector<std::string>& data, const std::string& path) {
  std::vector<const char*> pointers;
  pointers.reserve(data.size());
  for (const std::string& text : data) pointers.push_back(text.c_str());
  writeDataSet(dataSet, utf8StringType(), nullptr, nullptr, pointers.data(), path);
}

std::string sizeMismatchText(std::size_t vectorSize, std::size_t dataSetSize, std::size_t dimension) {
  return "Mismatch between vector size (" + std::to_string(vectorSize) + ") and dataset size (" +
         std::to_string(dataSetSize) + ") on dimension " + std::to_string(dimension);
}

}  // namespace h5
