#include "model/entities/Parameter.hpp"

namespace model {

Parameter::Parameter(ParameterID identifier, std::string entityName, std::string text, bool computedFlag,
                     bool staticData, int typeCode, int entitySize)
    : Base(identifier, std::move(entityName), std::move(text), entitySize, computedFlag, staticData),
      BaseData(typeCode, false) {}

std::string Parameter::getPath() const { return "Parameters/" + name; }

void Parameter::print() const {
  std::printf("Parameter: %s (dtype=%s)\n", name.c_str(), getTypeName().c_str());
  std::printf(" -> with size %i\n", size);
}

bool Parameter::isTimeDependent() const { return false; }

ParameterID Parameter::getID() const { return id; }

}  // namespace model
