#pragma once

#include "model/entities/Base.hpp"

namespace model {

// A result quantity of a run, made of data columns and, when computed, one
// function entry per component.
class Output : public Base<OutputID>, public BaseData<OutputID>, public BaseSet<OutputID>, public api::IOutput {
 public:
  Output(OutputID identifier, std::string entityName, std::string text, api::ISet* entitySet, int typeCode,
         int entitySize, bool markedFlag);

  std::string getPath() const override;
  void print() const override;
  bool isTimeDependent() const override;
  OutputID getID() const override;
  void setDataColumns(const std::vector<DataColumn>& coldats, const std::vector<OutputFunction>& funcs) override;
  std::vector<DataID> getDataIDs() const override;
  std::vector<DataColumn> getDataColumns() const override;
  int getNrDataFunctions() const override;
  OutputFunction getDataFunction(int position) const override;
  std::vector<int> getRepeatedColumns() const override;
  bool isMarked() const override;

 private:
  std::vector<DataColumn> columns;
  std::vector<OutputFunction> functions;
  bool marked;
};

}  // namespace model
