#include "model/compose/ModelSource.hpp"

#include <iostream>
#include <memory>

#include "dataio/hdf5/H5Files.hpp"
#include "dataio/hdf5/ResultPaths.hpp"
#include "dataio/json/CommandFiles.hpp"
#include "model/catalogue/Catalogue.hpp"

namespace model {

namespace {

std::vector<AggregateID> aggregatesOf(const std::unique_ptr<api::ICommandFileReader>& reader) {
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
  const std::unique_ptr<api::IH5Reader> reader(dataio::createH5Reader(fileName));
  return reader->readStrings(dataio::archivedModelPath).at(0);
}

}  // namespace

std::vector<AggregateID> selectAggregates(const std::string& inputFile) {
  return aggregatesOf(std::unique_ptr<api::ICommandFileReader>(createCommandFileReader(inputFile)));
}

std::vector<AggregateID> selectArchivedAggregates(const std::string& resultsFile) {
  const std::string what = std::string("the archived text <") + dataio::archivedModelPath + "> of <" + resultsFile + ">";
  return aggregatesOf(
      std::unique_ptr<api::ICommandFileReader>(createCommandTextReader(readArchivedModel(resultsFile), what)));
}

}  // namespace model
