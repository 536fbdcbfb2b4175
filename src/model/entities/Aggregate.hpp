#pragma once

#include "model/entities/Base.hpp"

namespace model {

// A part of the simulation setup that brings a group of kernels.
class Aggregate : public Base<AggregateID>, public api::IAggregate {
 public:
  Aggregate(AggregateID identifier, std::string entityName, std::string text, int entitySize);

  std::string getPath() const override;
  void print() const override;
  AggregateID getID() const override;
};

}  // namespace model
