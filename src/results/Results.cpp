#include "Results.hpp"

#include <fstream>
#include <iostream>

#include "Factory.hpp"
#include "Failure.hpp"
#include "FileReferences.hpp"
#include "JSONReader.hpp"
#include "OutputTargets.hpp"
#include "ResultReader.hpp"
#include "ResultsMesh.hpp"
#include "RunArchive.hpp"
#include "XdmfFormat.hpp"

namespace results {

namespace {

const std::string blockName = "RESULTS";
const std::string exportList = "/EXPORT";
const std::string exportPath = blockName + exportList;
const std::string formatKey = "format";
const std::string archiveGroup = ".config";
const std::string separator = "/";
const std::string modelDataset = archiveGroup + separator + "model";

enum class FormatKind { xdmf };
const std::map<std::string, FormatKind> formatTable = {{"xdmf", FormatKind::xdmf}};

}  // namespace

Results::Results(const std::string& configFile, const std::string& resultsFile) : configurationFile(configFile) {
  model.reset(compose(resultsFile));
  config.reset(createCommandFileReader(configFile));
  reader.reset(dataio::createResultReader(resultsFile));
  readerView = reader.get();
  modelView = model.get();
  model->defineOutputs(simulationOutputs(*reader));
}

Results::~Results() {
  model.reset();
  reader.reset();
  config.reset();
  formats.clear();
}

void Results::restoreArchive(const std::string& archiveFile) {
  std::cout << " -> " << "restoring the model and simulation configuration to file <" << archiveFile << ">"
            << std::endl;
  OutputTargets(reader->getFileName(), configurationFile).refuseInput(archiveFile);
  const std::string modelText = reader->readStrings(modelDataset).at(0);
  std::ofstream archive(archiveFile, std::ios::binary | std::ios::trunc);
  archive << modelText;
  archive.close();
  if (!archive) failure::fail("cannot write the archive to file <", archiveFile, ">");
}

void Results::exportResults(const int& debugLevel, const std::string& outputFile) {
  bool found = false;
  const int n = config->getSize(exportPath, found);
  const std::string stem = outputStem(outputFile);
  if (!found || n == 0) failure::fail("no outputs defined");

  OutputTargets targets(reader->getFileName(), configurationFile);
  targets.refuseInput(stem + ".xdmf");
  targets.refuseInput(stem + "_aux.h5");
  const bool announce = anyEntrySelects(*config, n);
  for (int i = 0; i < n; ++i) {
    const std::string name = config->getItemString(exportPath, i, formatKey, found);
    if (formatTable.count(name) == 0) failure::fail("output format <", name, "> not valid");
    ExportSelection selection = resolveSelection(readExportRequest(*config, i), outputFile, *model, *reader);
    selection.announce = announce;
    targets.claim(selection);
    addFormat(selection);
  }
  for (const auto& format : formats) format->exportData(debugLevel);
  for (const std::string& meshFile : targets.meshFiles()) writeMeshFile(*reader, *model, meshFile);
  for (auto& entry : auxiliaryFiles) entry.second->close();
}

void Results::addFormat(const ExportSelection& selection) {
  const std::string location = resolvedLocation(selection.auxiliaryFile());
  const auto shared = auxiliaryFiles.find(location);
  const std::shared_ptr<api::IH5Writer> auxiliaryFile = shared == auxiliaryFiles.end() ? nullptr : shared->second;
  auto format = std::make_unique<XdmfFormat>(readerView, modelView, selection, auxiliaryFile);
  auxiliaryFiles.emplace(location, format->auxiliaryFile());
  formats.push_back(std::move(format));
}

}  // namespace results

api::IResults* createResults(const std::string& configFile, const std::string& resultsFile) {
  return new results::Results(configFile, resultsFile);
}
