#include "results/xdmf/DryDepth.hpp"

#include "results/stored/OutputData.hpp"

namespace results {

double DryDepth::value() {
  if (read) return depth;
  read = true;
  depth = minimumWaterDepth(file);
  return depth;
}

}  // namespace results
