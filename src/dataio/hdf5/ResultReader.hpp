#pragma once
// The stored simulation times of the time-step results of a set of data
// paths. Under "/RESULTS/" + data path, step objects "0000000", "0000001", ...
// each carry their time in the double attribute "t".

#include <string>
#include <vector>

#include "dataio/hdf5/H5Files.hpp"
#include "dataio/hdf5/H5Reader.hpp"
#include "dataio/hdf5/ResultPaths.hpp"
#include "interfaces/IResultReader.hpp"

namespace dataio {

class ResultReader : public H5Reader, public api::IResultReader {
 public:
  explicit ResultReader(const std::string& fileName);

  // The step whose time equals time when both are rounded to precision
  // decimal places, or -1.
  int findTimeIndex(const std::vector<std::string>& paths, const double& time, const int& precision) override;
  // " -> t[s]: " + time for every stored time that is not negative.
  void printTimes(const std::vector<std::string>& paths) override;
  // Each time with the one step number that all paths holding it agree on;
  // with check, every path must hold every time.
  api::TimeTable getTimes(const std::vector<std::string>& paths, const bool& check) override;
  // Each time with the step numbers at which the paths hold it.
  api::TimeIndex collectTimes(const std::vector<std::string>& paths) override;

 private:
  double readStepTime(const std::string& stepPath);
  void requireStepDataset(const std::string& stepPath);
};

}  // namespace dataio
