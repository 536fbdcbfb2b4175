#include "dataio/hdf5/ResultReader.hpp"

#include <algorithm>
#include <cmath>
#include <iostream>

#include "h5/H5Links.hpp"
#include "interfaces/Failure.hpp"

namespace dataio {
namespace {

// The rounding factor 10^precision is a 32-bit integer: a negative precision
// gives 0, so that no time matches (-1); beyond 9 places the factor cannot be
// held, and such a precision is refused rather than compared with a wrong one.
constexpr int maxPrecision = 9;

std::vector<int> distinct(std::vector<int> steps) {
  std::sort(steps.begin(), steps.end());
  steps.erase(std::unique(steps.begin(), steps.end()), steps.end());
  return steps;
}

}  // namespace

ResultReader::ResultReader(const std::string& fileName) : H5Reader(fileName) {}

api::IResultReader* createResultReader(const std::string& fileName) { return new ResultReader(fileName); }

// A step without a time, or with one that cannot be ordered or written as a
// number (NaN, an infinity), would corrupt the time table.
double ResultReader::readStepTime(const std::string& stepPath) {
  requireStepDataset(stepPath);
  const std::optional<api::AttributeInfo> stored = getAttributeInfo(stepPath, "t");
  if (!stored) failure::fail("time step <", stepPath, "> in file <", getFileName(), "> has no attribute t!");
  const bool number = stored->valueClass == api::ValueClass::Float || stored->valueClass == api::ValueClass::Integer;
  if (!number || stored->values != 1)
    failure::fail("time step <", stepPath, "> in file <", getFileName(), "> has a time that is not a number");
  const std::optional<double> t = findDoubleAttribute(stepPath, "t");
  if (!t) failure::fail("time step <", stepPath, "> in file <", getFileName(), "> has no attribute t!");
  if (!std::isfinite(*t)) failure::fail("time step <", stepPath, "> in file <", getFileName(), "> has no valid time!");
  return *t;
}

// Steps are datasets named by their number, stored in this file: the library's
// own words for anything else name no step.
void ResultReader::requireStepDataset(const std::string& stepPath) {
  const std::string file = getFileName();
  switch (h5::linkedObject(fileId(), stepPath)) {
    case h5::LinkedObject::dataset: return;
    case h5::LinkedObject::group:
      failure::fail("time step <", stepPath, "> in file <", file, "> is a group, not a dataset");
    case h5::LinkedObject::externalLink:
      failure::fail("time step <", stepPath, "> in file <", file,
                    "> is a link to another file, which the export does not follow");
    case h5::LinkedObject::other:
      failure::fail("time step <", stepPath, "> in file <", file, "> is no dataset");
    case h5::LinkedObject::none: break;
  }
  const std::string group = stepPath.substr(0, stepPath.find_last_of('/'));
  for (const std::string& name : h5::memberNames(fileId(), group))
    if (name.find_first_not_of("0123456789") != std::string::npos)
      failure::fail("time step <", stepPath, "> is not in file <", file, ">: its group <", group, "> holds <",
                    name, "> in its place, which is no step number");
  // A gap in the numbering is left to the attribute check, which says so.
}

api::TimeIndex ResultReader::collectTimes(const std::vector<std::string>& paths) {
  api::TimeIndex index;
  for (const std::string& path : paths) {
    const int n = getNrObjects(resultGroupPath(path));
    for (int step = 0; step < n; ++step) index[readStepTime(resultStepPath(path, step))].push_back(step);
  }
  return index;
}

api::TimeTable ResultReader::getTimes(const std::vector<std::string>& paths, const bool& check) {
  api::TimeTable table;
  for (const auto& it : collectTimes(paths)) {
    if (check) RESULTS_CHECK(it.second.size() == paths.size(), "not all needed results are found for t=", it.first, "s");
    const std::vector<int> steps = distinct(it.second);
    if (steps.size() > 1)
      failure::fail("corrupt result file! the time t = ", it.first, " s belongs to step ", steps[0], " and to step ",
                    steps[1]);
    table.emplace(it.first, steps.front());
  }
  return table;
}

int ResultReader::findTimeIndex(const std::vector<std::string>& paths, const double& time, const int& precision) {
  if (precision > maxPrecision)
    failure::fail("time precision of ", precision, " decimal places is beyond the supported ", maxPrecision, "!");
  const api::TimeTable table = getTimes(paths, true);
  const double f = static_cast<int>(std::pow(10.0, precision));
  for (const auto& [t, step] : table)
    if (std::round(f * time) / f == std::round(f * t) / f) return step;
  return -1;
}

void ResultReader::printTimes(const std::vector<std::string>& paths) {
  for (const auto& entry : getTimes(paths, true))
    if (entry.first >= 0.0) std::cout << " -> " << "t[s]: " << entry.first << std::endl;
}

}  // namespace dataio
