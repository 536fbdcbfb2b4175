#include "model/entities/Variable.hpp"

namespace model {

Variable::Variable(VariableID identifier, std::string entityName, std::string text, bool computedFlag,
                   bool staticData, int typeCode, int entitySize)
    : Base(identifier, std::move(entityName), std::move(text), entitySize, computedFlag, staticData),
      BaseData(typeCode, false) {}

std::string Variable::getPath() const { return name; }

void Variable::print() const {
  std::printf("Variable: %s (dtype=%s)\n", name.c_str(), getTypeName().c_str());
  std::printf(" -> with size %i\n", size);
}

bool Variable::isTimeDependent() const { return true; }

VariableID Variable::getID() const { return id; }

}  // namespace model
