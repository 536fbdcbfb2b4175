#include "model/entities/Output.hpp"

#include <algorithm>

#include "interfaces/Failure.hpp"

namespace model {

Output::Output(OutputID identifier, std::string entityName, std::string text, api::ISet* entitySet, int typeCode,
               int entitySize, bool markedFlag)
    : Base(identifier, std::move(entityName), std::move(text), entitySize),
      BaseData(typeCode, false),
      BaseSet(entitySet),
      marked(markedFlag) {}

std::string Output::getPath() const { return pathOnSet(); }

void Output::print() const {
  std::printf("Output: %s (dtype=%s)\n", name.c_str(), getTypeName().c_str());
  printDimensions();
}

bool Output::isTimeDependent() const { return false; }

OutputID Output::getID() const { return id; }

// A computed output needs one function per component; a stored one reads one
// column per component.
void Output::setDataColumns(const std::vector<DataColumn>& coldats, const std::vector<OutputFunction>& funcs) {
  if (!funcs.empty()) {
    RESULTS_CHECK((int)funcs.size() == this->getSize(), "number of functions must match the output size,");
  } else {
    RESULTS_CHECK((int)coldats.size() == this->getSize(), "number of data columns do not match the output size");
  }
  columns = coldats;
  functions = funcs;
}

std::vector<DataID> Output::getDataIDs() const {
  std::vector<DataID> ids;
  for (const DataColumn& column : columns) ids.push_back(column.first);
  std::sort(ids.begin(), ids.end());
  ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
  return ids;
}

std::vector<DataColumn> Output::getDataColumns() const { return columns; }

int Output::getNrDataFunctions() const { return static_cast<int>(functions.size()); }

OutputFunction Output::getDataFunction(int position) const { return functions.at(position); }

// Position i once for every later position holding the same column (delta_z: {0}).
std::vector<int> Output::getRepeatedColumns() const {
  std::vector<int> repeated;
  const int count = static_cast<int>(columns.size());
  for (int i = 0; i < count; ++i) {
    for (int j = i + 1; j < count; ++j) {
      if (columns[i] == columns[j]) repeated.push_back(i);
    }
  }
  return repeated;
}

bool Output::isMarked() const { return marked; }

}  // namespace model
