#pragma once
// A look inside a results file without exporting it: what the run was made
// of, its mesh, the times it stored and the outputs it can give. Reads only;
// a file that cannot be read fails as it would in an export.

#include <cstddef>
#include <ostream>
#include <string>

#include "interfaces/IResultReader.hpp"

namespace results {

// The stored times of one data path.
struct StoredTimes {
  std::size_t count = 0;
  double first = 0.0;
  double last = 0.0;
  // Between neighbouring times; both zero below two times.
  double smallestInterval = 0.0;
  double largestInterval = 0.0;
  // Set when two of the times look alike with ten significant digits: they
  // are then shown in the shortest form that reads back as each double.
  bool closerThanTenDigits = false;
};

StoredTimes summariseTimes(const api::TimeTable& times);

// Composes the model from the file's archive (with composition's progress
// lines on standard output) and writes the report to out.
void printResultsInfo(const std::string& resultsFile, std::ostream& out);

}  // namespace results
