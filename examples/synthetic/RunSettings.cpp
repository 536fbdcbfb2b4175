#include "synthetic/RunSettings.hpp"

#include <stdexcept>

namespace synthetic {

ModelKind parseModelKind(const std::string& name) {
  if (name == "hydraulics") {
    return ModelKind::hydraulics;
  }
  if (name == "morphology") {
    return ModelKind::morphology;
  }
  if (name == "flood") {
    return ModelKind::flood;
  }
  throw std::invalid_argument("unknown model kind \"" + name +
                              "\" (hydraulics, morphology or flood)");
}

}  // namespace synthetic
