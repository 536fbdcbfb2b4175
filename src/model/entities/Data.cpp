#include "model/entities/Data.hpp"

namespace model {

Data::Data(DataID identifier, std::string entityName, std::string text, api::ISet* entitySet, bool computedFlag,
           bool staticData, int typeCode, int entitySize, bool stateFlag)
    : Base(identifier, std::move(entityName), std::move(text), entitySize, computedFlag, staticData),
      BaseData(typeCode, stateFlag),
      BaseSet(entitySet) {}

std::string Data::getPath() const { return pathOnSet(); }

void Data::print() const {
  std::printf("Data: %s (dtype=%s)\n", name.c_str(), getTypeName().c_str());
  printDimensions();
}

// Computed data and model state change from step to step; the rest is stored once.
bool Data::isTimeDependent() const { return computed || state; }

DataID Data::getID() const { return id; }

}  // namespace model
