#pragma once
// The stored datasets that a document's items read, checked from their
// metadata before anything is written: a viewer takes a dataset as the item
// declares it, one row per cell, so a step dataset that is missing, has other
// rows than the mesh has cells, or lacks a column that an item selects would
// give a document that looks valid and shows nothing or the wrong values.

#include <map>
#include <string>

#include "interfaces/IH5Reader.hpp"

namespace results {

class ReferenceCheck {
 public:
  ReferenceCheck(api::IH5Reader& reader, int cells);

  // Fails unless path is a two-dimensional table of numbers in the results
  // file with one row per cell and the column; output and time say who reads
  // it, for the message. A dataset is looked at once.
  void require(const std::string& path, int column, const std::string& output, double time);

  // The number of columns of a dataset that require passed, which the
  // document declares as its shape.
  int columnsOf(const std::string& path) const;

 private:
  struct Shape {
    unsigned long long rows = 0;
    unsigned long long columns = 0;
  };
  Shape checkedShape(const std::string& path, const std::string& output, double time);

  api::IH5Reader& reader;
  int cells;
  std::map<std::string, Shape> checked;
};

}  // namespace results
