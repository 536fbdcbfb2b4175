#pragma once

#include "model/entities/Base.hpp"

namespace model {

// An indirection from the elements of its (source) set to those of its target set.
class Map : public Base<MapID>, public BaseSet<MapID>, public api::IMap {
 public:
  Map(MapID identifier, std::string entityName, std::string text, api::ISet* source, api::ISet* target,
      int entitySize);

  std::string getPath() const override;
  void print() const override;
  api::ISet* getTargetSet() const override;
  MapID getID() const override;

 private:
  api::ISet* targetSet;
};

}  // namespace model
