#pragma once
// Stored simulation times of the time-step results of a set of data paths.

#include <map>
#include <string>
#include <vector>

#include "interfaces/IH5Reader.hpp"

namespace api {

using TimeTable = std::map<double, int>;
using TimeIndex = std::map<double, std::vector<int>>;

class IResultReader : public virtual IH5Reader {
 public:
  virtual int findTimeIndex(const std::vector<std::string>& paths, const double& time, const int& precision) = 0;
  virtual void printTimes(const std::vector<std::string>& paths) = 0;
  virtual TimeTable getTimes(const std::vector<std::string>& paths, const bool& check) = 0;
  virtual TimeIndex collectTimes(const std::vector<std::string>& paths) = 0;
};

}  // namespace api
