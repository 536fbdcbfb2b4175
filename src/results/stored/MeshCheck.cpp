#include "results/stored/MeshCheck.hpp"

#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

#include "interfaces/Failure.hpp"

namespace results {
namespace {

constexpr unsigned long long valuesPerRow = 3;

std::string valuesOf(api::ValueClass valueClass) {
  switch (valueClass) {
    case api::ValueClass::Integer: return "integers";
    case api::ValueClass::Float: return "floating-point values";
    case api::ValueClass::String: return "strings";
    case api::ValueClass::Other: break;
  }
  return "values of another type";
}

std::string rowsText(unsigned long long rows) { return std::to_string(rows) + (rows == 1 ? " row" : " rows"); }

// " -> mesh dataset <CellsAll/Topology> in file <run.h5>: expected 3 columns, found 4 columns"
[[noreturn]] void reject(api::IH5Reader& reader, const std::string& path, const std::string& expected,
                         const std::string& found) {
  failure::fail("mesh dataset <", path, "> in file <", reader.getFileName(), ">: expected ", expected, ", found ",
                found);
}

void checkSize(api::IH5Reader& reader, const std::string& path, const std::optional<api::AttributeInfo>& size,
               unsigned long long values) {
  const std::string expected = "the attribute size = " + std::to_string(values) + " (3 values per row)";
  if (!size) reject(reader, path, expected, "no attribute size");
  if (size->valueClass != api::ValueClass::Integer)
    reject(reader, path, expected, "an attribute size of " + valuesOf(size->valueClass));
  if (size->values != 1)
    reject(reader, path, expected, "an attribute size of " + std::to_string(size->values) + " values");
  const long long stored = reader.readIntAttribute(path, "size");
  if (stored < 0 || static_cast<unsigned long long>(stored) != values)
    reject(reader, path, expected, "size = " + std::to_string(stored));
}

// The number of rows of a table of three columns, with its "size".
int checkedRows(api::IH5Reader& reader, const std::string& path, api::ValueClass valueClass,
                unsigned long long minimumRows) {
  // Asked first: a missing dataset is reported as every attribute read reports it.
  const std::optional<api::AttributeInfo> size = reader.getAttributeInfo(path, "size");
  const api::DatasetInfo info = reader.getDatasetInfo(path);
  const std::size_t rank = info.extents.size();
  if (rank != 2) reject(reader, path, "a two-dimensional dataset", "one of rank " + std::to_string(rank));
  const unsigned long long rows = info.extents[0];
  const unsigned long long columns = info.extents[1];
  if (columns != valuesPerRow) reject(reader, path, "3 columns", std::to_string(columns) + " columns");
  if (info.valueClass != valueClass) reject(reader, path, valuesOf(valueClass), valuesOf(info.valueClass));
  if (rows < minimumRows)
    reject(reader, path, "at least " + rowsText(minimumRows), rowsText(rows));
  // The size is an int, so that rows that pass fit an int too.
  checkSize(reader, path, size, valuesPerRow * rows);
  return static_cast<int>(rows);
}

// In runs of rows, so that a large mesh is checked in little memory.
void checkNodeNumbers(api::IH5Reader& reader, const std::string& path, int cells, int nodes) {
  constexpr int rowsPerRead = 1 << 16;
  const std::unique_ptr<api::IRowReader> rows = reader.openRows(path);
  std::vector<double> values;
  for (int first = 0; first < cells; first += rowsPerRead) {
    const int count = std::min(rowsPerRead, cells - first);
    values.resize(static_cast<std::size_t>(count) * valuesPerRow);
    rows->read(first, count, values.data());
    for (std::size_t i = 0; i < values.size(); ++i) {
      const double node = values[i];
      if (node >= 0 && node < nodes) continue;
      reject(reader, path, "node numbers from 0 to " + std::to_string(nodes - 1),
             std::to_string(static_cast<long long>(node)) + " in row " + std::to_string(first + i / valuesPerRow));
    }
  }
}

}  // namespace

Mesh checkMesh(api::IH5Reader& reader, const std::string& topologyPath, const std::string& coordinatesPath) {
  Mesh mesh;
  mesh.cells = checkedRows(reader, topologyPath, api::ValueClass::Integer, 1);
  mesh.nodes = checkedRows(reader, coordinatesPath, api::ValueClass::Float, 3);
  checkNodeNumbers(reader, topologyPath, mesh.cells, mesh.nodes);
  return mesh;
}

}  // namespace results
