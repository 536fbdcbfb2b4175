#include "model/entities/Aggregate.hpp"

namespace model {

Aggregate::Aggregate(AggregateID identifier, std::string entityName, std::string text, int entitySize)
    : Base(identifier, std::move(entityName), std::move(text), entitySize) {}

std::string Aggregate::getPath() const { return name; }

void Aggregate::print() const { std::printf("Aggregate: %s\n", name.c_str()); }

AggregateID Aggregate::getID() const { return id; }

}  // namespace model
