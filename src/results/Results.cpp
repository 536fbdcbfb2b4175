#include "results/Results.hpp"

#include <fstream>
#include <iostream>

#include "dataio/hdf5/H5Files.hpp"
#include "dataio/hdf5/ResultPaths.hpp"
#include "dataio/json/CommandFiles.hpp"
#include "interfaces/EchoedText.hpp"
#include "interfaces/Failure.hpp"
#include "model/catalogue/Catalogue.hpp"
#include "model/compose/Factory.hpp"
#include "results/files/FileReferences.hpp"
#include "results/files/FolderLocks.hpp"
#include "results/files/OutputNames.hpp"
#include "results/files/OutputTransaction.hpp"
#include "results/files/XmlSafeName.hpp"
#include "results/selection/OutputTargets.hpp"
#include "results/stored/MeshCheck.hpp"
#include "results/stored/ResultsMesh.hpp"
#include "results/stored/RunArchive.hpp"
#include "results/xdmf/XdmfFormat.hpp"

namespace results {

namespace {

const std::string formatKey = "format";

enum class FormatKind { xdmf };
const std::map<std::string, FormatKind> formatTable = {{"xdmf", FormatKind::xdmf}};

// Each file of the entry is checked, then given its staged name: the
// auxiliary file first, as the commit puts the files in place in this order.
void stageFiles(OutputTransaction& transaction, const ExportSelection& selection) {
  for (const OutputFile& file : selection.outputFiles()) {
    requireXmlSafeName(file.role, file.name);
    const std::string reason = whyNotReplaceable(file.name);
    if (!reason.empty()) failure::fail("cannot write <", file.name, ">: ", reason);
    if (file.role == "mesh file" && isSomeoneElsesMeshFile(file.name))
      failure::fail("cannot write <", file.name, ">: it is a mesh this tool did not write (the run's own input mesh?), ",
                    "which an export never replaces; name the document otherwise or move that file");
    transaction.stage(file.name);
  }
}

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

// The archive is written under a staged name and put in place once it is
// whole, as the exports are.
void Results::restoreArchive(const std::string& archiveFile) {
  std::cout << " -> " << "restoring the model and simulation configuration to file <" << text::echoed(archiveFile) << ">"
            << std::endl;
  OutputTargets(reader->getFileName(), configurationFile).refuseInput(archiveFile);
  if (!whyNotReplaceable(archiveFile).empty()) failure::fail("cannot write the archive to file <", archiveFile, ">");
  const std::string modelText = reader->readStrings(dataio::archivedModelPath).at(0);
  OutputTransaction transaction;
  std::ofstream archive(transaction.stage(archiveFile), std::ios::binary | std::ios::trunc);
  archive << modelText;
  archive.close();
  if (!archive) failure::fail("cannot write the archive to file <", archiveFile, ">");
  transaction.commit();
}

// Nothing is written before every entry is resolved, every file name checked
// and the mesh found sound; nothing is put in place before every export has
// succeeded.
void Results::exportResults(const int& debugLevel, const std::string& outputFile) {
  bool found = false;
  const int n = config->getSize(exportListPath, found);
  const std::string stem = outputStem(outputFile);
  if (!found || n == 0) failure::fail("no outputs defined");

  OutputTargets targets(reader->getFileName(), configurationFile);
  targets.refuseInput(documentOf(stem));
  targets.refuseInput(auxiliaryFileOf(stem));
  const bool announce = anyEntrySelects(*config, n);
  std::vector<ExportSelection> selections;
  for (int i = 0; i < n; ++i) {
    const std::string name = config->getItemString(exportListPath, i, formatKey, found);
    if (formatTable.count(name) == 0) failure::fail("output format <", name, "> not valid");
    ExportSelection selection = resolveSelection(readExportRequest(*config, i), outputFile, *model, *reader);
    selection.announce = announce;
    selection.oneThread = oneThread;
    targets.claim(selection);
    selections.push_back(selection);
  }
  requireXmlSafeName("results file", reader->getFileName());
  std::vector<std::string> written;
  for (const ExportSelection& selection : selections)
    for (const OutputFile& file : selection.outputFiles()) written.push_back(file.name);
  const FolderLocks locks(written);
  OutputTransaction transaction;
  for (const ExportSelection& selection : selections) stageFiles(transaction, selection);
  const Mesh mesh = checkMesh(*reader, model->getData(model::data_Topology)->getPath(),
                              model->getData(model::data_Coordnts_Nodes)->getPath());
  const std::vector<std::optional<RasterGrid>> grids = mapGrids(selections);
  transaction.writing([&] {
    for (std::size_t k = 0; k < selections.size(); ++k)
      addFormat(selections[k], mesh, transaction, grids[k] ? &*grids[k] : nullptr);
    for (const auto& format : formats) format->exportData(debugLevel);
    for (const std::string& meshFile : targets.meshFiles()) writeMeshFile(*reader, *model, transaction.stage(meshFile));
    for (auto& entry : auxiliaryFiles) entry.second->close();
  });
  transaction.commit();
}

std::vector<std::optional<RasterGrid>> Results::mapGrids(const std::vector<ExportSelection>& selections) {
  std::vector<std::optional<RasterGrid>> grids;
  // The maps share the gauges' mesh when there is one; alone, they need no
  // spatial index.
  for (const ExportSelection& selection : selections)
    if (!selection.hydrographs.empty()) meshGeometry();
  for (const ExportSelection& selection : selections) {
    if (!selection.maps.enabled) {
      grids.emplace_back();
      continue;
    }
    const std::string member = entryPath(selection.entry) + "/maps";
    requireFiniteNodes(planeMesh(), member);
    grids.emplace_back(alignedGrid(planeMesh().bounds(), selection.maps.cellSize, member + "/cell_size"));
  }
  return grids;
}

void Results::addFormat(const ExportSelection& selection, const Mesh& mesh, OutputTransaction& transaction,
                        const RasterGrid* mapGrid) {
  const std::string location = resolvedLocation(selection.auxiliaryFile());
  auto shared = auxiliaryFiles.find(location);
  if (shared == auxiliaryFiles.end()) {
    const std::shared_ptr<api::IH5Writer> file(dataio::createH5Writer(transaction.stage(selection.auxiliaryFile())));
    shared = auxiliaryFiles.emplace(location, file).first;
  }
  const std::string envelopeDocument = selection.envelopes ? transaction.stage(selection.envelopeDocument()) : "";
  auto format = std::make_unique<XdmfFormat>(readerView, modelView, selection, mesh, shared->second,
                                             transaction.stage(selection.document()), envelopeDocument);
  if (!selection.hydrographs.empty()) {
    std::vector<std::string> seriesFiles;
    for (const std::string& name : selection.seriesFiles()) seriesFiles.push_back(transaction.stage(name));
    format->recordHydrographs(
        std::make_unique<HydrographRecorder>(*reader, *model, selection, meshGeometry(), std::move(seriesFiles)));
  }
  if (mapGrid) {
    std::vector<std::string> mapFiles;
    for (const std::string& name : selection.mapFiles()) mapFiles.push_back(transaction.stage(name));
    format->drawMaps(planeMesh(), *mapGrid, std::move(mapFiles));
  }
  formats.push_back(std::move(format));
}

const MeshGeometry& Results::meshGeometry() {
  if (!geometry) geometry = std::make_unique<MeshGeometry>(*reader, *model);
  return *geometry;
}

const PlaneMesh& Results::planeMesh() {
  if (geometry) return geometry->mesh();
  if (!plane) plane = std::make_unique<PlaneMesh>(readRunMesh(*reader, *model));
  return *plane;
}

}  // namespace results

api::IResults* createResults(const std::string& configFile, const std::string& resultsFile) {
  return createResults(configFile, resultsFile, false);
}

api::IResults* createResults(const std::string& configFile, const std::string& resultsFile, bool oneThread) {
  auto* results = new results::Results(configFile, resultsFile);
  results->useOneThread(oneThread);
  return results;
}
