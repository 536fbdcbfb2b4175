#include "model/entities/Set.hpp"

namespace model {

Set::Set(SetID identifier, std::string entityName, std::string text, int entitySize)
    : Base(identifier, std::move(entityName), std::move(text), entitySize) {}

std::string Set::getPath() const { return name + "/set"; }

void Set::print() const { std::printf("Set: %s (N=%i)\n", getPath().c_str(), size); }

void Set::setSize(int elements) { size = elements; }

std::string Set::getSetName() const { return name; }

SetID Set::getID() const { return id; }

}  // namespace model
