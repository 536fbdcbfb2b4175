#pragma once
// Field carriers shared by the entity classes. Each derives virtually from its
// interface so that an entity combining several of them keeps one IBase part.

#include <cstdio>
#include <string>
#include <vector>

#include "interfaces/IEntities.hpp"
#include "model/catalogue/Catalogue.hpp"

namespace model {

template <typename ID>
class Base : public virtual api::IBase {
 public:
  std::string getName() const override { return name; }
  const char* getNameChars() const override { return name.c_str(); }
  int getSize() const override { return size; }
  bool isComputed() const override { return computed; }
  bool isStatic() const override { return staticFlag; }
  std::string getDescription() const override { return description; }

 protected:
  Base(ID identifier, std::string entityName, std::string text, int entitySize, bool computedFlag = false,
       bool staticData = false)
      : size(entitySize),
        id(identifier),
        name(std::move(entityName)),
        description(std::move(text)),
        computed(computedFlag),
        staticFlag(staticData) {}

  int size;
  ID id;
  std::string name;
  std::string description;
  bool computed;
  bool staticFlag;
};

template <typename ID>
class BaseSet : public virtual api::IBaseSet {
 public:
  api::ISet* getSet() const override { return set; }
  std::vector<int> getDimensions() const override { return {set->getSize(), getSize()}; }

 protected:
  explicit BaseSet(api::ISet* entitySet) : set(entitySet) {}

  // Where the entity lies in the results file, e.g. CellsAll/HydState.
  std::string pathOnSet() const { return set->getName() + "/" + getName(); }
  //  -> with dimension (1000/3)
  void printDimensions() const {
    const std::vector<int> dimensions = getDimensions();
    std::printf(" -> with dimension (%i/%i)\n", dimensions[0], dimensions[1]);
  }

  api::ISet* set;
};

inline std::string typeName(int typeCode) {
  switch (typeCode) {
    case typeInt: return "int";
    case typeDouble: return "double";
    case typeString: return "string";
    default: return "";
  }
}

template <typename ID>
class BaseData : public virtual api::IBaseData {
 public:
  std::string getTypeName() const override { return typeName(type); }
  bool isState() const override { return state; }

 protected:
  BaseData(int typeCode, bool stateFlag) : type(typeCode), state(stateFlag) {}

  int type;
  bool state;
};

}  // namespace model
