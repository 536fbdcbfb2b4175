#include "model/compose/ModelSource.hpp"

#include <iostream>
#include <memory>

#include "model/catalogue/Catalogue.hpp"
#include "dataio/hdf5/H5Reader.hpp"
#include "dataio/json/JSONReader.hpp"

namespace model {

std::vector<AggregateID> selectAggregates(const std::string& source) {
  const std::unique_ptr<api::ICommandFileReader> reader(createCommandFileReader(source));
  std::vector<AggregateID> aggregates;
  for (const auto& paths : AggregatePaths) {
    if (!reader->exists(paths.second)) continue;
    std::cout << " -> found aggregate <" << AggregateProps.at(paths.first).name << ">" << std::endl;
    aggregates.push_back(paths.first);
  }
  return aggregates;
}

// The reader is released on return, before the text is used.
std::string readArchivedModel(const std::string& fileName) {
  dataio::H5Reader reader(fileName);
  return reader.readStrings(".config/model").at(0);
}

}  // namespace model
