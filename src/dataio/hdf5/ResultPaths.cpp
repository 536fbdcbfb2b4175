#include "dataio/hdf5/ResultPaths.hpp"

#include <iomanip>
#include <sstream>

namespace dataio {

std::string resultGroupPath(const std::string& dataPath) { return "/RESULTS/" + dataPath; }

// Built without a fixed buffer: data paths of any length, numbers of any size.
std::string resultStepPath(const std::string& dataPath, int step) {
  std::ostringstream path;
  path << resultGroupPath(dataPath) << '/' << std::internal << std::setfill('0') << std::setw(7) << step;
  return path.str();
}

}  // namespace dataio
