#pragma once
// Whole-dataset reads and writes of native int, double and UTF-8 strings, the
// read of one column of a two-dimensional dataset, reads and writes of runs of
// rows, and the packing of nested vectors into one row-order buffer.

#include <string>
#include <vector>

#include "h5/H5Calls.hpp"
#include "h5/H5Exceptions.hpp"
#include "h5/H5Handle.hpp"

namespace h5 {

std::vector<Extent> dimensionsOf(const DataSetHandle& dataSet, const std::string& path);
TypeClass typeClassOf(const DataSetHandle& dataSet, const std::string& path);

// A damaged dataspace can declare far more values than the file holds for
// them, and a read would first allocate them all. True when a contiguous
// dataset (the layout whose bytes the file holds one for one) declares more
// bytes than the file holds for it.
bool declaresMoreThanStored(const DataSetHandle& dataSet, const std::string& path);

// A DataSpaceException unless the dataset has the rank of the target arrays.
void requireRank(const std::vector<Extent>& dimensions, std::size_t rank, const std::string& path);

// All values in row order, converted to the native type (int or double).
template <typename T>
std::vector<T> readValues(const DataSetHandle& dataSet, const std::string& path);
// The same into `values`, whose storage is reused when it is large enough.
void readValues(const DataSetHandle& dataSet, const std::string& path, std::vector<double>& values);
std::vector<std::string> readStrings(const DataSetHandle& dataSet, const std::string& path);

// Column `column` of a two-dimensional dataset of `rows` rows, as rows of one value.
std::vector<std::vector<double>> readColumnSlice(const DataSetHandle& dataSet, const std::string& path,
                                                 Extent rows, Extent column);

// Rows [first, first + count) of a two-dimensional double dataset of
// `columns` columns, every column, in row order. fileSpace is the dataset's
// dataspace, kept by the caller across calls; each call replaces its
// selection. No rows or no columns read or write nothing.
void readRows(const DataSetHandle& dataSet, const DataSpaceHandle& fileSpace, const std::string& path, Extent first,
              Extent count, Extent columns, double* values);
void writeRows(const DataSetHandle& dataSet, const DataSpaceHandle& fileSpace, const std::string& path, Extent first,
               Extent count, Extent columns, const double* values);

// data holds as many values (int or double) as the dataset, in row order.
template <typename T>
void writeValues(const DataSetHandle& dataSet, const T* data, const std::string& path);
void writeStrings(const DataSetHandle& dataSet, const std::vector<std::string>& data, const std::string& path);

std::string sizeMismatchText(std::size_t vectorSize, std::size_t dataSetSize, std::size_t dimension);

// The rows one after the other; every row must hold `columns` values.
template <typename T>
std::vector<T> packRows(const std::vector<std::vector<T>>& rows, std::size_t columns) {
  std::vector<T> packed;
  packed.reserve(rows.size() * columns);
  for (const std::vector<T>& row : rows) {
    if (row.size() != columns) throw DataSetException(sizeMismatchText(row.size(), columns, 1));
    packed.insert(packed.end(), row.begin(), row.end());
  }
  return packed;
}

}  // namespace h5
