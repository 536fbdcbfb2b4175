#pragma once
// The entities of a composed model. IBase is a virtual base of every entity
// interface, so an entity has exactly one IBase part whatever path reaches it.

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "interfaces/ModelIdentifiers.hpp"

namespace model {

// Threshold depth and the values of an output's data columns for one element.
using TransformFunction = std::function<double(const double&, const std::vector<double>&)>;
// An XDMF function text over the selected columns ($0, $1, ...) and the same
// computation as a callable.
using OutputFunction = std::pair<std::string, TransformFunction>;
using DataColumn = std::pair<DataID, int>;

}  // namespace model

namespace api {

class ISet;

class IBase {
 public:
  virtual ~IBase() = default;
  virtual std::string getName() const = 0;
  virtual const char* getNameChars() const = 0;
  virtual std::string getPath() const = 0;
  virtual int getSize() const = 0;
  virtual bool isComputed() const = 0;
  virtual bool isStatic() const = 0;
  virtual std::string getDescription() const = 0;
  virtual void print() const = 0;
};

class IAggregate : public virtual IBase {
 public:
  virtual model::AggregateID getID() const = 0;
};

class ISet : public virtual IBase {
 public:
  virtual void setSize(int size) = 0;
  virtual std::string getSetName() const = 0;
  virtual model::SetID getID() const = 0;
};

class IBaseSet : public virtual IBase {
 public:
  virtual ISet* getSet() const = 0;
  // The set's number of elements, then the entity's number of columns.
  virtual std::vector<int> getDimensions() const = 0;
};

class IKernel : public virtual IBaseSet {
 public:
  virtual model::KernelID getID() const = 0;
  virtual void setExtraData(const std::vector<model::DataID>& data) = 0;
  virtual std::vector<model::DataID> getExtraData() const = 0;
};

class IMap : public virtual IBaseSet {
 public:
  virtual ISet* getTargetSet() const = 0;
  virtual model::MapID getID() const = 0;
};

class IBaseData : public virtual IBase {
 public:
  virtual std::string getTypeName() const = 0;
  virtual bool isState() const = 0;
  virtual bool isTimeDependent() const = 0;
};

class IData : public virtual IBaseData, public virtual IBaseSet {
 public:
  virtual model::DataID getID() const = 0;
};

class IParameter : public virtual IBaseData {
 public:
  virtual model::ParameterID getID() const = 0;
};

class IVariable : public virtual IBaseData {
 public:
  virtual model::VariableID getID() const = 0;
};

class IOutput : public virtual IBaseData, public virtual IBaseSet {
 public:
  virtual model::OutputID getID() const = 0;
  virtual void setDataColumns(const std::vector<model::DataColumn>& columns,
                              const std::vector<model::OutputFunction>& functions) = 0;
  virtual std::vector<model::DataID> getDataIDs() const = 0;
  virtual std::vector<model::DataColumn> getDataColumns() const = 0;
  virtual int getNrDataFunctions() const = 0;
  virtual model::OutputFunction getDataFunction(int position) const = 0;
  virtual std::vector<int> getRepeatedColumns() const = 0;
  virtual bool isMarked() const = 0;
};

}  // namespace api
