#include "model/entities/Map.hpp"

namespace model {

Map::Map(MapID identifier, std::string entityName, std::string text, api::ISet* source, api::ISet* target,
         int entitySize)
    : Base(identifier, std::move(entityName), std::move(text), entitySize), BaseSet(source), targetSet(target) {}

std::string Map::getPath() const { return pathOnSet(); }

void Map::print() const {
  std::printf("Map: %s\n", name.c_str());
  printDimensions();
}

api::ISet* Map::getTargetSet() const { return targetSet; }

MapID Map::getID() const { return id; }

}  // namespace model
